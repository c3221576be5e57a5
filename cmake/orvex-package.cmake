# Orvex as a package for programs outside this tree: the targets under the
# names a consumer uses (orvex::orvex, orvex::headless), and what
# `cmake --install` puts into a prefix:
#
#   include/orvex/framework/...   framework/orvex.h and every header it includes
#   include/orvex/platform/...    platform/win32.h; headless/headless.h (not on Windows)
#   lib/liborvex.a, lib/liborvex_platform.a (not on Windows)
#   lib/cmake/orvex/              orvex-config.cmake, its version file, the exported targets
#   lib/pkgconfig/orvex.pc
#
# Consumers include "framework/orvex.h" (and "platform/headless/headless.h"),
# as the code of this tree does.
include(CMakePackageConfigHelpers)
include(${CMAKE_CURRENT_LIST_DIR}/orvex-public-headers.cmake)

set(ORVEX_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/orvex)
set(ORVEX_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/orvex)

# ---- targets -------------------------------------------------------------------

add_library(orvex::orvex ALIAS orvex)
set(ORVEX_EXPORTED_TARGETS orvex)
set(ORVEX_HEADER_ROOTS framework/orvex.h platform/win32.h)
if(TARGET orvex_platform)
  set_target_properties(orvex_platform PROPERTIES EXPORT_NAME platform)
  # The headless display's test interface (platform/headless/headless.h):
  # screen size, input as a display would deliver it, answers to message
  # boxes, the frames handed to SwapBuffers. Its code is in the platform
  # library; the target names the need.
  add_library(orvex_headless INTERFACE)
  set_target_properties(orvex_headless PROPERTIES EXPORT_NAME headless)
  target_link_libraries(orvex_headless INTERFACE orvex)
  add_library(orvex::headless ALIAS orvex_headless)
  list(APPEND ORVEX_EXPORTED_TARGETS orvex_platform orvex_headless)
  list(APPEND ORVEX_HEADER_ROOTS platform/headless/headless.h)
endif()

# ---- headers, libraries, exported targets -----------------------------------------

orvex_public_headers(ORVEX_PUBLIC_HEADERS ${ORVEX_HEADER_ROOTS})
foreach(header IN LISTS ORVEX_PUBLIC_HEADERS)
  get_filename_component(dir ${header} DIRECTORY)
  install(FILES ${PROJECT_SOURCE_DIR}/${header} DESTINATION ${ORVEX_INSTALL_INCLUDEDIR}/${dir})
endforeach()

install(TARGETS ${ORVEX_EXPORTED_TARGETS} EXPORT orvex-targets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(EXPORT orvex-targets NAMESPACE orvex:: FILE orvex-targets.cmake DESTINATION ${ORVEX_INSTALL_CMAKEDIR})

# ---- the CMake package ------------------------------------------------------------

# What the config file must find again for the exported link requirements.
get_property(ORVEX_PACKAGE_X11 GLOBAL PROPERTY ORVEX_X11_DRIVER)
if(ORVEX_PACKAGE_X11)
  set(ORVEX_PACKAGE_X11 ON)
else()
  set(ORVEX_PACKAGE_X11 OFF)
endif()
if(WIN32)
  set(ORVEX_PACKAGE_WINDOWS ON)
else()
  set(ORVEX_PACKAGE_WINDOWS OFF)
endif()

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/orvex-config.cmake.in
                              ${PROJECT_BINARY_DIR}/package/orvex-config.cmake
                              INSTALL_DESTINATION ${ORVEX_INSTALL_CMAKEDIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/package/orvex-config-version.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/package/orvex-config.cmake ${PROJECT_BINARY_DIR}/package/orvex-config-version.cmake
        DESTINATION ${ORVEX_INSTALL_CMAKEDIR})

# ---- the pkg-config file ----------------------------------------------------------

# The libraries are static: what they use inside goes to Requires.private and
# Libs.private, which `pkg-config --static` adds.
if(WIN32)
  set(ORVEX_PC_REQUIRES "")
  set(ORVEX_PC_REQUIRES_PRIVATE "")
  set(ORVEX_PC_LIBS "-lorvex -lglu32 -lopengl32 -lgdi32 -luser32")
  set(ORVEX_PC_LIBS_PRIVATE "-lcomctl32")
else()
  set(ORVEX_PC_REQUIRES "opengl glu")
  set(ORVEX_PC_REQUIRES_PRIVATE "egl pixman-1")
  if(ORVEX_PACKAGE_X11)
    string(APPEND ORVEX_PC_REQUIRES_PRIVATE " x11 xext xft xrender xrandr xinerama")
  endif()
  set(ORVEX_PC_LIBS "-lorvex -lorvex_platform")
  set(ORVEX_PC_LIBS_PRIVATE "")
endif()
# The prefix is found from the file's own place, so the installed tree can
# be moved (and `cmake --install --prefix` chosen at install time).
file(RELATIVE_PATH ORVEX_PC_TO_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" ORVEX_PC_TO_PREFIX "${ORVEX_PC_TO_PREFIX}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/orvex.pc.in ${PROJECT_BINARY_DIR}/package/orvex.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/package/orvex.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
