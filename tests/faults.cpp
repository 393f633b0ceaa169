// Faults on request, for process-level cases: linked into a copy of intcalc with -Wl,--wrap for
// malloc, calloc, read and write, so that the calculator's own calls can be made to fail.
//   INTCALC_FAIL_ALLOC=N    the Nth allocation returns null
//   INTCALC_FAIL_READ=N     the Nth read fails
//   INTCALC_FAIL_WRITE=N    the Nth write fails
//   INTCALC_SHORT_WRITES=1  every write takes one byte at most
#include <unistd.h>

#include <cstdlib>

extern "C" {
void* __real_malloc(size_t size);
void* __real_calloc(size_t count, size_t size);
ssize_t __real_read(int fd, void* buf, size_t count);
ssize_t __real_write(int fd, const void* buf, size_t count);
}

static long allocations, reads, writes;
static long setting(const char* name) { return std::getenv(name) ? std::atol(std::getenv(name)) : 0; }
static bool allocation_fails() { return ++allocations == setting("INTCALC_FAIL_ALLOC"); }

extern "C" {
void* __wrap_malloc(size_t size) { return allocation_fails() ? nullptr : __real_malloc(size); }
void* __wrap_calloc(size_t count, size_t size) { return allocation_fails() ? nullptr : __real_calloc(count, size); }
ssize_t __wrap_read(int fd, void* buf, size_t count) {
    return ++reads == setting("INTCALC_FAIL_READ") ? -1 : __real_read(fd, buf, count);
}
ssize_t __wrap_write(int fd, const void* buf, size_t count) {
    count = setting("INTCALC_SHORT_WRITES") && count > 1 ? 1 : count;
    return ++writes == setting("INTCALC_FAIL_WRITE") ? -1 : __real_write(fd, buf, count);
}
}
