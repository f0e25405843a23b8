// The referee's order line: the announced declarations of the table ordered by
// their value, equal values sharing one pair of brackets.
#pragma once

#include <string>

// Places 0..3 in order; a place counts when it announced with a value above 0.
std::string BuildRefereeOrderLine(const std::string names[4], const bool announced[4],
                                  const int values[4]);
