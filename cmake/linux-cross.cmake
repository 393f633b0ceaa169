# Cross-compiling for Linux on another processor with Debian's cross compiler, for the toolchain
# file of each processor, which sets CMAKE_SYSTEM_PROCESSOR first. Where qemu-user is installed,
# the programs built also run on this machine: under qemu, with the target's C and C++ libraries
# from the compiler's tree.
set(CMAKE_SYSTEM_NAME Linux)
set(intcalc_triple ${CMAKE_SYSTEM_PROCESSOR}-linux-gnu)

find_program(CMAKE_CXX_COMPILER NAMES ${intcalc_triple}-g++ REQUIRED)

# Headers and libraries come from the target's tree only; programs run at build time from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${intcalc_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(INTCALC_QEMU qemu-${CMAKE_SYSTEM_PROCESSOR})
if(INTCALC_QEMU)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${INTCALC_QEMU} -L /usr/${intcalc_triple})
endif()
