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

// ---------------------------------------------------------------------------------------------
// Tables derived from the ones above when the program is compiled, for the matching loop: one
// load per byte instead of a class lookup and a walk along the default chain.

inline constexpr int YY_STATES = static_cast<int>(std::size(yy_state_base));
inline constexpr int YY_CLASSES = static_cast<int>(std::size(yy_meta_class));
inline constexpr int YY_BYTES = 256;
static_assert(YY_STATES <= 32, "state sets are held as bit masks of 32 bits");

// The states a match can be in: the start state and every state reachable from it. (0 and 2 are
// never entered.)
constexpr std::uint32_t yy_reachable_states() {
    std::uint32_t seen = 1u << YY_START_STATE;
    for (bool grew = true; grew;) {
        grew = false;
        for (int s = 0; s < YY_STATES; ++s) {
            if ((seen >> s & 1) == 0)
                continue;
            for (int c = 0; c < YY_CLASSES; ++c) {
                auto t = static_cast<int>(yy_next_state(s, c));
                if ((seen >> t & 1) == 0) {
                    seen |= 1u << t;
                    grew = true;
                }
            }
        }
    }
    return seen;
}
inline constexpr std::uint32_t YY_REACHABLE = yy_reachable_states();

constexpr std::uint32_t yy_states_where(bool (*holds)(int)) {
    std::uint32_t mask = 0;
    for (int s = 0; s < YY_STATES; ++s)
        if (holds(s))
            mask |= 1u << s;
    return mask;
}
// Entering a state of YY_STOPPING ends a match; a state of YY_ACCEPTING accepts its action.
inline constexpr std::uint32_t YY_STOPPING =
    yy_states_where([](int s) { return yy_state_base[s] == YY_STOP_BASE; });
inline constexpr std::uint32_t YY_ACCEPTING =
    yy_states_where([](int s) { return yy_state_action[s] != 0; });
constexpr bool yy_stops(std::ptrdiff_t s) { return (YY_STOPPING >> s & 1) != 0; }
constexpr bool yy_accepts(std::ptrdiff_t s) { return (YY_ACCEPTING >> s & 1) != 0; }

// The token code each action returns, for the actions that return one (action 7 converts the
// number's text into yylval first); 0 for the actions that do something else: drop a blank, pass
// the byte through, handle the end of the buffer or of the input.
// action:                                0     1      2      3       4       5       6       7  8    9 10 11 12 13
inline constexpr int yy_action_token[] = { 0, PLUS, MINUS, TIMES, DIVIDE, LPAREN, RPAREN, NUMBER, 0, EOL, 0, 0, 0, 0 };
static_assert(std::size(yy_action_token) == YY_ACT_INPUT_END + 1);

static_assert(yy_stops(YY_DEAD_STATE) && !yy_accepts(YY_DEAD_STATE));

// Back-up is never more than one byte: a state from which one step can end a match in a state
// that accepts nothing accepts itself. So the match is then the one of the state before that
// step, one byte back, and the byte table below says so in the entry of that step.
constexpr bool yy_backs_up_one_byte() {
    for (int s = 0; s < YY_STATES; ++s)
        for (int c = 0; c < YY_CLASSES; ++c) {
            if ((YY_REACHABLE >> s & 1) == 0 || yy_stops(s))
                continue;
            auto t = yy_next_state(s, c);
            if (yy_stops(t) && !yy_accepts(t) && !yy_accepts(s))
                return false;
        }
    return true;
}
static_assert(yy_backs_up_one_byte());

// An entry of the byte table is either the offset of the successor's row (successor x YY_BYTES,
// never negative), when the match goes on; or, when the step ends the match, the complement of
// the state whose action the match takes: the successor itself if it accepts, otherwise the state
// before the step plus YY_BACK_UP, the match then ending one byte back.
inline constexpr int YY_BACK_UP = 32;
static_assert(YY_STATES <= YY_BACK_UP && YY_STATES * YY_BYTES <= INT16_MAX);

constexpr std::int16_t yy_entry_for_step(std::ptrdiff_t s, std::ptrdiff_t to) {
    if (!yy_stops(to))
        return static_cast<std::int16_t>(to * YY_BYTES);
    return static_cast<std::int16_t>(~(yy_accepts(to) ? to : s + YY_BACK_UP));
}

