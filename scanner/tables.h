// Scanner tables: the character classes and the compressed automaton that recognises the tokens.
// Constant; the engine (scanner/engine.cpp) runs them.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "scanner/scanner.h"

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

// The classes again, as a reader states them, by byte ranges; every entry of the table above is
// checked against it.
constexpr int yy_class_by_ranges(int b) {
    if (b == 0x00)
        return 0;
    if (b == '\t' || b == ' ')
        return 2;
    if (b == '\n')
        return 3;
    for (int c = 4; const char op : {'(', ')', '*', '+', '-', '/'}) {
        if (b == op)
            return c;
        ++c;
    }
    return b >= '0' && b <= '9' ? 10 : 1;
}
static_assert([] {
    for (int b = 0; b < 256; ++b)
        if (yy_char_class[b] != yy_class_by_ranges(b))
            return false;
    return true;
}(), "yy_char_class gives every byte the class its range has");

// The class of a NUL byte that is data, not the end-of-buffer marker.
inline constexpr int YY_NUL_CLASS = 1;

// Meta class of every class, for template states (see YY_FIRST_TEMPLATE); no state reaches one.
//                                          c0 c1 c2 c3 c4 c5 c6 c7 c8 c9 c10
inline constexpr std::uint8_t yy_meta_class[] = {
                                             0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1 };
inline constexpr int YY_CLASSES = static_cast<int>(std::size(yy_meta_class));
static_assert(*std::max_element(std::begin(yy_char_class), std::end(yy_char_class)) < YY_CLASSES,
              "every class of yy_char_class has an entry in yy_meta_class");

// Actions, numbered as yy_state_action numbers them: the ten rules in priority order (see
// yy_rules), then the ones the engine takes for itself.
enum YyAction : int {
    YY_ACT_NONE,    // a state that accepts nothing
    YY_ACT_PLUS,
    YY_ACT_MINUS,
    YY_ACT_TIMES,
    YY_ACT_DIVIDE,
    YY_ACT_LPAREN,
    YY_ACT_RPAREN,
    YY_ACT_NUMBER,  // converts the digits into yylval
    YY_ACT_BLANK,   // no token: scanning goes on after the blank
    YY_ACT_EOL,
    YY_ACT_STRAY,   // any other byte: its own value is the token code
    YY_ACT_COPY,    // copies the byte to yyout; selected by no state
    YY_ACT_BUFFER_END,  // the end-of-buffer marker, or a NUL byte of the input
    YY_ACT_INPUT_END,   // selected by no state: the end of input comes through a refill
    YY_ACTIONS,
};

// Per-state tables. Action: the action of the text a state accepts (0: none). Base: where the
// state's pairs start in the comb. Default: the state to fall back to when the pair at base +
// class is not its. States: 1 start (2 behaves as 1), 3 end-of-buffer marker consumed, 4 any other
// byte, 5 blank, 6 line feed, 7 ( 8 ) 9 * 10 + 11 - 12 /, 13 one digit, 14 two or more digits,
// 15 dead.
// state:                                    0   1   2   3   4   5   6   7   8   9  10  11  12  13  14  15
inline constexpr std::int16_t yy_state_action[]  = {  0,  0,  0, 12, 10,  8,  9,  5,  6,  3,  1,  2,  4,  7,  7,  0 };
inline constexpr std::int16_t yy_state_base[]    = {  0,  0,  0, 13, 14, 14, 14, 14, 14, 14, 14, 14, 14,  2,  1, 14 };
inline constexpr std::int16_t yy_state_default[] = {  0, 15,  1, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15,  0 };
inline constexpr int YY_STATES = static_cast<int>(std::size(yy_state_base));
static_assert(std::size(yy_state_action) == YY_STATES && std::size(yy_state_default) == YY_STATES,
              "yy_state_action, yy_state_base and yy_state_default have an entry for every state");
static_assert(*std::max_element(std::begin(yy_state_action), std::end(yy_state_action)) < YY_ACTIONS,
              "every action of yy_state_action is named in YyAction");

