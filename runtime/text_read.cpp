// Text-mode read: turns the bytes of a descriptor into text, CR bytes removed and 0x1A the end.
// State: whether a 0x1A has been met, after which the input has ended for good.
#include "runtime/text_read.h"

#include <cstring>

#include "runtime/platform.h"

namespace {

constexpr char CR = '\r';
constexpr char END_OF_TEXT = 0x1A;

bool input_ended = false;

// Cuts the data at a 0x1A, if it holds one; returns the length that stays.
int cut_at_end_of_text(char* buf, int n) {
    const void* eot = std::memchr(buf, END_OF_TEXT, static_cast<size_t>(n));
    if (eot == nullptr)
        return n;
    input_ended = true;
    return static_cast<int>(static_cast<const char*>(eot) - buf);
}

// Removes every CR in place; returns the length that stays.
int remove_cr(char* buf, int n) {
    char* cr = static_cast<char*>(std::memchr(buf, CR, static_cast<size_t>(n)));
    if (cr == nullptr)
        return n;
    char* out = cr;
    for (const char* in = cr + 1; in < buf + n; ++in)
        if (*in != CR)
            *out++ = *in;
    return static_cast<int>(out - buf);
}

}  // namespace

int text_read(int fd, char* buf, int want) {
    for (;;) {
        if (input_ended)
            return 0;
        int got = platform_read(fd, buf, want);
        if (got <= 0)
            return got < 0 ? -1 : 0;
        int n = cut_at_end_of_text(buf, got);
        // A CR that ends this read may be the first half of a CR LF pair: the byte that follows
        // it takes its place, so the pair still arrives as one LF.
        if (!input_ended && buf[n - 1] == CR) {
            int more = platform_read(fd, buf + n - 1, 1);
            if (more < 0)
                return -1;
            if (more == 1)
                n = cut_at_end_of_text(buf, n);
        }
        n = remove_cr(buf, n);
        if (n > 0)
            return n;
        // Every byte was removed: read again, except on a console, where a short read whose
        // bytes were all removed counts as the end of input.
        if (input_ended || (got < want && platform_is_character_device(fd)))
            return 0;
    }
}
