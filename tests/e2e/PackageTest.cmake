# Builds the Windows package, unpacks it into a folder whose path has blanks and Chinese
# characters, checks its contents and runs outside scenarios against the program in its
# simulator folder. Run by CTest with -P and:
#   BUILD_DIR, UNPACK_DIR, PACKAGE_NAME, EMULATOR, DRIVER, PICTURES, WORK, FILTER
execute_process(COMMAND ${CMAKE_CPACK_COMMAND} --config CPackConfig.cmake
                WORKING_DIRECTORY ${BUILD_DIR} RESULT_VARIABLE packed OUTPUT_QUIET)
set(zip ${BUILD_DIR}/package/${PACKAGE_NAME}.zip)
if(NOT packed EQUAL 0 OR NOT EXISTS ${zip})
    message(FATAL_ERROR "cpack did not make ${zip}")
endif()

file(REMOVE_RECURSE ${UNPACK_DIR})
file(MAKE_DIRECTORY ${UNPACK_DIR})
file(ARCHIVE_EXTRACT INPUT ${zip} DESTINATION ${UNPACK_DIR})
set(root ${UNPACK_DIR}/${PACKAGE_NAME})

foreach(file hardware/Palvex.exe hardware/palvex-capture.exe hardware/Dravik.dll
             hardware/Tessik.dll simulator/Palvex.exe simulator/palvex-capture.exe
             simulator/Dravik.dll simulator/Tessik.dll guide.md)
    if(NOT EXISTS ${root}/${file})
        message(FATAL_ERROR "the package lacks ${file}")
    endif()
endforeach()
file(GLOB pictures ${root}/pictures/*.png)
if(NOT pictures)
    message(FATAL_ERROR "the package has no pictures for the guide")
endif()
file(SHA256 ${root}/hardware/Tessik.dll hardware_transport)
file(SHA256 ${root}/simulator/Tessik.dll simulator_transport)
if(hardware_transport STREQUAL simulator_transport)
    message(FATAL_ERROR "both folders hold the same Tessik.dll")
endif()

# Under Wine the Unix root is drive Z:.
file(MAKE_DIRECTORY ${PICTURES} ${WORK})
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env "PALVEX_E2E_FOLDER=Z:${root}/simulator"
            "PALVEX_E2E_PICTURES=Z:${PICTURES}" "PALVEX_E2E_WORK=Z:${WORK}"
            ${EMULATOR} ${DRIVER} --gtest_filter=${FILTER}
    RESULT_VARIABLE scenarios)
if(NOT scenarios EQUAL 0)
    message(FATAL_ERROR "the scenarios failed against the unpacked program")
endif()