// The comb of transition pairs: the target state, and the state that owns the pair.
// index:                                   0   1   2   3   4   5   6   7   8   9  10  11  12  13  14  15  16  17  18  19  20  21  22  23  24
inline constexpr std::int16_t yy_trans_next[]  = {  0,  4,  5,  6,  7,  8,  9, 10, 11, 12, 13, 14, 14, 15,  3, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15 };
inline constexpr std::int16_t yy_trans_check[] = {  0,  1,  1,  1,  1,  1,  1,  1,  1,  1,  1, 14, 13,  3, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15 };
static_assert(std::size(yy_trans_next) == 25 && std::size(yy_trans_check) == 25);
static_assert(*std::max_element(std::begin(yy_state_base), std::end(yy_state_base)) + YY_CLASSES <= std::size(yy_trans_check),
              "the comb has a pair for every class at every state's base: lengthen yy_trans_next and yy_trans_check");

inline constexpr int YY_START_STATE = 1;
inline constexpr int YY_DEAD_STATE = 15;
inline constexpr int YY_STOP_BASE = 14;                // entering a state with this base ends a match
inline constexpr int YY_FIRST_TEMPLATE = YY_STATES;    // states from here on are templates: none

// The successor of state s on class c: s's own pair if the comb holds one, else s's default's.
// This is the lookup the rescan and the NUL step use; the matching loop runs on the byte table
// derived from it below.
constexpr std::ptrdiff_t yy_next_state(std::ptrdiff_t s, std::ptrdiff_t c) {
    while (yy_trans_check[yy_state_base[s] + c] != s) {
        s = yy_state_default[s];
        if (s >= YY_FIRST_TEMPLATE)
            c = yy_meta_class[c];
    }
    return yy_trans_next[yy_state_base[s] + c];
}

constexpr bool yy_accepts(std::ptrdiff_t s) {
    return yy_state_action[s] != YY_ACT_NONE;
}
constexpr bool yy_stops(std::ptrdiff_t s) {
    return yy_state_base[s] == YY_STOP_BASE;
}

// The states a match is ever in: all but state 0, which is no state, and state 2, which stands
// for the start state but is never entered.
constexpr bool yy_is_live(std::ptrdiff_t s) {
    return s != 0 && s != 2;
}
static_assert([] {
    for (int s = 0; s < YY_STATES; ++s)
        for (int c = 0; c < YY_CLASSES && yy_is_live(s); ++c)
            if (!yy_is_live(yy_next_state(s, c)))
                return false;
    return yy_is_live(YY_START_STATE);
}(), "no live state leads to a state yy_is_live leaves out");
static_assert(!yy_accepts(YY_START_STATE) && !yy_stops(YY_START_STATE),
              "the start state neither accepts nor stops a match");
static_assert(yy_stops(YY_DEAD_STATE) && !yy_accepts(YY_DEAD_STATE), "the dead state stops a match and accepts nothing");

// ---------------------------------------------------------------------------------------------
// The rules, in priority order. Each has the bytes it matches on its own (a digit also begins a
// run of digits) and the token code its action returns. The code is 0 for the blank, which
// returns none, and for any other byte, whose own value is the code; a few of those bytes stand
// for them all.

struct YyRule {
    int action;
    const char* bytes;
    int token;
};
inline constexpr YyRule yy_rules[] = {
    {YY_ACT_PLUS,   "+",          PLUS},
    {YY_ACT_MINUS,  "-",          MINUS},
    {YY_ACT_TIMES,  "*",          TIMES},
    {YY_ACT_DIVIDE, "/",          DIVIDE},
    {YY_ACT_LPAREN, "(",          LPAREN},
    {YY_ACT_RPAREN, ")",          RPAREN},
    {YY_ACT_NUMBER, "0123456789", NUMBER},
    {YY_ACT_BLANK,  " \t",        0},
    {YY_ACT_EOL,    "\n",         EOL},
    {YY_ACT_STRAY,  "\x01\x08\x0b\x1f!'.:a\x7f\x80\xff", 0},
};
static_assert([] {
    for (int i = 0; i < static_cast<int>(std::size(yy_rules)); ++i)
        if (yy_rules[i].action != YY_ACT_PLUS + i)
            return false;
    return true;
}(), "yy_rules lists the rules in the order of their actions");

