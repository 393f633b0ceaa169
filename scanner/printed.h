// The scanner's tables as first printed, kept as a check of the construction: the build proves
// that the classes computed from the token rules (scanner/tables.h) are these, byte for byte, and
// that the automaton computed from them steps as this one does from every state on every class
// and accepts as it does. Constant; no code reads them but the checks below.
#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "scanner/tables.h"

// Character class of every byte value, 0x80..0xFF included. 0 is the end-of-buffer marker (a
// NUL); 1 is any byte no other class takes; 2 blank; 3 line feed; 4 ( 5 ) 6 * 7 + 8 - 9 /;
// 10 digit.
//                                          x0 x1 x2 x3 x4 x5 x6 x7 x8 x9 xA xB xC xD xE xF
inline constexpr std::uint8_t yy_printed_class[] = {
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

// Meta class of every class, for template states (states 16 and up): there are none, here or in
// the comb computed from the token rules, so no lookup reads it.
//                                          c0 c1 c2 c3 c4 c5 c6 c7 c8 c9 c10
inline constexpr std::uint8_t yy_meta_class[] = {
                                             0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1 };

// Per-state tables. Action: the action of the text a state accepts (0: none). Base: where the
// state's pairs start in the comb. Default: the state to fall back to when the pair at base +
// class is not its. States: 1 start (2 behaves as 1), 3 end-of-buffer marker consumed, 4 any other
// byte, 5 blank, 6 line feed, 7 ( 8 ) 9 * 10 + 11 - 12 /, 13 one digit, 14 two or more digits,
// 15 dead.
// state:                                    0   1   2   3   4   5   6   7   8   9  10  11  12  13  14  15
inline constexpr std::int16_t yy_state_action[]  = {  0,  0,  0, 12, 10,  8,  9,  5,  6,  3,  1,  2,  4,  7,  7,  0 };
inline constexpr std::int16_t yy_state_base[]    = {  0,  0,  0, 13, 14, 14, 14, 14, 14, 14, 14, 14, 14,  2,  1, 14 };
inline constexpr std::int16_t yy_state_default[] = {  0, 15,  1, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15,  0 };

// The comb of transition pairs: the target state, and the state that owns the pair.
// index:                                   0   1   2   3   4   5   6   7   8   9  10  11  12  13  14  15  16  17  18  19  20  21  22  23  24
inline constexpr std::int16_t yy_trans_next[]  = {  0,  4,  5,  6,  7,  8,  9, 10, 11, 12, 13, 14, 14, 15,  3, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15 };
inline constexpr std::int16_t yy_trans_check[] = {  0,  1,  1,  1,  1,  1,  1,  1,  1,  1,  1, 14, 13,  3, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15 };

inline constexpr int YY_PRINTED_STATES = static_cast<int>(std::size(yy_state_base));
static_assert(std::size(yy_printed_class) == YY_BYTES && std::size(yy_meta_class) == YY_CLASSES &&
                  std::size(yy_state_action) == YY_PRINTED_STATES && std::size(yy_state_default) == YY_PRINTED_STATES &&
                  std::size(yy_trans_next) == std::size(yy_trans_check),
              "the printed tables are whole, with a meta class for each class");

constexpr YyComb yy_load_printed_automaton() {
    YyComb k{};
    std::ranges::copy(yy_state_action, k.action);
    std::ranges::copy(yy_state_base, k.base);
    std::ranges::copy(yy_state_default, k.fallback);
    std::ranges::copy(yy_trans_next, k.next);
    std::ranges::copy(yy_trans_check, k.check);
    return k;
}
inline constexpr YyComb yy_printed_automaton = yy_load_printed_automaton();

// The first byte whose class differs; -1 where none does.
constexpr int yy_first_class_difference() {
    int b = static_cast<int>(std::ranges::mismatch(yy_printed_class, yy_char_class).in1 - std::begin(yy_printed_class));
    return b < YY_BYTES ? b : -1;
}
template <int BYTE> struct YyPrintedClassDiffers {
    static_assert(BYTE < 0, "the class computed from the token rules and the printed yy_printed_class differ at the "
                            "byte of this instantiation");
};
template struct YyPrintedClassDiffers<yy_first_class_difference()>;

// The first printed state and class at which the two automata differ, in the printed numbering
// ({-1, -1} where they agree), the states matched one to one by walking both from the start state
// along every class. Class YY_CLASSES stands for the state's action.
struct YyAutomatonDifference { int state, class_; };
constexpr YyAutomatonDifference yy_first_automaton_difference() {
    if (std::size(yy_meta_class) != YY_CLASSES)
        return {0, YY_CLASSES};  // another count of classes: the printed automaton has none of the new
    int printed_of[YY_MAX_STATES] = {}, computed_of[YY_PRINTED_STATES] = {};  // 0: not yet matched
    printed_of[YY_START_STATE] = computed_of[1] = YY_START_STATE;
    for (int s = YY_START_STATE; s < YY_STATES; ++s) {
        int ps = printed_of[s];
        if (yy_printed_automaton.action[ps] != yy_automaton.action[s])
            return {ps, YY_CLASSES};
        for (int c = 0; c < YY_CLASSES; ++c) {
            int t = yy_automaton.next[s][c], pt = static_cast<int>(yy_next_in(yy_printed_automaton, ps, c));
            if (printed_of[t] != 0 ? printed_of[t] != pt : computed_of[pt] != 0)
                return {ps, c};  // another state than before, or one state standing for two
            printed_of[t] = pt;
            computed_of[pt] = t;
        }
    }
    return {-1, -1};
}
inline constexpr YyAutomatonDifference yy_printed_automaton_difference = yy_first_automaton_difference();
template <int STATE, int CLASS> struct YyPrintedAutomatonDiffers {
    static_assert(STATE < 0, "the automaton computed from the token rules and the printed one differ at the state "
                             "(as printed) and the class of this instantiation (the class count: the state's action)");
};
template struct YyPrintedAutomatonDiffers<yy_printed_automaton_difference.state, yy_printed_automaton_difference.class_>;
