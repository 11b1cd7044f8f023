# Cross builds with Debian's mingw-w64 in its win32-threads flavour, whose
# runtime imports nothing newer than the oldest supported Windows. The
# toolchain files name the target (DUSKLET_MINGW_TARGET, CMAKE_SYSTEM_PROCESSOR).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${DUSKLET_MINGW_TARGET}-gcc-win32)
set(CMAKE_CXX_COMPILER ${DUSKLET_MINGW_TARGET}-g++-win32)
set(CMAKE_RC_COMPILER ${DUSKLET_MINGW_TARGET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${DUSKLET_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
