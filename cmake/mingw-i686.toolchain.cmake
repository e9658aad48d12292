# Cross build for 32-bit Windows: the release build.
set(TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(FOLDTALLY_WINDOWS_PRESET win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-windows.toolchain.cmake)
