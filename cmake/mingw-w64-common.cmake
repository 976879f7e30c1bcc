# What both mingw-w64 toolchain files share.
set(CMAKE_C_COMPILER ${VARNOK_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VARNOK_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VARNOK_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VARNOK_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)  # host tools such as chmcmd
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# A static run time: the executables then need nothing beyond the system's own DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
