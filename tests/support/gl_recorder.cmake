# The OpenGL call recorder for tests (gl_recorder.h): an object library whose
# link options interpose every function listed in gl_recorder_functions.h.
#
#   orvex_link_gl_recorder(<target>)   links the recorder into a test program.

set(ORVEX_GL_RECORDER_LIST ${CMAKE_CURRENT_LIST_DIR}/gl_recorder_functions.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ORVEX_GL_RECORDER_LIST})
file(STRINGS ${ORVEX_GL_RECORDER_LIST} _orvex_glrec_lines REGEX "^ORVEX_GLREC\\(")
set(ORVEX_GL_RECORDER_FUNCTIONS "")
foreach(_line IN LISTS _orvex_glrec_lines)
  string(REGEX REPLACE "^ORVEX_GLREC\\([^,]+, *([A-Za-z0-9_]+),.*$" "\\1" _fn "${_line}")
  list(APPEND ORVEX_GL_RECORDER_FUNCTIONS ${_fn})
endforeach()

add_library(orvex_gl_recorder OBJECT ${CMAKE_CURRENT_LIST_DIR}/gl_recorder.cpp
                                     ${CMAKE_CURRENT_LIST_DIR}/gl_recorder_window.cpp)
target_include_directories(orvex_gl_recorder PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(orvex_gl_recorder PRIVATE ${ORVEX_WARNINGS})
target_link_libraries(orvex_gl_recorder PUBLIC orvex ${ORVEX_GL_LIBS})
foreach(_fn IN LISTS ORVEX_GL_RECORDER_FUNCTIONS)
  target_link_options(orvex_gl_recorder INTERFACE "LINKER:--wrap=${_fn}")
endforeach()

function(orvex_link_gl_recorder target)
  target_link_libraries(${target} PRIVATE orvex_gl_recorder)
endfunction()

# Every OpenGL and GLU function that the framework or the scene calls must be
# interposed, or the recorder would miss its calls silently.
set(_orvex_glrec_libs $<TARGET_FILE:orvex>)
if(TARGET grass_scene)
  string(APPEND _orvex_glrec_libs "|$<TARGET_FILE:grass_scene>")
endif()
add_test(NAME gl_recorder_covers_framework
         COMMAND ${CMAKE_COMMAND} "-DNM=${CMAKE_NM}" "-DLIBS=${_orvex_glrec_libs}"
                 "-DLIST=${ORVEX_GL_RECORDER_LIST}" -P ${CMAKE_CURRENT_LIST_DIR}/gl_recorder_check.cmake)
