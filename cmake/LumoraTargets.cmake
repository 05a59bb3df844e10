# Helpers that keep every folder's CMakeLists.txt short: a folder is one library (its *.cpp files)
# and a test folder is one GoogleTest executable.

function(lumora_warnings target)
    get_target_property(kind ${target} TYPE)
    if(kind STREQUAL "INTERFACE_LIBRARY")
        return()
    endif()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                             -Wno-sign-conversion -Wnon-virtual-dtor)
    if(LUMORA_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
        if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
            # GCC 12's flow analysis reports these wrongly inside the standard library at -O2;
            # they stay warnings.
            target_compile_options(${target} PRIVATE -Wno-error=maybe-uninitialized
                                                     -Wno-error=restrict)
        endif()
    endif()
endfunction()

if(LUMORA_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

if(LUMORA_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "LUMORA_FUZZ needs clang (CXX=clang++): libFuzzer comes with it")
    endif()
    # Everything is instrumented for coverage and checked by the sanitizers; only the fuzz
    # targets link libFuzzer's main.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# lumora_library(NAME DIR [DEPS ...]): a static library of DIR/*.cpp (recursively), with
# src/ as the include root. A folder without sources yet becomes an interface library.
function(lumora_library name dir)
    file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
    file(GLOB_RECURSE hdrs CONFIGURE_DEPENDS ${dir}/*.h)
    if(srcs)
        add_library(${name} STATIC ${srcs} ${hdrs})
        target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(${name} PUBLIC ${ARGN})
        lumora_warnings(${name})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(${name} INTERFACE ${ARGN})
    endif()
endfunction()

# lumora_test(NAME DIR [LIBS ...]): one GoogleTest executable of DIR/*.cpp, each case registered
# with ctest under the label given by LUMORA_TEST_LABEL in the calling scope.
function(lumora_test name dir)
    file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
    if(NOT srcs)
        return()
    endif()
    add_executable(${name} ${srcs})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main GTest::gmock)
    target_compile_definitions(${name} PRIVATE LUMORA_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                               LUMORA_BINARY_DIR="${PROJECT_BINARY_DIR}")
    lumora_warnings(${name})
    # A cross-built program lists its cases when ctest runs (through the emulator), not at build
    # time: the build then needs no Wine.
    set(discovery)
    if(CMAKE_CROSSCOMPILING)
        set(discovery DISCOVERY_MODE PRE_TEST)
    endif()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES ${discovery}
                         PROPERTIES LABELS "${LUMORA_TEST_LABEL}" ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
