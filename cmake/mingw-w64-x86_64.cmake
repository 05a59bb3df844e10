# Cross-building for 64-bit Windows with Debian's mingw-w64 (POSIX threads model, GCC 12):
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DLUMORA_CORE_ONLY=ON
# Programs are linked with the runtime inside (one .exe, no DLLs beside it) and run through Wine's
# 64-bit loader wherever CMake runs a built program (ctest, test discovery).
# Libraries built for Windows are looked for only under the mingw-w64 sysroot and under
# LUMORA_WINDOWS_DEPS, where the build installs what it cross-builds itself (GoogleTest).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LUMORA_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${LUMORA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LUMORA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${LUMORA_MINGW_TRIPLET}-windres)

# -static: libstdc++, libgcc and winpthreads are linked in; only system DLLs are imported.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# -municode is for a program whose entry is wmain or wWinMain (UTF-16 arguments); there is none
# yet (the test programs use GoogleTest's main): give it to that target alone,
# target_link_options(<target> PRIVATE -municode).

if(NOT LUMORA_WINDOWS_DEPS)
    set(LUMORA_WINDOWS_DEPS "${CMAKE_BINARY_DIR}/windows-deps")
endif()
set(LUMORA_WINDOWS_DEPS "${LUMORA_WINDOWS_DEPS}" CACHE PATH
    "Prefix of the libraries cross-built for Windows by this build (GoogleTest)")
set(CMAKE_FIND_ROOT_PATH /usr/${LUMORA_MINGW_TRIPLET} ${LUMORA_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# try_compile projects read this file again and need the same prefix.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES LUMORA_WINDOWS_DEPS)

# Wine's 64-bit loader: plain `wine` would look for a 32-bit installation first.
if(EXISTS /usr/lib/wine/wine64)
    set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
endif()
