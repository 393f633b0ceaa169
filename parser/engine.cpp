// Parse engine: a table-driven LALR(1) loop over the tokens of yylex that evaluates as it reduces.
// State: yychar, yylval and yynerrs; the stacks belong to the one call of yyparse.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <type_traits>
#include <utility>

#include "app/diagnostics.h"
#include "parser/parser.h"
#include "parser/tables.h"
#include "scanner/scanner.h"

int yychar = -2;
std::int32_t yylval = 0;
int yynerrs = 0;

namespace {

constexpr int YYEMPTY = -2;            // yychar when no lookahead is held
constexpr int YYSYMBOL_NONE = -1;     // the symbol while no lookahead is held
// The symbol after a reduction that pops nothing has filled the stacks: no symbol's, its every
// step a syntax error's, so that the parse ends without reading a token.
constexpr int YYSYMBOL_FULL = YYCOLUMNS - 1;
static_assert(YYSYMBOL_FULL >= YYSYMBOLS, "YYCOLUMNS leaves a column for full stacks");
constexpr int YYINITDEPTH = 200;       // stack entries held in the call's own storage
constexpr int YYMAXDEPTH = 10000;      // the stacks never grow beyond this
static_assert(YYINITDEPTH == 200 && YYMAXDEPTH == 10000,
              "the stack sizes are also the boundaries of tests/cases/stack_limit.cases and resource_faults.cases, of "
              "tests/differential.py's nesting, of fuzz/corpus/deep_nesting and stack_overflow, and of the limits in "
              "README.md and docs/intcalc.1: change them there too");

// How often the stacks can grow: 200 -> 400 -> ... -> 6400 -> 10000.
constexpr int max_growths() {
    int n = 0;
    for (int c = YYINITDEPTH; c < YYMAXDEPTH; c = c * 2 < YYMAXDEPTH ? c * 2 : YYMAXDEPTH)
        ++n;
    return n;
}

// Copies count bytes from `from` to `to`, one at a time, lowest address first.
void yystack_copy(const void* from, void* to, long count) {
    const auto* src = static_cast<const unsigned char*>(from);
    auto* dst = static_cast<unsigned char*>(to);
    for (long i = 0; i < count; ++i)
        dst[i] = src[i];
}

// The grammar symbol of a token code. (The scanner returns no code below 0 or above
// YYMAX_TOKEN; any code still has a symbol.)
std::ptrdiff_t symbol_of(int token) {
    // The named tokens, nearly every token, have consecutive symbols.
    if (static_cast<unsigned>(token - EOL) <= YYMAX_TOKEN - EOL) [[likely]]
        return yy_token_symbol(token);
    if (token <= 0)
        return YYSYMBOL_END;
    return token <= YYMAX_TOKEN ? yy_dense.token_symbol[token] : YYSYMBOL_BEYOND;
}

// Storage of the two stacks and the number of entries each can hold.
struct Stacks {
    std::int16_t* states;
    std::int32_t* values;  // values[i] belongs to states[i]; values[0] holds none
    int capacity;
};

// Grows both stacks to twice their capacity, at most YYMAXDEPTH, copying the `depth` entries in
// use; the new storage is recorded in `grown` and the earlier storage stays until yyparse
// returns. A capacity of 0 in the result means the limit is reached or no storage could be had.
[[gnu::noinline]] Stacks grow_stacks(Stacks old, int depth, void** grown) {
    if (old.capacity >= YYMAXDEPTH)
        return {nullptr, nullptr, 0};
    int wanted = old.capacity * 2 < YYMAXDEPTH ? old.capacity * 2 : YYMAXDEPTH;
    void* more_states = grown[0] = std::malloc(sizeof(std::int16_t) * static_cast<size_t>(wanted));
    void* more_values = grown[1] = std::malloc(sizeof(std::int32_t) * static_cast<size_t>(wanted));
    if (more_states == nullptr || more_values == nullptr)
        return {nullptr, nullptr, 0};
    yystack_copy(old.states, more_states, depth * static_cast<long>(sizeof(std::int16_t)));
    yystack_copy(old.values, more_values, depth * static_cast<long>(sizeof(std::int32_t)));
    return {static_cast<std::int16_t*>(more_states), static_cast<std::int32_t*>(more_values), wanted};
}

// What a push needs besides the stack tops (which the parse keeps in variables of their own, one
// past the top entry): `limit`, where the state stack is full, and the storage of the stacks.
// After every push at least one slot is free above each top.
struct Parse {
    const std::int16_t* limit;
    Stacks stacks;
    void** grown;  // storage of grown stacks, released only when the parse ends
    int generations;
    std::ptrdiff_t held;  // the lookahead's symbol when the stacks filled
};

// After the push that filled the stacks, they grow; false at the limit.
bool grow(Parse& parse, std::int16_t*& next, std::int32_t*& vnext) {
    int depth = static_cast<int>(next - parse.stacks.states);
    Stacks more = grow_stacks(parse.stacks, depth, parse.grown + parse.generations);
    if (more.capacity == 0)
        return false;
    parse.generations += 2;
    parse.stacks = more;
    next = more.states + depth;
    vnext = more.values + depth;
    parse.limit = more.states + more.capacity;
    return true;
}

// Pushes a state with its value; false when the stacks have reached their limit.
[[gnu::always_inline]] inline bool push(Parse& parse, std::int16_t*& next, std::int32_t*& vnext, std::ptrdiff_t state,
                                        std::int32_t value) {
    *next++ = static_cast<std::int16_t>(state);
    *vnext++ = value;
    return next != parse.limit || grow(parse, next, vnext);
}

// The value of `rule`, one of GROUP (a yy_value_group, its rules numbered in a run), from the
// right-hand values v: every action of the group computed, and the rule's kept by its place.
template <unsigned GROUP>
[[gnu::always_inline]] inline std::int32_t group_value(int rule, const std::int32_t* v) {
    constexpr int first = std::countr_zero(GROUP), count = std::popcount(GROUP);
    static_assert(GROUP >> first == (1u << count) - 1, "the rules of a value group are numbered in a run");
    std::int32_t values[static_cast<unsigned>(count)];
    [&]<int... K>(std::integer_sequence<int, K...>) {
        ((values[K] = yy_grammar[first + K].action(v)), ...);
    }(std::make_integer_sequence<int, count>{});
    return values[rule - first];
}

// Reduces by rule R (with GROUP, by `rule`, any rule of that group, whose first rule R is): its
// action computes the result from its right-hand values, its right side is popped and the goto's
// state pushed with the result; returns the rule that state reduces by at once (YYRULE_NONE: it
// waits for a lookahead). With SHIFTED, the last right-hand symbol is the lookahead, shifted into
// the state that reduces by R without that state being pushed: its value is in the slot its push
// would have filled, and one entry less is popped. Only a reduction that pops nothing can fill the
// stacks (the lookahead then becomes YYSYMBOL_FULL); the others leave them no deeper than they were.
template <int R, bool SHIFTED, unsigned GROUP = 0>
[[gnu::always_inline]] inline int reduce(int rule, Parse& parse, std::int16_t*& next, std::int32_t*& vnext,
                                        std::ptrdiff_t& symbol, std::ptrdiff_t& top) {
    constexpr int n = yy_length_of(R);
    constexpr int popped = SHIFTED ? n - 1 : n;
    std::int32_t value;
    if constexpr (GROUP != 0)
        value = group_value<GROUP>(rule, vnext - popped);
    else
        value = yy_grammar[R].action(vnext - popped);
    next -= popped;
    vnext -= popped;
    YyStep go = yy_dense.go[yy_lhs_of(R) - YYFIRST_NONTERMINAL][next[-1]];
    top = go.state;
    if constexpr (popped == 0) {
        if (!push(parse, next, vnext, go.state, value)) {
            parse.held = symbol;
            symbol = YYSYMBOL_FULL;
            return YYRULE_NONE;
        }
    } else {
        *next++ = go.state;
        *vnext++ = value;
    }
    return go.rule;
}

// Calls reduce<R, SHIFTED> for the rule in `rule`: a search, split between the middle two rules,
// over RULES, the rules the tables reduce by in that kind of step, written out by the compiler, so
// that every rule of the set has its case. Any other value ends the run; the tables hold none.
template <bool SHIFTED, unsigned RULES, int FIRST = 0, int LAST = 32>
[[gnu::always_inline]] inline int reduce_by(int rule, Parse& parse, std::int16_t*& next, std::int32_t*& vnext,
                                           std::ptrdiff_t& symbol, std::ptrdiff_t& top) {
    constexpr unsigned in_range = RULES >> FIRST & (LAST - FIRST == 32 ? ~0u : (1u << (LAST - FIRST)) - 1);
    if constexpr (std::popcount(in_range) == 1) {
        constexpr int R = FIRST + std::countr_zero(in_range);
        if (rule == R) [[likely]]
            return reduce<R, SHIFTED>(rule, parse, next, vnext, symbol, top);
        yy_fatal(YY_MSG_NO_RULE);
    } else {
        static_assert(in_range != 0, "a search range holds a rule of the set");
        constexpr int half = std::popcount(in_range) / 2;
        constexpr int MID = [] {
            unsigned rest = in_range;
            for (int k = 0; k < half; ++k)
                rest &= rest - 1;
            return FIRST + std::countr_zero(rest);
        }();
        if (rule < MID)
            return reduce_by<SHIFTED, RULES, FIRST, MID>(rule, parse, next, vnext, symbol, top);
        return reduce_by<SHIFTED, RULES, MID, LAST>(rule, parse, next, vnext, symbol, top);
    }
}

// Calls reduce for the rule in `rule`, one of RULES: the rules of its value group, if it has one,
// by the group's code, the others by reduce_by's search.
template <bool SHIFTED, unsigned RULES>
[[gnu::always_inline]] inline int reduce_rule(int rule, Parse& parse, std::int16_t*& next, std::int32_t*& vnext,
                                             std::ptrdiff_t& symbol, std::ptrdiff_t& top) {
    constexpr unsigned GROUP = yy_value_group(RULES);
    if constexpr (GROUP != 0) {
        constexpr int first = std::countr_zero(GROUP);
        if (static_cast<unsigned>(rule - first) < static_cast<unsigned>(std::popcount(GROUP)))
            return reduce<first, SHIFTED, GROUP>(rule, parse, next, vnext, symbol, top);
    }
    if constexpr ((RULES & ~GROUP) == 0)
        yy_fatal(YY_MSG_NO_RULE);
    else
        return reduce_by<SHIFTED, RULES & ~GROUP>(rule, parse, next, vnext, symbol, top);
}

}  // namespace

