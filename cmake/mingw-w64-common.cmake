# Shared part of the MinGW-w64 toolchain files: TARVOKIN_MINGW_TRIPLE names the target.
set(CMAKE_C_COMPILER ${TARVOKIN_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARVOKIN_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TARVOKIN_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TARVOKIN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No MinGW runtime DLL may be needed next to the plug-in or a test program.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# pkg-config must not hand the host's Linux libraries to the cross build.
set(ENV{PKG_CONFIG_LIBDIR} /usr/${TARVOKIN_MINGW_TRIPLE}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
