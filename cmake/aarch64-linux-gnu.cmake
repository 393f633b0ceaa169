# Cross-compiling for Linux on aarch64 (64-bit Arm, little-endian) with Debian's cross compiler
# (g++-aarch64-linux-gnu). Where qemu-user is installed, the programs built also run on this
# machine: under qemu-aarch64, with the target's C and C++ libraries from the compiler's tree.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

find_program(CMAKE_CXX_COMPILER NAMES aarch64-linux-gnu-g++ REQUIRED)

# Headers and libraries come from the target's tree only; programs run at build time from the host.
set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(INTCALC_QEMU qemu-aarch64)
if(INTCALC_QEMU)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${INTCALC_QEMU} -L /usr/aarch64-linux-gnu)
endif()
