# What both Windows cross builds share: mingw-w64 with posix threads, fully static so the
# executables import nothing but Windows system DLLs. The two toolchain files beside this
# one set TRIPLE, CMAKE_SYSTEM_PROCESSOR and FOLDTALLY_WINDOWS_PRESET, then include it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Wine runs the test programs, always in the project's own prefix (never ~/.wine) and
# with the loader that can run this build's programs: the wrapper chooses both.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run --preset
                                   ${FOLDTALLY_WINDOWS_PRESET})
