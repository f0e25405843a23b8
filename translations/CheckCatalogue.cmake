# Fails when the catalogue TS (lupdate's merge of the sources into a copy of
# SOURCE) is not complete: an entry lupdate found new (unfinished), one whose
# source text is gone (vanished or obsolete), an empty translation, or a
# translation whose printf conversions (%s, %d, %u, ...) or Qt arguments (%1, ...)
# differ from its source text's, which would break the formatting at run time.
file(READ "${TS}" text)
# One list element per message: characters with a meaning in CMake lists go
# first, into stand-ins without a semicolon.
string(REPLACE ";" "{sc}" text "${text}")
string(REPLACE "[" "{lb}" text "${text}")
string(REPLACE "]" "{rb}" text "${text}")
string(REPLACE "</message>" "</message>;" messages "${text}")

set(problems "")
foreach(message IN LISTS messages)
    if(NOT message MATCHES "<source>(.*)</source>")
        continue()
    endif()
    set(source "${CMAKE_MATCH_1}")
    string(REGEX REPLACE "</source>.*" "" source "${source}")
    string(REPLACE "{sc}" ";" source "${source}")
    if(message MATCHES "type=\"(unfinished|vanished|obsolete)\"")
        string(APPEND problems "  ${CMAKE_MATCH_1}: ${source}\n")
        continue()
    endif()
    if(NOT message MATCHES "<translation>([^<]+)</translation>")
        string(APPEND problems "  empty: ${source}\n")
        continue()
    endif()
    set(translation "${CMAKE_MATCH_1}")
    string(REPLACE "%%" "" s "${source}")
    string(REPLACE "%%" "" t "${translation}")
    # printf conversions in their order, Qt's numbered arguments in any order.
    string(REGEX MATCHALL "%[a-zA-Z]" s_args "${s}")
    string(REGEX MATCHALL "%[a-zA-Z]" t_args "${t}")
    string(REGEX MATCHALL "%[0-9]" s_numbered "${s}")
    string(REGEX MATCHALL "%[0-9]" t_numbered "${t}")
    list(SORT s_numbered)
    list(SORT t_numbered)
    list(APPEND s_args ${s_numbered})
    list(APPEND t_args ${t_numbered})
    if(NOT "${s_args}" STREQUAL "${t_args}")
        string(APPEND problems "  conversions ${s_args} vs ${t_args}: ${source}\n")
    endif()
endforeach()

if(problems)
    message(FATAL_ERROR "The catalogue ${SOURCE} is not complete:\n${problems}"
        "Run 'cmake --build <build> --target update_translations', translate the "
        "entries in ${SOURCE} and build again.")
endif()
