# The same sources as 64-bit, for hosts that cannot execute 32-bit code
# and so cannot run 32-bit Wine.
set(MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