// The action that the one byte b, matched on its own, takes.
constexpr int yy_action_of_byte(char b) {
    return yy_state_action[yy_next_state(YY_START_STATE, yy_char_class[static_cast<unsigned char>(b)])];
}
static_assert([] {
    for (const YyRule& rule : yy_rules)
        for (const char* b = rule.bytes; *b != 0; ++b)
            if (yy_action_of_byte(*b) != rule.action)
                return false;
    return true;
}(), "each byte of a rule in yy_rules takes that rule's action in the tables");
static_assert([] {
    for (int s = 0; s < YY_STATES; ++s) {
        int a = yy_state_action[s];
        if (yy_is_live(s) && a != YY_ACT_NONE && a != YY_ACT_BUFFER_END && (a < YY_ACT_PLUS || a >= YY_ACT_PLUS + static_cast<int>(std::size(yy_rules))))
            return false;
    }
    return true;
}(), "every action a state takes is the end of the buffer or a rule of yy_rules");

static_assert([] {
    for (int token = EOL; token < YY_TOKEN_LIMIT; ++token)
        if (std::none_of(std::begin(yy_rules), std::end(yy_rules), [&](const YyRule& rule) { return rule.token == token; }))
            return false;
    return true;
}(), "every named token of scanner.h is returned by a rule of yy_rules");

// The token code each action returns, for the actions that return a named token; 0 for the
// others.
struct YyActionTokens {
    int of[YY_ACTIONS];
};
constexpr YyActionTokens yy_derive_action_tokens() {
    YyActionTokens t{};
    for (const YyRule& rule : yy_rules)
        t.of[rule.action] = rule.token;
    return t;
}
inline constexpr YyActionTokens yy_action_token = yy_derive_action_tokens();

// ---------------------------------------------------------------------------------------------
// The byte table, derived from the tables above when the program is compiled, for the matching
// loop: one load per byte instead of a class lookup and a walk along the default chain.

inline constexpr int YY_BYTES = 256;

// A match backs up at most one byte: a step that ends a match in a state accepting nothing (the
// dead state) is taken only from a state that accepts, so the match then ends in that state, one
// byte back.
static_assert([] {
    for (int s = 0; s < YY_STATES; ++s)
        for (int c = 0; c < YY_CLASSES; ++c) {
            if (!yy_is_live(s) || yy_stops(s))
                continue;
            auto t = yy_next_state(s, c);
            if (yy_stops(t) && !yy_accepts(t) && !yy_accepts(s))
                return false;
        }
    return true;
}(), "a match backs up at most one byte");

// An entry of the byte table, for the state a match is in and the byte it steps on:
//   e >= 0                 the match goes on: e is the row of the next state, yy_row(t)
//   e == ~t                the match ends in state t, which accepts, the byte taken
//   e == ~(s + YY_BACK_UP)  the match ends one byte back, in the state s it was in
// The two endings are both ~ending: the action and token tables take either, so that the loop
// looks up what to do without first telling them apart.
using YyEntry = std::ptrdiff_t;  // held pointer-wide, to index the tables without widening
inline constexpr int YY_BACK_UP = 32;
static_assert(YY_STATES <= YY_BACK_UP && YY_STATES * YY_BYTES <= INT16_MAX, "every entry fits 16 bits");

constexpr YyEntry yy_row(std::ptrdiff_t s) {
    return s * YY_BYTES;
}
constexpr bool yy_goes_on(YyEntry e) {
    return e >= 0;
}
// The state a match ends in, plus YY_BACK_UP when that is one byte back.
constexpr std::ptrdiff_t yy_ending(YyEntry e) {
    return ~e;
}
// The bytes a match gives back: 1 when it ends one byte back, else 0.
constexpr std::ptrdiff_t yy_bytes_back(YyEntry e) {
    return ~e / YY_BACK_UP;
}
// The entry that ends a match in the accepting state t, where the scan is.
constexpr YyEntry yy_ends_in(std::ptrdiff_t t) {
    return ~t;
}
// The entry of the step from s into t.
constexpr YyEntry yy_entry(std::ptrdiff_t s, std::ptrdiff_t t) {
    if (!yy_stops(t))
        return yy_row(t);
    return yy_accepts(t) ? yy_ends_in(t) : ~(s + YY_BACK_UP);
}

