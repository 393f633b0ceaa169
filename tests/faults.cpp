// Faults on request, for process-level cases: linked into a copy of intcalc with -Wl,--wrap for
// main, exit, malloc, calloc, read and write, so that the calculator's own calls can be made to fail
// (the variables are in tests/README.md). Only allocations of LARGE bytes or more count for
// INTCALC_FAIL_LARGE_ALLOC, as an optimiser may turn a smaller one into static storage. Faults come
// only while main runs: the exit-time work of a tool linked in (gcov's) never fails.
#include <unistd.h>

#include <cstdlib>

extern "C" {
int __real_main();
[[noreturn]] void __real_exit(int status);
void* __real_malloc(size_t size);
void* __real_calloc(size_t count, size_t size);
ssize_t __real_read(int fd, void* buf, size_t count);
ssize_t __real_write(int fd, const void* buf, size_t count);
}

static constexpr size_t LARGE = 256;
static bool injecting;
static long allocations, large_allocations, reads, writes;
static bool nth(long& count, const char* name) {
    return injecting && ++count == (std::getenv(name) ? std::atol(std::getenv(name)) : 0);
}
static bool allocation_fails(size_t size) {
    bool large = size >= LARGE && nth(large_allocations, "INTCALC_FAIL_LARGE_ALLOC");
    return nth(allocations, "INTCALC_FAIL_ALLOC") || large;
}

extern "C" {
int __wrap_main() {
    injecting = true;
    int status = __real_main();
    injecting = false;
    return status;
}
[[noreturn]] void __wrap_exit(int status) { injecting = false; __real_exit(status); }
void* __wrap_malloc(size_t size) { return allocation_fails(size) ? nullptr : __real_malloc(size); }
void* __wrap_calloc(size_t n, size_t size) { return allocation_fails(n * size) ? nullptr : __real_calloc(n, size); }
ssize_t __wrap_read(int fd, void* buf, size_t n) { return nth(reads, "INTCALC_FAIL_READ") ? -1 : __real_read(fd, buf, n); }
ssize_t __wrap_write(int fd, const void* buf, size_t count) {
    count = injecting && std::getenv("INTCALC_SHORT_WRITES") && count > 1 ? 1 : count;
    return nth(writes, "INTCALC_FAIL_WRITE") ? -1 : __real_write(fd, buf, count);
}
}
