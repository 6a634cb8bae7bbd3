# Cross-compiles the Windows program: 32-bit, statically linked.
set(MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