// What the matching loop reads, in one constant object (one base address): the entry of every
// state's step on every byte, a row of 256 per state; and each state's action and the token code
// that action returns, by the state with or without the back-up mark. Rows are built from the
// comb by inheritance, a state's own pairs laid over its default's row (a second way to the
// answers that yy_next_state finds by walking the chain; the two are checked against each other
// below). The rows of states that a match never leaves (it ends on entering them) end the match in
// the dead state, which has no action.
struct YyMatchTables {
    std::int16_t next[YY_STATES * YY_BYTES];  // yy_row(state) + byte
    std::int8_t action[2 * YY_BACK_UP];       // by ending
    std::uint16_t token[2 * YY_BACK_UP];
};

constexpr YyMatchTables yy_derive_match_tables() {
    std::ptrdiff_t by_class[YY_STATES][YY_CLASSES] = {};
    bool built[YY_STATES] = {};
    for (int pass = 0; pass < YY_STATES; ++pass) {  // a row is built once its default's row is
        for (int s = 0; s < YY_STATES; ++s) {
            int d = yy_state_default[s];
            if (built[s] || !yy_is_live(s) || (d != 0 && !built[d]))
                continue;
            for (int c = 0; c < YY_CLASSES; ++c) {
                int i = yy_state_base[s] + c;
                by_class[s][c] = yy_trans_check[i] == s ? yy_trans_next[i] : d != 0 ? by_class[d][c] : YY_DEAD_STATE;
            }
            built[s] = true;
        }
    }
    YyMatchTables t{};
    for (int s = 0; s < YY_STATES; ++s) {
        for (int b = 0; b < YY_BYTES; ++b)
            t.next[yy_row(s) + b] = static_cast<std::int16_t>(
                built[s] && !yy_stops(s) ? yy_entry(s, by_class[s][yy_char_class[b]]) : ~YY_DEAD_STATE);
        for (int ending : {s, s + YY_BACK_UP}) {
            t.action[ending] = static_cast<std::int8_t>(yy_state_action[s]);
            t.token[ending] = static_cast<std::uint16_t>(yy_action_token.of[yy_state_action[s]]);
        }
    }
    return t;
}
inline constexpr YyMatchTables yy_match = yy_derive_match_tables();

// The byte table and the comb agree on every state a match goes on from and every byte (and so
// on every class, each class having at least one byte).
static_assert([] {
    for (int s = 0; s < YY_STATES; ++s)
        for (int b = 0; b < YY_BYTES; ++b)
            if (yy_is_live(s) && !yy_stops(s) &&
                yy_match.next[yy_row(s) + b] != yy_entry(s, yy_next_state(s, yy_char_class[b])))
                return false;
    return true;
}(), "the byte table agrees with the comb");

// ---------------------------------------------------------------------------------------------
// The digit run. A first digit leads from the start state to YY_ONE_DIGIT, and a digit from there
// or from YY_DIGITS to YY_DIGITS: so the digits after a first one may be taken several at once,
// and then the step on the byte after them from YY_DIGITS' row.

inline constexpr int YY_ONE_DIGIT = 13;
inline constexpr int YY_DIGITS = 14;
inline constexpr char YY_FIRST_DIGIT = '0';
inline constexpr char YY_LAST_DIGIT = '9';

