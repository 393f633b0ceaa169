# Cross-compiling for Linux on aarch64 (64-bit Arm, little-endian) with Debian's cross compiler
# (g++-aarch64-linux-gnu), run under qemu-aarch64 where it is installed.
set(CMAKE_SYSTEM_PROCESSOR aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
