// Scanner tables: the character classes and the compressed automaton that recognises the tokens.
// Constant; the engine (scanner/engine.cpp) runs them.
#pragma once

#include <cstdint>
#include <iterator>

// Character class of every byte value. 0 is the end-of-buffer marker (a NUL); 1 is any byte no
// other class takes, bytes 0x80..0xFF included; 2 blank; 3 line feed; 4 ( 5 ) 6 * 7 + 8 - 9 /;
// 10 digit.
//                                          x0 x1 x2 x3 x4 x5 x6 x7 x8 x9 xA xB xC xD xE xF
inline constexpr std::uint8_t yy_char_class[] = {
    /* 0x */                                 0, 1, 1, 1, 1, 1, 1, 1, 1, 2, 3, 1, 1, 1, 1, 1,
    /* 1x */                                 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
    /* 2x */                                 2, 1, 1, 1, 1, 1, 1, 1, 4, 5, 6, 7, 1, 8, 1, 9,
    /* 3x */                                10,10,10,10,10,10,10,10,10,10, 1, 1, 1, 1, 1, 1,
    /* 4x */                                 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
    /* 5x */                                 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
    /* 6x */                                 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
    /* 7x */                                 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
    /* 8x */                                 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
    /* 9x */                                 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
    /* Ax */                                 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
    /* Bx */                                 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
    /* Cx */                                 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
    /* Dx */                                 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
    /* Ex */                                 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
    /* Fx */                                 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
};
static_assert(std::size(yy_char_class) == 256, "one class for every byte value");

// The class of a NUL byte that is data, not the end-of-buffer marker.
inline constexpr int YY_NUL_CLASS = 1;

// Meta class of every class, for template states (16 and above); no state reaches one.
//                                          c0 c1 c2 c3 c4 c5 c6 c7 c8 c9 c10
inline constexpr std::uint8_t yy_meta_class[] = {
                                             0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1 };
static_assert(std::size(yy_meta_class) == 11);

// Per-state tables. Action: the rule a state accepts (0: none). Base: where the state's pairs
// start in the comb. Default: the state to fall back to when the pair at base + class is not its.
// States: 1 start (2 behaves as 1), 3 end-of-buffer marker consumed, 4 any other byte, 5 blank,
// 6 line feed, 7 ( 8 ) 9 * 10 + 11 - 12 /, 13 one digit, 14 two or more digits, 15 dead.
// state:                                    0   1   2   3   4   5   6   7   8   9  10  11  12  13  14  15
inline constexpr std::int16_t yy_state_action[]  = {  0,  0,  0, 12, 10,  8,  9,  5,  6,  3,  1,  2,  4,  7,  7,  0 };
inline constexpr std::int16_t yy_state_base[]    = {  0,  0,  0, 13, 14, 14, 14, 14, 14, 14, 14, 14, 14,  2,  1, 14 };
inline constexpr std::int16_t yy_state_default[] = {  0, 15,  1, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15,  0 };
static_assert(std::size(yy_state_action) == 16 && std::size(yy_state_base) == 16 &&
              std::size(yy_state_default) == 16);

// The comb of transition pairs: the target state, and the state that owns the pair.
// index:                                   0   1   2   3   4   5   6   7   8   9  10  11  12  13  14  15  16  17  18  19  20  21  22  23  24
inline constexpr std::int16_t yy_trans_next[]  = {  0,  4,  5,  6,  7,  8,  9, 10, 11, 12, 13, 14, 14, 15,  3, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15 };
inline constexpr std::int16_t yy_trans_check[] = {  0,  1,  1,  1,  1,  1,  1,  1,  1,  1,  1, 14, 13,  3, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15 };
static_assert(std::size(yy_trans_next) == 25 && std::size(yy_trans_check) == 25);

inline constexpr int YY_START_STATE = 1;
inline constexpr int YY_DEAD_STATE = 15;
inline constexpr int YY_STOP_BASE = 14;       // entering a state with this base ends a match
inline constexpr int YY_FIRST_TEMPLATE = 16;  // states from here on are indexed by meta class

// Actions beyond the ten rules. 11, copying a byte to yyout, is selected by no state.
inline constexpr int YY_ACT_BUFFER_END = 12;
inline constexpr int YY_ACT_INPUT_END = 13;

// The successor of state s on class c: s's own pair if the comb holds one, else s's default's.
inline int yy_next_state(int s, int c) {
    while (yy_trans_check[yy_state_base[s] + c] != s) {
        s = yy_state_default[s];
        if (s >= YY_FIRST_TEMPLATE)
            c = yy_meta_class[c];
    }
    return yy_trans_next[yy_state_base[s] + c];
}
