# The 64-bit build of the same sources, which Wine runs for the end-to-end
# tests on machines that cannot execute 32-bit code; the product is the
# 32-bit build (i686-w64-mingw32.cmake).
set(DUSKLET_MINGW_TARGET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
