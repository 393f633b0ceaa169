// Scanner tables: the character classes and the compressed automaton that recognises the tokens.
// Constant; the engine (scanner/engine.cpp) runs them.
#pragma once

#include <algorithm>
#include <cstddef>
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
static_assert(yy_state_action[YY_START_STATE] == 0 && yy_state_base[YY_START_STATE] != YY_STOP_BASE,
              "the start state neither accepts nor stops a match");
inline constexpr int YY_FIRST_TEMPLATE = 16;  // states from here on are indexed by meta class

// Actions beyond the ten rules. 11, copying a byte to yyout, is selected by no state.
inline constexpr int YY_ACT_BUFFER_END = 12;
inline constexpr int YY_ACT_INPUT_END = 13;

// The tables above gathered into one constant object, so that the engine reaches all of them
// from a single base address (a position-independent program otherwise spends a register and
// an address computation on each table). Same entries, same indexes.
struct YyScannerTables {
    std::uint8_t char_class[std::size(yy_char_class)];
    std::uint8_t meta_class[std::size(yy_meta_class)];
    std::int16_t state_action[std::size(yy_state_action)];
    std::int16_t state_base[std::size(yy_state_base)];
    std::int16_t state_default[std::size(yy_state_default)];
    std::int16_t trans_next[std::size(yy_trans_next)];
    std::int16_t trans_check[std::size(yy_trans_check)];
};

constexpr YyScannerTables yy_gather_scanner_tables() {
    YyScannerTables t{};
    std::ranges::copy(yy_char_class, t.char_class);
    std::ranges::copy(yy_meta_class, t.meta_class);
    std::ranges::copy(yy_state_action, t.state_action);
    std::ranges::copy(yy_state_base, t.state_base);
    std::ranges::copy(yy_state_default, t.state_default);
    std::ranges::copy(yy_trans_next, t.trans_next);
    std::ranges::copy(yy_trans_check, t.trans_check);
    return t;
}
inline constexpr YyScannerTables yy_scanner = yy_gather_scanner_tables();

// Whether any state falls back to a template state. These tables have none, so the engine's
// switch to meta classes compiles away; it stays for tables that have them.
constexpr bool yy_defaults_reach_templates() {
    for (int d : yy_state_default)
        if (d >= YY_FIRST_TEMPLATE)
            return true;
    return false;
}
inline constexpr bool YY_DEFAULTS_REACH_TEMPLATES = yy_defaults_reach_templates();

// The successor of state s on class c: s's own pair if the comb holds one, else s's default's.
inline std::ptrdiff_t yy_next_state(std::ptrdiff_t s, std::ptrdiff_t c) {
    const YyScannerTables& t = yy_scanner;
    while (t.trans_check[t.state_base[s] + c] != s) {
        s = t.state_default[s];
        if (YY_DEFAULTS_REACH_TEMPLATES && s >= YY_FIRST_TEMPLATE)
            c = t.meta_class[c];
    }
    return t.trans_next[t.state_base[s] + c];
}

// The same lookup with its first probe inline, for the matching loop: most transitions are
// found there, and the default chain is followed out of line.
[[gnu::always_inline]] inline std::ptrdiff_t yy_next_state_fast(std::ptrdiff_t s, std::ptrdiff_t c) {
    std::ptrdiff_t i = yy_scanner.state_base[s] + c;
    if (yy_scanner.trans_check[i] == s) [[likely]]
        return yy_scanner.trans_next[i];
    s = yy_scanner.state_default[s];
    if (YY_DEFAULTS_REACH_TEMPLATES && s >= YY_FIRST_TEMPLATE)
        c = yy_scanner.meta_class[c];
    return yy_next_state(s, c);
}
