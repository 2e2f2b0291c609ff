# The package for Windows users: Palvex-<version>-win64.zip, or -win32.zip from the 32-bit build
# (scripts/package.sh makes both), with one runnable folder for a real adapter, one with the
# adapter simulator (each with Palvex.exe and palvex-capture.exe), and the user guide.
# The version is the project's.
if(NOT WIN32 OR NOT TARGET Palvex)
    return()
endif()

# Import libraries are for developers: only a component install of "development" has them.
function(palvex_install_into folder)
    install(TARGETS ${ARGN}
            RUNTIME DESTINATION ${folder} COMPONENT program
            ARCHIVE DESTINATION lib COMPONENT development EXCLUDE_FROM_ALL)
endfunction()
palvex_install_into(hardware Palvex palvex-capture Dravik TessikHid)
palvex_install_into(simulator Palvex palvex-capture Dravik TessikSimulator)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/ DESTINATION . COMPONENT program)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Palvex)
set(CPACK_PACKAGE_VENDOR "Palvex")
set(CPACK_PACKAGE_FILE_NAME ${PALVEX_PACKAGE_NAME})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)  # the debug information stays in the build
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
