# Fails when a WINAPI function defined under SOURCES (a directory, searched
# with its subdirectories) does not begin with ORVEX_API, which logs the call
# and marks the platform's own work; a function without it would vanish from
# the call log and shift the nesting of the calls it makes. Every function
# declared WINAPI in HEADER must be defined exactly once, so that a change of
# layout that hides definitions from this check fails it too.
# Arguments: SOURCES, HEADER.
get_filename_component(SOURCES ${SOURCES} ABSOLUTE)

# Text as CMake lists can hold it: a semicolon would split a match, brackets
# would join matches.
macro(read_plain path out)
  file(READ ${path} ${out})
  string(REPLACE ";" "," ${out} "${${out}}")
  string(REPLACE "[" "<" ${out} "${${out}}")
  string(REPLACE "]" ">" ${out} "${${out}}")
endmacro()

read_plain(${HEADER} header)
string(REGEX MATCHALL "WINAPI[ \t]+[A-Za-z0-9_]+\\(" declared "${header}")
list(TRANSFORM declared REPLACE "^WINAPI[ \t]+([A-Za-z0-9_]+)\\($" "\\1")
list(LENGTH declared declared_count)
if(declared_count EQUAL 0)
  message(FATAL_ERROR "no WINAPI declaration found in ${HEADER}: the check reads nothing")
endif()

file(GLOB_RECURSE sources ${SOURCES}/*.cpp)
set(defined "")
set(without "")
set(named "")
foreach(source IN LISTS sources)
  read_plain(${source} text)
  # A definition: the name, its parameters, the opening brace and the first statement.
  string(REGEX MATCHALL "WINAPI[ \t]+[A-Za-z0-9_]+\\([^)]*\\)[ \t\r\n]*{[ \t\r\n]*[^\r\n]*" definitions "${text}")
  foreach(definition IN LISTS definitions)
    string(REGEX REPLACE "^WINAPI[ \t]+([A-Za-z0-9_]+)\\(.*$" "\\1" name "${definition}")
    string(REGEX REPLACE "^[^{]*{[ \t\r\n]*" "" first "${definition}")
    list(APPEND defined ${name})
    file(RELATIVE_PATH where ${SOURCES} ${source})
    if(NOT first MATCHES "^ORVEX_API\\(")
      list(APPEND without "${name} (${where})")
    elseif(first MATCHES "^ORVEX_API\\(\"")
      # The macro names the call itself; a name typed by hand would be logged as an argument.
      list(APPEND named "${name} (${where})")
    endif()
  endforeach()
endforeach()

# Each declared function defined once, and nothing else.
set(problems "")
set(undefined ${declared})
set(undeclared ${defined})
list(REMOVE_ITEM undefined ${defined})
list(REMOVE_ITEM undeclared ${declared})
set(once ${defined})
list(REMOVE_DUPLICATES once)
list(LENGTH once once_count)
list(LENGTH defined defined_count)
if(undefined)
  list(APPEND problems "declared in ${HEADER} but no definition found: ${undefined}")
endif()
if(undeclared)
  list(APPEND problems "defined WINAPI but not declared in ${HEADER}: ${undeclared}")
endif()
if(NOT once_count EQUAL defined_count)
  list(APPEND problems "a function is defined more than once")
endif()
foreach(entry IN LISTS without)
  list(APPEND problems "${entry} does not begin with ORVEX_API")
endforeach()
foreach(entry IN LISTS named)
  list(APPEND problems "${entry} gives ORVEX_API a name (the macro takes the arguments only)")
endforeach()
if(problems)
  string(REPLACE ";" "\n  " problems "${problems}")
  message(FATAL_ERROR "platform entry points:\n  ${problems}")
endif()
message(STATUS "all ${defined_count} WINAPI definitions begin with ORVEX_API")