// Whether exactly the digits lead from s to the row of t.
constexpr bool yy_digits_lead(int s, int t) {
    for (int b = 0; b < YY_BYTES; ++b)
        if ((yy_match.next[yy_row(s) + b] == yy_row(t)) != (b >= YY_FIRST_DIGIT && b <= YY_LAST_DIGIT))
            return false;
    return true;
}
static_assert(yy_digits_lead(YY_START_STATE, YY_ONE_DIGIT) && yy_digits_lead(YY_ONE_DIGIT, YY_DIGITS) &&
              yy_digits_lead(YY_DIGITS, YY_DIGITS), "exactly the digits lead into and along the digit run");
static_assert(yy_state_action[YY_ONE_DIGIT] == YY_ACT_NUMBER && yy_state_action[YY_DIGITS] == YY_ACT_NUMBER,
              "the digit states accept a number");
// After a run, however long, the step on the byte that ends it may be taken from YY_DIGITS' row:
// on a byte other than a digit, YY_ONE_DIGIT and YY_DIGITS step alike (the two accept the same
// action, so the endings one byte back mean the same).
static_assert([] {
    for (int b = 0; b < YY_BYTES; ++b) {
        if (b >= YY_FIRST_DIGIT && b <= YY_LAST_DIGIT)
            continue;
        YyEntry one = yy_match.next[yy_row(YY_ONE_DIGIT) + b];
        YyEntry more = yy_match.next[yy_row(YY_DIGITS) + b];
        if (one != more && (yy_goes_on(one) || yy_goes_on(more) || yy_bytes_back(one) != yy_bytes_back(more) ||
                            yy_match.token[yy_ending(one)] != yy_match.token[yy_ending(more)] ||
                            yy_match.action[yy_ending(one)] != yy_match.action[yy_ending(more)]))
            return false;
    }
    return true;
}(), "after a digit, the two digit states step alike on every other byte");
static_assert(YY_FIRST_DIGIT > 0, "the end-of-buffer marker ends a run");

// The lanes of w (eight bytes, the first in the lowest lane, as load_lanes gives them) that hold
// no digit, as their top bits, exact up to and including the lowest such lane. In each lane,
// d = byte - '0' is below 10 exactly for a digit, and otherwise (d + 0x80 - 10) | d has its top
// bit set. A borrow or a carry leaves a lane only if it holds no digit, and reaches only the
// lanes above it.
constexpr std::uint64_t yy_non_digit_lanes(std::uint64_t w) {
    constexpr std::uint64_t LANES = 0x0101010101010101;
    constexpr std::uint64_t DIGITS = YY_LAST_DIGIT - YY_FIRST_DIGIT + 1;
    std::uint64_t d = w - LANES * YY_FIRST_DIGIT;
    return ((d + LANES * (0x80 - DIGITS)) | d) & LANES * 0x80;
}
// The number of digits at the front of w, but at most seven: the last lane counts as no digit,
// so that the byte after the digits taken is always in w.
constexpr std::ptrdiff_t yy_leading_digits(std::uint64_t w) {
    return static_cast<unsigned>(std::countr_zero(yy_non_digit_lanes(w) | std::uint64_t{1} << 63)) / 8;
}
// Checked for every byte value in every lane, after digits and before each kind of byte.
static_assert([] {
    for (int lane = 0; lane < 8; ++lane)
        for (int b = 0; b < YY_BYTES; ++b)
            for (std::uint64_t rest : {std::uint64_t{0}, ~std::uint64_t{0}, std::uint64_t{0x3939393939393939}}) {
                std::uint64_t w = 0;
                for (int i = 0; i < lane; ++i)
                    w |= static_cast<std::uint64_t>(YY_FIRST_DIGIT + (i * 7 + b) % 10) << 8 * i;
                w |= static_cast<std::uint64_t>(b) << 8 * lane;
                if (lane < 7)
                    w |= rest << 8 * (lane + 1);
                bool digit = b >= YY_FIRST_DIGIT && b <= YY_LAST_DIGIT;
                // A non-digit ends the count at its lane; a digit lets it go on past its lane,
                // up to seven.
                auto k = yy_leading_digits(w);
                if (digit ? k <= lane && k != 7 : k != lane)
                    return false;
            }
    return true;
}(), "yy_leading_digits counts the digits at the front of a word");
