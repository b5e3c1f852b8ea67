# Cross build of the Windows DLL and its test programs with MinGW-w64 (64-bit).
# The posix-thread compilers carry std::thread and std::mutex; everything,
# including winpthread, libstdc++ and libgcc, is linked statically so the DLL
# and the test programs import system DLLs only.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TARVOKIN_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
