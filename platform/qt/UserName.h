// The login name of the user running the program.
#pragma once

#include <cstddef>
#include <string>

// Player names are at most this many bytes long.
constexpr std::size_t kMaxUserName = 18;

// The login name of the real user id, cut to kMaxUserName bytes; empty when
// the system knows no name for the user.
std::string GetUserName();

// `name` cut to at most kMaxUserName bytes without splitting a UTF-8 character.
std::string CutUserName(const std::string& name);
