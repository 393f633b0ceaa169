# Cross-compiling for Linux on s390x (64-bit, big-endian) with Debian's cross compiler
# (g++-s390x-linux-gnu). Where qemu-user is installed, the programs built also run on this
# machine: under qemu-s390x, with the target's C and C++ libraries from the compiler's tree.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR s390x)

find_program(CMAKE_CXX_COMPILER NAMES s390x-linux-gnu-g++ REQUIRED)

# Headers and libraries come from the target's tree only; programs run at build time from the host.
set(CMAKE_FIND_ROOT_PATH /usr/s390x-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(INTCALC_QEMU qemu-s390x)
if(INTCALC_QEMU)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${INTCALC_QEMU} -L /usr/s390x-linux-gnu)
endif()
