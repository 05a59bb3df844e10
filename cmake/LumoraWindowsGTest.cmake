# GoogleTest for the Windows test programs: cross-built with the same toolchain from Debian's
# source (package googletest, /usr/src/googletest) and installed into LUMORA_WINDOWS_DEPS the first
# time a build folder is configured; found there afterwards like any installed package.
set(LUMORA_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's source, cross-built for Windows")

find_package(GTest CONFIG QUIET)
if(NOT GTest_FOUND)
    if(NOT EXISTS ${LUMORA_GTEST_SOURCE}/CMakeLists.txt)
        message(FATAL_ERROR "No GoogleTest source in ${LUMORA_GTEST_SOURCE}: install the Debian "
                            "package googletest")
    endif()
    set(gtest_build ${CMAKE_BINARY_DIR}/googletest-build)
    message(STATUS "Cross-building GoogleTest from ${LUMORA_GTEST_SOURCE} into ${LUMORA_WINDOWS_DEPS}")
    execute_process(
        COMMAND ${CMAKE_COMMAND} -S ${LUMORA_GTEST_SOURCE} -B ${gtest_build} -G ${CMAKE_GENERATOR}
                -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE} -DCMAKE_BUILD_TYPE=Release
                -DLUMORA_WINDOWS_DEPS=${LUMORA_WINDOWS_DEPS}
                -DCMAKE_INSTALL_PREFIX=${LUMORA_WINDOWS_DEPS}
        OUTPUT_QUIET RESULT_VARIABLE gtest_configured)
    if(NOT gtest_configured EQUAL 0)
        message(FATAL_ERROR "Configuring GoogleTest for Windows failed (${gtest_build})")
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} --build ${gtest_build} --target install --parallel 2
                    OUTPUT_QUIET RESULT_VARIABLE gtest_built)
    if(NOT gtest_built EQUAL 0)
        message(FATAL_ERROR "Building GoogleTest for Windows failed (${gtest_build})")
    endif()
    find_package(GTest CONFIG REQUIRED)
endif()