int yyparse() {
    std::int16_t state_store[YYINITDEPTH];
    std::int32_t value_store[YYINITDEPTH];
    void* grown[2 * max_growths()] = {};
    Parse parse{state_store + YYINITDEPTH, {state_store, value_store, YYINITDEPTH}, grown, 0, YYSYMBOL_NONE};
    std::int16_t* next = state_store;  // the stack tops
    std::int32_t* vnext = value_store;

    // The lookahead's symbol lives in a local while the parse runs, translated once per token;
    // YYSYMBOL_NONE while no lookahead is held. Its code is kept for yychar, brought up to date on
    // return. Symbols and states are held pointer-wide, so that they index the tables without
    // being widened first.
    int lookahead = YYEMPTY;
    std::ptrdiff_t symbol = YYSYMBOL_NONE;
    int result = 0;
    yynerrs = 0;
    YyScanPosition scan = yy_scan_position();  // the scanner's, kept here while the parse runs

    // The bottom entry, the start state, whose value slot holds no value.
    push(parse, next, vnext, 0, 0);
    static_assert(YYINITDEPTH > 1, "the bottom entry leaves room");
    // Each pass makes one step. Invariant: the state on top of the stack reduces at once by
    // `rule`, or, with no rule (YYRULE_NONE), waits for the lookahead to decide.
    int rule = yy_entering(0).rule;
    std::ptrdiff_t top = 0;  // the state on top of the stack, kept here rather than read back from it
    for (;;) {
        if (rule == YYRULE_NONE) {
            if (symbol == YYSYMBOL_NONE) {
                lookahead = yy_scan(scan);
                if (lookahead < 0)
                    lookahead = 0;  // any code below 0 (the scanner returns none) ends the input too
                symbol = symbol_of(lookahead);
            }
            YyStep step = yy_dense.action[top][symbol];
            if (yy_is_shift(step)) {
                // Its state waits for the next lookahead.
                if (symbol != YYSYMBOL_END) [[likely]] {
                    symbol = YYSYMBOL_NONE;
                } else if (step.state == YYFINAL) {  // the end of input is never consumed
                    break;
                }
                top = step.state;
                if (!push(parse, next, vnext, step.state, yylval)) [[unlikely]] {
                    result = 2;
                    break;
                }
                continue;
            }
            if (yy_is_shift_and_reduce(step)) {
                // If the push of the state between the shift and the reduction would fill the
                // stacks, it is made, and the stacks grow (or reach their limit) as they would
                // step by step; the reduction pops it.
                symbol = YYSYMBOL_NONE;
                if (next + 1 == parse.limit) [[unlikely]] {
                    if (!push(parse, next, vnext, yy_state_shifted(step), yylval)) {
                        result = 2;
                        break;
                    }
                    --next;
                    --vnext;
                }
                *vnext = yylval;
                rule = reduce_rule<true, YY_RULES_AFTER_SHIFT>(step.rule, parse, next, vnext, symbol, top);
                continue;
            }
            rule = step.rule;
            if (rule == YYRULE_NONE && symbol == YYSYMBOL_FULL) {  // the stacks filled by the empty rule's push
                symbol = parse.held;
                result = 2;
                break;
            }
            if (rule == YYRULE_NONE) {  // a syntax error: reported once, it ends the parse
                ++yynerrs;
                yyerror(YY_MSG_PARSE_ERROR);
                result = 1;
                break;
            }
        }
        rule = reduce_rule<false, YY_RULES_ON_THEIR_OWN>(rule, parse, next, vnext, symbol, top);
    }
    if (result == 2)
        yyerror(YY_MSG_STACK_OVERFLOW);
    yy_scan_give_back(scan);
    yychar = symbol == YYSYMBOL_NONE ? YYEMPTY : lookahead;
    for (void* storage : grown)
        std::free(storage);
    return result;
}
