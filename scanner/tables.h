// Scanner tables: the token rules, and the character classes, the automaton and its compressed
// form computed from them when the program is compiled. Constant; the engine (scanner/engine.cpp)
// runs them, and scanner/printed.h checks them against the tables as first printed.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "scanner/scanner.h"

// ---------------------------------------------------------------------------------------------
// The token rules, in priority order: a match is the longest text a rule matches, of matches of
// one length the first rule's. A rule matches one byte of its set, or a run of one or more; the
// set is listed, "a-z" for a range, null for every byte. A rule returns a named token, or
// YY_NO_TOKEN (a blank: scanning goes on), or YY_OWN_CODE (the byte's own value; a NUL of the
// input, which the last rule takes, is so 0, the end of input).

enum YyRuleKind : int { YY_ONE_BYTE, YY_RUN };
inline constexpr int YY_NO_TOKEN = -1;
inline constexpr int YY_OWN_CODE = -2;
struct YyTokenRule { YyRuleKind kind; const char* bytes; int token; };
inline constexpr YyTokenRule yy_token_rules[] = {
    {YY_ONE_BYTE, "+",    PLUS},
    {YY_ONE_BYTE, "-",    MINUS},
    {YY_ONE_BYTE, "*",    TIMES},
    {YY_ONE_BYTE, "/",    DIVIDE},
    {YY_ONE_BYTE, "(",    LPAREN},
    {YY_ONE_BYTE, ")",    RPAREN},
    {YY_RUN,      "0-9",  NUMBER},
    {YY_ONE_BYTE, " \t",  YY_NO_TOKEN},
    {YY_ONE_BYTE, "\n",   EOL},
    {YY_ONE_BYTE, nullptr, YY_OWN_CODE},  // any other byte
};
inline constexpr int YY_RULES = static_cast<int>(std::size(yy_token_rules));
static_assert(YY_RULES < 32, "a set of rules is held in 32 bits");

// Whether rule r's set holds byte b.
constexpr bool yy_rule_takes(int r, int b) {
    const char* s = yy_token_rules[r].bytes;
    for (; s != nullptr && *s != 0; s += s[1] == '-' && s[2] != 0 ? 3 : 1)
        if (b == static_cast<unsigned char>(*s) ||
            (s[1] == '-' && s[2] != 0 && b > static_cast<unsigned char>(*s) && b <= static_cast<unsigned char>(s[2])))
            return true;
    return s == nullptr;
}

// Actions, numbered as the rules are (from 1); after them, the default rule's (copy a byte to
// yyout: taken by no state), then the end of the buffer's (the marker, or a NUL of the input).
inline constexpr int YY_ACT_NONE = 0;  // a state that accepts nothing
inline constexpr int YY_ACT_BUFFER_END = YY_RULES + 2;
constexpr int yy_action_of(int token) {  // the action of the rule that returns `token`
    for (int r = 0; r < YY_RULES; ++r)
        if (yy_token_rules[r].token == token)
            return r + 1;
    return YY_ACT_NONE;
}
inline constexpr int YY_ACT_BLANK = yy_action_of(YY_NO_TOKEN);
inline constexpr int YY_ACT_STRAY = yy_action_of(YY_OWN_CODE);
static_assert([] {
    for (int token = EOL; token < YY_TOKEN_LIMIT; ++token)
        if (yy_action_of(token) == YY_ACT_NONE)
            return false;
    return YY_ACT_BLANK != YY_ACT_NONE && YY_ACT_STRAY != YY_ACT_NONE;
}(), "every named token of scanner.h, the blank and the byte's own code are returned by a rule");

// ---------------------------------------------------------------------------------------------
// Character classes: bytes that every rule takes alike share a class. Class 0 is the end-of-buffer
// marker, the NUL byte alone; the others are numbered in the order of their smallest bytes. A
// NUL that is data is scanned in the class of the bytes that the rules take as they take a NUL.

