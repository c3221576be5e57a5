# orvex_public_headers(<out-var> <header>...): the given headers and every
# header of this tree that they include with #include "...", followed to the
# end; paths relative to the source root, sorted. System headers (<...>) are
# not followed. A change to any of these headers configures again, so a new
# include is picked up by the install rules and the API page's check.
function(orvex_public_headers out)
  set(pending ${ARGN})
  set(found)
  while(pending)
    list(POP_FRONT pending header)
    if(header IN_LIST found)
      continue()
    endif()
    set(path ${PROJECT_SOURCE_DIR}/${header})
    if(NOT EXISTS ${path})
      message(FATAL_ERROR "orvex_public_headers: ${header} is included but not in the tree")
    endif()
    list(APPEND found ${header})
    set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${path})
    file(STRINGS ${path} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*$" "\\1" included "${line}")
      list(APPEND pending ${included})
    endforeach()
  endwhile()
  list(SORT found)
  set(${out} ${found} PARENT_SCOPE)
endfunction()
