# Cross build for 64-bit Windows: the same program, tested under wine64 where the
# machine runs no 32-bit programs.
set(TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(FOLDTALLY_WINDOWS_PRESET win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-windows.toolchain.cmake)