inline constexpr int YY_BYTES = 256;
constexpr unsigned yy_rules_taking(int b) {
    unsigned set = 0;
    for (int r = 0; r < YY_RULES; ++r)
        set |= static_cast<unsigned>(yy_rule_takes(r, b)) << r;
    return set;
}
struct YyClasses {
    std::uint8_t of[YY_BYTES];
    int classes;
    int nul;  // the class of a NUL byte of the input
};
constexpr YyClasses yy_derive_classes() {
    YyClasses c{{}, 1, -1};
    for (int b = 1; b < YY_BYTES; ++b) {
        int a = 1;
        while (a < b && yy_rules_taking(a) != yy_rules_taking(b))
            ++a;
        c.of[b] = a < b ? c.of[a] : static_cast<std::uint8_t>(c.classes++);
        if (c.nul < 0 && yy_rules_taking(b) == yy_rules_taking(0))
            c.nul = c.of[b];
    }
    return c;
}
inline constexpr YyClasses yy_classes = yy_derive_classes();
inline constexpr const std::uint8_t (&yy_char_class)[YY_BYTES] = yy_classes.of;
inline constexpr int YY_CLASSES = yy_classes.classes;
inline constexpr int YY_NUL_CLASS = yy_classes.nul;
static_assert(YY_NUL_CLASS > 0, "some byte other than NUL is taken by the rules as a NUL is");

// ---------------------------------------------------------------------------------------------
// The automaton, by the subset construction: after the start, a state is the set of rules that
// match the text so far (a run may go on). The start state is 1 (0 is no state); the others are
// numbered as first reached, classes in order, the dead state (no rule) last. On the marker every
// state goes to the marker state, and that one to the dead state: the marker ends every match.

inline constexpr int YY_START_STATE = 1;
inline constexpr int YY_MAX_STATES = 32;  // room for the construction: more fails the build

struct YyAutomaton {
    unsigned rules[YY_MAX_STATES];      // the rules of each state
    int next[YY_MAX_STATES][YY_BYTES];  // the successor of each state on each class
    int action[YY_MAX_STATES];
    int states, marker, dead;
};
constexpr YyAutomaton yy_construct_automaton() {
    constexpr unsigned START = ~0u, MARKER = ~0u - 1;  // sets that no text gives
    YyAutomaton a{{0, START, MARKER}, {}, {}, 3, 2, -1};
    for (int s = YY_START_STATE; s < a.states; ++s)
        for (int c = 1; c < YY_CLASSES && a.rules[s] != MARKER; ++c) {
            int b = 0;
            while (yy_char_class[b] != c)
                ++b;
            unsigned to = 0;
            for (int r = 0; r < YY_RULES; ++r)
                if (yy_rule_takes(r, b) && (a.rules[s] == START || (a.rules[s] >> r & 1 && yy_token_rules[r].kind == YY_RUN)))
                    to |= 1u << r;
            int t = YY_START_STATE;
            while (t < a.states && a.rules[t] != to)
                ++t;
            if (t == a.states && to != 0 && a.states < YY_MAX_STATES - 1)
                a.rules[a.states++] = to;
            a.next[s][c] = to == 0 ? -1 : t;  // the dead state: numbered below
        }
    a.dead = a.states++;
    for (int s = YY_START_STATE; s < a.states; ++s) {
        for (int c = 0; c < YY_CLASSES; ++c) {
            int& t = a.next[s][c];
            t = c == 0 ? (s == a.marker ? a.dead : a.marker) : s == a.marker || s == a.dead || t < 0 ? a.dead : t;
        }
        unsigned rules = a.rules[s] == START || s == a.dead ? 0 : a.rules[s];
        a.action[s] = s == a.marker ? YY_ACT_BUFFER_END : rules == 0 ? YY_ACT_NONE : std::countr_zero(rules) + 1;
    }
    return a;
}
inline constexpr YyAutomaton yy_automaton = yy_construct_automaton();
static_assert(yy_automaton.states < YY_MAX_STATES, "the token rules need more states than YY_MAX_STATES");
inline constexpr int YY_STATES = yy_automaton.states;
inline constexpr int YY_DEAD_STATE = yy_automaton.dead;

