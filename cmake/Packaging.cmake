# The package for Windows users: Palvex-<version>-win64.zip (scripts/package.sh) with one
# runnable folder for a real adapter, one with the adapter simulator, and the user guide.
# The version is the project's.
if(NOT WIN32 OR NOT TARGET Palvex)
    return()
endif()

foreach(folder hardware simulator)
    install(PROGRAMS $<TARGET_FILE:Palvex> $<TARGET_FILE:Dravik> DESTINATION ${folder}
            COMPONENT program)
endforeach()
install(PROGRAMS $<TARGET_FILE:TessikHid> DESTINATION hardware COMPONENT program)
install(PROGRAMS $<TARGET_FILE:TessikSimulator> DESTINATION simulator COMPONENT program)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/ DESTINATION . COMPONENT program)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Palvex)
set(CPACK_PACKAGE_VENDOR "Palvex")
set(CPACK_PACKAGE_FILE_NAME "Palvex-${PROJECT_VERSION}-win64")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
