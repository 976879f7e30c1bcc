# Cross build for 32-bit Windows with Debian's mingw-w64 (-posix flavour). It compiles and
# links; a 64-bit Wine cannot run what it makes.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VARNOK_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
