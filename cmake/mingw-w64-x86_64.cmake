# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Statically linked: the programs need no DLL of the compiler's runtime.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# CTest runs the Windows programs through Wine, in a throw-away prefix under
# the build folder (scripts/wine-ctest creates it and starts the server).
# Wine's loader runs without address-space randomisation (setarch -R): Debian's
# wine64 has no preloader to keep the randomly placed C heap off the page where
# Wine maps its shared user data (0x7ffe0000), and about one start in 8,000
# would end at once with exit code 1 and, under WINEDEBUG=-all, no message.
# Programs that a test starts inherit the setting.
set(CMAKE_CROSSCOMPILING_EMULATOR
    /usr/bin/env WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix WINEDEBUG=-all
    /usr/bin/setarch ${CMAKE_HOST_SYSTEM_PROCESSOR} -R /usr/lib/wine/wine64)
