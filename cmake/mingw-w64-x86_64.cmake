# Cross build for 64-bit Windows with Debian's mingw-w64 (the -posix flavour: the -win32
# one has no std::thread or std::mutex). Use: cmake -DCMAKE_TOOLCHAIN_FILE=this-file
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VARNOK_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