// ---------------------------------------------------------------------------------------------
// The comb: transition pairs (the target, and the state that owns the pair), and a base and a
// default per state; s's successor on class c is its own pair at base + c, else its default's.
// The dead state's pairs cover every class and is every other state's default, so a state keeps
// a pair only where it steps otherwise, and one with none takes the dead state's base,
// YY_STOP_BASE: entering it ends a match. Rows go at the first base where they fit. No state is
// a template (whose pairs a meta class would index): the construction makes none.

inline constexpr int YY_MAX_PAIRS = 256;
struct YyComb {
    std::int16_t action[YY_MAX_STATES], base[YY_MAX_STATES], fallback[YY_MAX_STATES];
    std::int16_t next[YY_MAX_PAIRS], check[YY_MAX_PAIRS];
};
constexpr YyComb yy_pack_automaton() {
    const YyAutomaton& a = yy_automaton;
    YyComb k{};
    for (std::int16_t& c : k.check)
        c = -1;
    for (int i = 0; i < a.states - 1; ++i) {
        int s = i == 0 ? a.dead : i;  // the dead state first; 0 is no state
        k.action[s] = static_cast<std::int16_t>(a.action[s]);
        k.fallback[s] = static_cast<std::int16_t>(s == a.dead ? 0 : a.dead);
        auto own = [&](int c) { return s == a.dead || a.next[s][c] != a.next[a.dead][c]; };
        bool any = false;
        for (int c = 0; c < YY_CLASSES; ++c)
            any = any || own(c);
        auto fits = [&](int b) {
            for (int c = 0; c < YY_CLASSES; ++c)
                if (own(c) && k.check[b + c] >= 0)
                    return false;
            return true;
        };
        int b = any ? 0 : k.base[a.dead];
        while (any && !fits(b))
            ++b;
        for (int c = 0; c < YY_CLASSES && any; ++c)
            if (own(c)) {
                k.next[b + c] = static_cast<std::int16_t>(a.next[s][c]);
                k.check[b + c] = static_cast<std::int16_t>(s);
            }
        k.base[s] = static_cast<std::int16_t>(b);
    }
    return k;
}
inline constexpr YyComb yy_comb = yy_pack_automaton();
inline constexpr int YY_STOP_BASE = yy_comb.base[YY_DEAD_STATE];

// The successor of state s on class c in comb k, for the rescan and the NUL step (the matching
// loop runs on the byte table below).
constexpr std::ptrdiff_t yy_next_in(const YyComb& k, std::ptrdiff_t s, std::ptrdiff_t c) {
    while (k.check[k.base[s] + c] != s)
        s = k.fallback[s];
    return k.next[k.base[s] + c];
}
constexpr std::ptrdiff_t yy_next_state(std::ptrdiff_t s, std::ptrdiff_t c) { return yy_next_in(yy_comb, s, c); }
constexpr bool yy_accepts(std::ptrdiff_t s) { return yy_comb.action[s] != YY_ACT_NONE; }
constexpr bool yy_stops(std::ptrdiff_t s) { return yy_comb.base[s] == YY_STOP_BASE; }
static_assert([] {
    for (int s = YY_START_STATE; s < YY_STATES; ++s)
        for (int c = 0; c < YY_CLASSES; ++c)
            if (yy_next_state(s, c) != yy_automaton.next[s][c] || yy_comb.base[s] + YY_CLASSES > YY_MAX_PAIRS)
                return false;
    return !yy_accepts(YY_START_STATE) && !yy_stops(YY_START_STATE) && !yy_accepts(YY_DEAD_STATE);
}(), "the comb holds the automaton");