// What the matching loop reads, in one constant object (one base address): the entry of every
// state's step on every byte, the class folded in, a row of 256 per state; and each state's
// action and the token code that action returns, by the state with or without the back-up mark. Rows are built by inheritance, a state's own
// pairs laid over its default's row (a second way to the answers that yy_next_state finds by
// walking the chain; the two are checked against each other below). The rows of states that a
// match never enters, or never leaves (it ends on entering them), are never read; they end the
// match in the dead state, which has no action.
struct YyMatchTables {
    std::int16_t next[YY_STATES * YY_BYTES];  // state x YY_BYTES + byte
    std::int8_t action[2 * YY_BACK_UP];   // indexed by the state, back-up mark or not
    std::uint16_t token[2 * YY_BACK_UP];
};

constexpr YyMatchTables yy_derive_match_tables() {
    std::ptrdiff_t by_class[YY_STATES][YY_CLASSES] = {};
    bool built[YY_STATES] = {};
    for (int pass = 0; pass < YY_STATES; ++pass) {  // a row is built once its default's row is
        for (int s = 0; s < YY_STATES; ++s) {
            int d = yy_state_default[s];
            if (built[s] || (YY_REACHABLE >> s & 1) == 0 || (d != 0 && !built[d]))
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
            t.next[s * YY_BYTES + b] = built[s] && !yy_stops(s) ? yy_entry_for_step(s, by_class[s][yy_char_class[b]]) : ~YY_DEAD_STATE;
        for (int marked : {s, s + YY_BACK_UP}) {
            t.action[marked] = static_cast<std::int8_t>(yy_state_action[s]);
            t.token[marked] = static_cast<std::uint16_t>(yy_action_token[yy_state_action[s]]);
        }
    }
    return t;
}
inline constexpr YyMatchTables yy_match = yy_derive_match_tables();

// The byte table and the comb agree on every state a match can go on from and every byte (and so
// on every class, each class having at least one byte): an entry leads to the successor's row,
// or ends the match in the successor, or, where the successor accepts nothing, in the state
// before.
constexpr bool yy_byte_table_agrees() {
    for (int s = 0; s < YY_STATES; ++s)
        for (int b = 0; b < YY_BYTES; ++b) {
            if ((YY_REACHABLE >> s & 1) == 0 || yy_stops(s))
                continue;
            std::ptrdiff_t to = yy_next_state(s, yy_char_class[b]);
            int e = yy_match.next[s * YY_BYTES + b];
            bool agrees = e >= 0 ? !yy_stops(to) && e == to * YY_BYTES
                        : yy_stops(to) && (yy_accepts(to) ? ~e == to : ~e == s + YY_BACK_UP && yy_accepts(s));
            if (!agrees)
                return false;
        }
    return true;
}
static_assert(yy_byte_table_agrees());

// ---------------------------------------------------------------------------------------------
// A run: a range of bytes on which one state, the run state, leads back to itself (the digits of
// a number literal), entered from another state on the same bytes. A match that has just entered
// that state may take the run's bytes after it several at once, and then the table's step on the
// byte after them.

struct YyRun {
    int state;        // the run state
    int entry;        // the state that the run's bytes lead into it from
    int first, last;  // the run's bytes, first..last
};

// Whether state s's entry on byte b leads to the row of state `to`.
constexpr bool yy_leads_to(int s, int b, int to) {
    return yy_match.next[s * YY_BYTES + b] == to * YY_BYTES;
}

// Whether exactly the bytes first..last lead from s to `to`.
constexpr bool yy_leads_on_exactly(int s, int to, int first, int last) {
    for (int b = 0; b < YY_BYTES; ++b)
        if (yy_leads_to(s, b, to) != (b >= first && b <= last))
            return false;
    return true;
}

// The first state that loops on a byte, the bytes it loops on from the first such byte on, and
// another state that enters it on exactly those bytes; {0, 0, 0, -1} if the automaton has none.
constexpr YyRun yy_find_run() {
    for (int s = 0; s < YY_STATES; ++s) {
        if ((YY_REACHABLE >> s & 1) == 0 || yy_stops(s))
            continue;
        int first = 0;
        while (first < YY_BYTES && !yy_leads_to(s, first, s))
            ++first;
        if (first == YY_BYTES)
            continue;
        int last = first;
        while (last + 1 < YY_BYTES && yy_leads_to(s, last + 1, s))
            ++last;
        for (int entry = 0; entry < YY_STATES; ++entry)
            if (entry != s && (YY_REACHABLE >> entry & 1) != 0 && !yy_stops(entry) &&
                yy_leads_on_exactly(entry, s, first, last))
                return {s, entry, first, last};
    }
    return {0, 0, 0, -1};
}
inline constexpr YyRun yy_run = yy_find_run();

static_assert(yy_run.first == '0' && yy_run.last == '9', "the run is the digits");
static_assert(yy_leads_on_exactly(yy_run.state, yy_run.state, yy_run.first, yy_run.last),
              "the run state loops on the run's bytes and on no other byte");
static_assert(yy_leads_on_exactly(YY_START_STATE, yy_run.entry, yy_run.first, yy_run.last),
              "a first digit leads from the start state into the state that enters the run");
static_assert(yy_run.first > 0, "the end-of-buffer marker ends a run");

// On a byte outside the run, the entry state and the run state step alike: to the same row, or
// to an end of the match with the same back-up, action and token. So after a run, however long,
// the step on the byte that ends it may be taken from the run state's row.
static_assert([] {
    for (int b = 0; b < YY_BYTES; ++b) {
        if (b >= yy_run.first && b <= yy_run.last)
            continue;
        int from_entry = yy_match.next[yy_run.entry * YY_BYTES + b];
        int from_run = yy_match.next[yy_run.state * YY_BYTES + b];
        if (from_entry == from_run)
            continue;
        if (from_entry >= 0 || from_run >= 0 || ~from_entry / YY_BACK_UP != ~from_run / YY_BACK_UP ||
            yy_match.action[~from_entry] != yy_match.action[~from_run] ||
            yy_match.token[~from_entry] != yy_match.token[~from_run])
            return false;
    }
    return true;
}());

// The lanes of w (eight bytes, the first in the lowest lane, as load_lanes gives them) that hold
// no run byte, as their top bits, exact up to and including the lowest such lane. In each lane
// d = byte - first, a run byte exactly when d < width, and (d + 0x80 - width) | d has its top bit
// set otherwise. A borrow or carry out of a lane comes only from a lane that holds no run byte and
// reaches only the lanes above it.
constexpr std::uint64_t yy_outside_run(std::uint64_t w) {
    constexpr std::uint64_t LANES = 0x0101010101010101;
    constexpr auto width = static_cast<std::uint64_t>(yy_run.last - yy_run.first + 1);
    static_assert(width < 0x80);
    std::uint64_t d = w - LANES * static_cast<std::uint64_t>(yy_run.first);
    return ((d + LANES * (0x80 - width)) | d) & LANES * 0x80;
}
// The number of run bytes at the front of w, but at most seven: the last lane is counted as
// outside the run, so that the byte after the ones taken is always in w.
constexpr std::ptrdiff_t yy_run_length(std::uint64_t w) {
    return static_cast<unsigned>(std::countr_zero(yy_outside_run(w) | std::uint64_t{1} << 63)) / 8;
}
// Checked for every byte value in every lane, behind run bytes and before each kind of byte.
static_assert([] {
    for (int lane = 0; lane < 8; ++lane)
        for (int b = 0; b < YY_BYTES; ++b)
            for (std::uint64_t after : {std::uint64_t{0}, ~std::uint64_t{0}, std::uint64_t{0x3939393939393939}}) {
                std::uint64_t w = 0;
                for (int i = 0; i < lane; ++i)
                    w |= static_cast<std::uint64_t>(yy_run.first + (i * 7 + b) % (yy_run.last - yy_run.first + 1)) << 8 * i;
                w |= static_cast<std::uint64_t>(b) << 8 * lane;
                if (lane < 7)
                    w |= after << 8 * (lane + 1);
                bool inside = b >= yy_run.first && b <= yy_run.last;
                auto k = yy_run_length(w);
                if (inside ? k <= lane && !(lane == 7 && k == 7) : k != lane)
                    return false;
            }
    return true;
}());
