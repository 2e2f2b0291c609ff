# Build settings shared by every Palvex target.

set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)   # no GNU dialect: the tree must also build with MSVC
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

option(PALVEX_WERROR "Treat compiler warnings as errors" ON)
set(PALVEX_SANITIZE "" CACHE STRING "Sanitizers for native builds, e.g. address,undefined or thread")
option(PALVEX_FUZZ "Build the libFuzzer targets (clang only)" OFF)

# Where the Windows build puts its two runnable folders: one for a real adapter,
# one with the adapter simulator in place of the HID transport.
set(PALVEX_HARDWARE_DIR ${CMAKE_BINARY_DIR}/out/hardware)
set(PALVEX_SIMULATOR_DIR ${CMAKE_BINARY_DIR}/out/simulator)
# The Windows package's name: the 32-bit build makes the one for 32-bit adapter libraries.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(PALVEX_PACKAGE_NAME Palvex-${PROJECT_VERSION}-win32)
else()
    set(PALVEX_PACKAGE_NAME Palvex-${PROJECT_VERSION}-win64)
endif()

if(PALVEX_SANITIZE)
    add_compile_options(-fsanitize=${PALVEX_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${PALVEX_SANITIZE})
endif()

if(WIN32)
    add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0A00 WINVER=0x0A00)
    if(MINGW)
        # Static runtime: the binaries must run on a bare Windows without MinGW DLLs.
        add_link_options(-static -static-libgcc -static-libstdc++)
    endif()
    if(MSVC)
        set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
    endif()
endif()

# Applies the project's warning level and language settings to a target.
function(palvex_defaults target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /utf-8 /permissive- $<$<BOOL:${PALVEX_WERROR}>:/WX>)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
                               $<$<BOOL:${PALVEX_WERROR}>:-Werror>)
    endif()
endfunction()

# Each library shows only its own headers. Its include root, build/include/<library>, holds
# links to them under their folder's name, so that "device/store/TouchSampleStore.h" is found by the
# library itself and by the targets that link it, and by no one else: a file that includes a
# header of a library its target does not link, or of a higher layer, does not compile. The
# repository's top is nobody's include root.
#   palvex_expose_headers(target PUBLIC|INTERFACE header...)   headers relative to this folder
function(palvex_expose_headers target scope)
    set(root ${CMAKE_BINARY_DIR}/include/${target})
    file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    file(REMOVE_RECURSE ${root})
    file(MAKE_DIRECTORY ${root}/${folder})
    foreach(header ${ARGN})
        get_filename_component(name ${header} NAME)
        file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${header} ${root}/${folder}/${name}
             SYMBOLIC COPY_ON_ERROR)
    endforeach()
    target_include_directories(${target} ${scope} ${root})
endfunction()

