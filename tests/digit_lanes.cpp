// The count of the digits at the front of an eight-byte word (yy_digits_before of its
// yy_non_digit_lanes, scanner/tables.h), tried for every byte value in every lane, after digits
// and before bytes of each kind. Compiled with the tests: where it miscounts, their build fails.
#include <cstdint>

#include "scanner/tables.h"

static_assert([] {
    for (int lane = 0; lane < 8; ++lane)
        for (int b = 0; b < YY_BYTES; ++b)
            for (std::uint64_t rest : {std::uint64_t{0}, ~std::uint64_t{0}, std::uint64_t{0x3939393939393939}}) {
                std::uint64_t w = (lane < 7 ? rest << 8 * (lane + 1) : 0) | static_cast<std::uint64_t>(b) << 8 * lane;
                for (int i = 0; i < lane; ++i)
                    w |= static_cast<std::uint64_t>(YY_FIRST_DIGIT + (i * 7 + b) % 10) << 8 * i;
                auto k = yy_digits_before(yy_non_digit_lanes(w));  // a digit lets the count go past its lane
                if (b >= YY_FIRST_DIGIT && b <= YY_LAST_DIGIT ? k <= lane || k > 8 : k != lane)
                    return false;
            }
    return true;
}(), "yy_digits_before counts the digits at the front of a word");
