# Cross-compiling for Linux on s390x (64-bit, big-endian) with Debian's cross compiler
# (g++-s390x-linux-gnu), run under qemu-s390x where it is installed.
set(CMAKE_SYSTEM_PROCESSOR s390x)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