# A static library of the project: palvex_library(name SOURCES ... [HEADERS ...] [LIBS ...])
# Its headers are the sources' namesakes (File.h beside File.cpp) and the HEADERS given.
function(palvex_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;HEADERS;LIBS" ${ARGN})
    set(headers ${ARG_HEADERS})
    foreach(source ${ARG_SOURCES})
        string(REGEX REPLACE "\\.cpp$" ".h" header ${source})
        if(NOT header STREQUAL source AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${header})
            list(APPEND headers ${header})
        endif()
    endforeach()
    add_library(${name} STATIC ${ARG_SOURCES} ${headers})
    palvex_expose_headers(${name} PUBLIC ${headers})
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
    palvex_defaults(${name})
endfunction()

# Headers without sources of their own (contracts between libraries, ids, small inline
# helpers): palvex_header_library(name HEADERS ... [LIBS ...])
function(palvex_header_library name)
    cmake_parse_arguments(ARG "" "" "HEADERS;LIBS" ${ARGN})
    add_library(${name} INTERFACE ${ARG_HEADERS})
    palvex_expose_headers(${name} INTERFACE ${ARG_HEADERS})
    target_link_libraries(${name} INTERFACE ${ARG_LIBS})
endfunction()

# The include root of tests and benchmarks: their own tree under "tests/", beside the headers of
# the libraries they link.
set(PALVEX_TESTS_ROOT ${CMAKE_BINARY_DIR}/include/tests)
file(MAKE_DIRECTORY ${PALVEX_TESTS_ROOT})
file(CREATE_LINK ${CMAKE_SOURCE_DIR}/tests ${PALVEX_TESTS_ROOT}/tests SYMBOLIC COPY_ON_ERROR)

# GoogleTest: the system packages natively, built from Debian's sources for Windows.
if(CMAKE_CROSSCOMPILING)
    if(NOT TARGET gtest)
        set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
        set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
        add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    endif()
    set(PALVEX_HAVE_GTEST ON)
else()
    find_package(GTest QUIET)
    set(PALVEX_HAVE_GTEST ${GTest_FOUND})
    if(NOT GTest_FOUND)
        message(STATUS "GoogleTest not found: the tests are not built")
    endif()
endif()

# A GoogleTest executable registered with CTest:
# palvex_test(name SOURCES ... [LIBS ...] [LABELS ...] [ENVIRONMENT ...] [WORKING_DIRECTORY dir])
# Under the Windows build CTest runs it through Wine.
function(palvex_test name)
    if(NOT PALVEX_HAVE_GTEST)
        return()
    endif()
    cmake_parse_arguments(ARG "" "WORKING_DIRECTORY" "SOURCES;LIBS;LABELS;ENVIRONMENT" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${PALVEX_TESTS_ROOT})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
    palvex_defaults(${name})
    if(NOT ARG_WORKING_DIRECTORY)
        set(ARG_WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    endif()
    add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${ARG_WORKING_DIRECTORY})
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}" TIMEOUT 300)
    if(ARG_ENVIRONMENT)
        set_tests_properties(${name} PROPERTIES ENVIRONMENT "${ARG_ENVIRONMENT}")
    endif()
endfunction()

# Gives a project library, and the project libraries it links, the fuzzer's coverage
# instrumentation, so that a fuzz target is guided by the code it exercises and not only by
# its own file. Targets seen before are passed over.
function(palvex_fuzz_instrument library)
    if(NOT TARGET ${library})
        return()
    endif()
    get_target_property(type ${library} TYPE)
    get_target_property(imported ${library} IMPORTED)
    get_target_property(done ${library} PALVEX_FUZZ_INSTRUMENTED)
    if(imported OR done OR NOT type STREQUAL "STATIC_LIBRARY")
        return()
    endif()
    set_target_properties(${library} PROPERTIES PALVEX_FUZZ_INSTRUMENTED ON)
    target_compile_options(${library} PRIVATE -fsanitize=fuzzer-no-link)
    get_target_property(links ${library} LINK_LIBRARIES)
    foreach(link ${links})
        palvex_fuzz_instrument(${link})
    endforeach()
endfunction()

# A libFuzzer target, built only with PALVEX_FUZZ, into the build's fuzz/ folder, with its
# libraries instrumented too: palvex_fuzz_target(name source LIBS ...)
function(palvex_fuzz_target name source)
    if(NOT PALVEX_FUZZ)
        return()
    endif()
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    add_executable(${name} ${source})
    target_include_directories(${name} PRIVATE ${PALVEX_TESTS_ROOT})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    palvex_defaults(${name})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
    foreach(library ${ARG_LIBS})
        palvex_fuzz_instrument(${library})
    endforeach()
endfunction()

# Adds every immediate subdirectory of the current source dir that has a CMakeLists.txt,
# so that each area of tests or benchmarks keeps its own build file.
function(palvex_add_subdirectories)
    file(GLOB children LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
    list(SORT children)
    foreach(child ${children})
        if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
            add_subdirectory(${child})
        endif()
    endforeach()
endfunction()