// ---------------------------------------------------------------------------------------------
// The byte table, for the matching loop: one load per byte instead of a class lookup and a walk
// along the default chain. A match backs up at most one byte: a step that ends it in a state
// accepting nothing is taken only from a state that accepts, where the match then ends.
static_assert([] {
    for (int s = YY_START_STATE; s < YY_STATES; ++s)
        for (int c = 0; c < YY_CLASSES && !yy_stops(s); ++c)
            if (auto t = yy_next_state(s, c); yy_stops(t) && !yy_accepts(t) && !yy_accepts(s))
                return false;
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

constexpr YyEntry yy_row(std::ptrdiff_t s) { return s * YY_BYTES; }
constexpr bool yy_goes_on(YyEntry e) { return e >= 0; }
// The state a match ends in, plus YY_BACK_UP when that is one byte back.
constexpr std::ptrdiff_t yy_ending(YyEntry e) { return ~e; }
// The bytes a match gives back: 1 when it ends one byte back, else 0. An ending is never negative:
// divided as unsigned, the quotient is a shift for every compiler (clang made a signed division).
constexpr std::ptrdiff_t yy_bytes_back(YyEntry e) {
    return static_cast<std::ptrdiff_t>(static_cast<std::size_t>(~e) / YY_BACK_UP);
}
// The entry that ends a match in the accepting state t, where the scan is.
constexpr YyEntry yy_ends_in(std::ptrdiff_t t) { return ~t; }
// The entry of the step from s into t.
constexpr YyEntry yy_entry(std::ptrdiff_t s, std::ptrdiff_t t) {
    return !yy_stops(t) ? yy_row(t) : yy_accepts(t) ? yy_ends_in(t) : ~(s + YY_BACK_UP);
}

// What the matching loop reads, in one constant object (one base address): the entry of every
// state's step on every byte, a row of 256 per state (a state that ends a match on entering has a
// row that ends it in the dead state); by ending, the state's action and the named token it
// returns (0 for none); and by byte, the token of a match that ends on that one byte.
struct YyMatchTables {
    std::int16_t next[YY_STATES * YY_BYTES];  // yy_row(state) + byte
    std::int8_t action[2 * YY_BACK_UP];       // by ending
    std::uint16_t token[2 * YY_BACK_UP];
    std::uint16_t one_byte[YY_BYTES];         // by byte: the named token of a match that ends on it, or 0
};
constexpr YyMatchTables yy_derive_match_tables() {
    YyMatchTables t{};
    for (int s = YY_START_STATE; s < YY_STATES; ++s) {
        for (int b = 0; b < YY_BYTES; ++b)
            t.next[yy_row(s) + b] = static_cast<std::int16_t>(
                yy_stops(s) ? ~YY_DEAD_STATE : yy_entry(s, yy_next_state(s, yy_char_class[b])));
        int a = yy_automaton.action[s];
        int token = a >= 1 && a <= YY_RULES && yy_token_rules[a - 1].token >= EOL ? yy_token_rules[a - 1].token : 0;
        for (int ending : {s, s + YY_BACK_UP}) {
            t.action[ending] = static_cast<std::int8_t>(a);
            t.token[ending] = static_cast<std::uint16_t>(token);
        }
    }
    // A byte whose step from the start state ends the match: the token that match returns.
    for (int b = 0; b < YY_BYTES; ++b)
        if (YyEntry e = t.next[yy_row(YY_START_STATE) + b]; !yy_goes_on(e))
            t.one_byte[b] = t.token[yy_ending(e)];
    return t;
}
inline constexpr YyMatchTables yy_match = yy_derive_match_tables();
// (The matching loop tells the compiler so, and the parser's range test on the token folds away.)
static_assert(std::ranges::all_of(yy_match.token, [](int t) { return t == 0 || (t >= EOL && t < YY_TOKEN_LIMIT); }),
              "every ending returns a named token or none");
// A token of one byte is returned from yy_match.one_byte before any other test; none is a number,
// whose value only the other paths convert.
static_assert(std::ranges::none_of(yy_match.one_byte, [](int t) { return t == NUMBER; }), "no number ends on its first byte");

// ---------------------------------------------------------------------------------------------
// The digit run. Exactly the digits lead from the start state to YY_ONE_DIGIT, and from there or
// from YY_DIGITS to YY_DIGITS: so the digits after a first one may be taken several at once, and
// then the step on the byte after them from YY_DIGITS' row.

inline constexpr char YY_FIRST_DIGIT = '0';
inline constexpr char YY_LAST_DIGIT = '9';
inline constexpr int YY_ONE_DIGIT = static_cast<int>(yy_next_state(YY_START_STATE, yy_char_class[static_cast<unsigned char>(YY_FIRST_DIGIT)]));
inline constexpr int YY_DIGITS = static_cast<int>(yy_next_state(YY_ONE_DIGIT, yy_char_class[static_cast<unsigned char>(YY_FIRST_DIGIT)]));

constexpr bool yy_digits_lead(int s, int t) {
    for (int b = 0; b < YY_BYTES; ++b)
        if ((yy_match.next[yy_row(s) + b] == yy_row(t)) != (b >= YY_FIRST_DIGIT && b <= YY_LAST_DIGIT))
            return false;
    return true;
}
static_assert(yy_digits_lead(YY_START_STATE, YY_ONE_DIGIT) && yy_digits_lead(YY_ONE_DIGIT, YY_DIGITS) &&
              yy_digits_lead(YY_DIGITS, YY_DIGITS), "exactly the digits lead into and along the digit run");
// After a run, however long, the step on the byte that ends it may be taken from YY_DIGITS' row:
// on a byte other than a digit, the two digit states step alike (they accept the same number, so
// their endings one byte back mean the same).
static_assert([] {
    for (int b = 0; b < YY_BYTES; ++b) {
        YyEntry one = yy_match.next[yy_row(YY_ONE_DIGIT) + b], more = yy_match.next[yy_row(YY_DIGITS) + b];
        if ((b < YY_FIRST_DIGIT || b > YY_LAST_DIGIT) && one != more &&
            (yy_goes_on(one) || yy_goes_on(more) || yy_bytes_back(one) != yy_bytes_back(more) ||
             yy_match.action[yy_ending(one)] != yy_match.action[yy_ending(more)]))
            return false;
    }
    return yy_match.token[YY_ONE_DIGIT] == NUMBER && yy_match.token[YY_DIGITS] == NUMBER &&
           yy_match.action[YY_ONE_DIGIT] == yy_match.action[YY_DIGITS] && YY_FIRST_DIGIT > 0;
}(), "after a digit, the two digit states step alike on every other byte, and the marker ends a run");

// The entry of a digit run's step on a byte that ends it: one byte back, in YY_DIGITS, where the
// match is a number. Every byte but a digit and NUL ends a run so, and the scanner returns such a
// number at once, telling its end from the word it read after the first digit and from this
// entry, without taking that byte; every other step of the run goes on (on a digit, or on the
// marker into the cold path), so none backs up otherwise.
inline constexpr YyEntry YY_RUN_ENDS = ~(YY_DIGITS + YY_BACK_UP);
static_assert([] {
    for (int b = 0; b < YY_BYTES; ++b) {
        YyEntry e = yy_match.next[yy_row(YY_DIGITS) + b];
        bool digit_or_nul = b == 0 || (b >= YY_FIRST_DIGIT && b <= YY_LAST_DIGIT);
        if (e != YY_RUN_ENDS && (!digit_or_nul || !yy_goes_on(e)))
            return false;
    }
    return yy_match.token[yy_ending(YY_RUN_ENDS)] == NUMBER && yy_bytes_back(YY_RUN_ENDS) == 1;
}(), "every byte but a digit and NUL ends a digit run one byte back as a number; those go on");
// No step from the start state ends a match one byte back: every byte begins a token or is one.
// So a match that ends on its first step keeps its byte, whatever the entry.
static_assert([] {
    for (int b = 0; b < YY_BYTES; ++b)
        if (YyEntry e = yy_match.next[yy_row(YY_START_STATE) + b]; !yy_goes_on(e) && yy_bytes_back(e) != 0)
            return false;
    return true;
}(), "a match of one byte keeps it");

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
// The number of digits at the front of a word, from its yy_non_digit_lanes: the lanes below the
// lowest one marked, all eight when none is (tests/digit_lanes.cpp tries every byte value in
// every lane).
constexpr std::ptrdiff_t yy_digits_before(std::uint64_t stops) {
    return static_cast<unsigned>(std::countr_zero(stops)) / 8;
}
