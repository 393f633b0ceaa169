// The parse tables as the engine runs them, derived when the program is compiled from the packed
// tables that parser/lalr.h computes from the grammar: every decision unpacked into dense tables,
// with the reductions that need no lookahead folded into the step that leads to them.
// Constant; the parse engine (parser/engine.cpp) interprets them.
#pragma once

#include <bit>
#include <cstdint>

#include "parser/lalr.h"
#include "parser/printed.h"

inline constexpr int YYSTATES = yy_packed.states;
inline constexpr int YYFINAL = yy_packed.final;  // a shift into it accepts the input

// Token code -> symbol: 0 the end of input; 1..255 and 257 the undefined token; 256 the error
// symbol; the named tokens their own symbols.
constexpr int yy_token_symbol_entry(int code) {
    return code == 0 ? YYSYMBOL_END : code == 256 ? YYSYMBOL_ERROR : code >= EOL ? yy_token_symbol(code) : YYSYMBOL_UNDEFINED;
}

// The engine has no error recovery (the first syntax error ends the parse), so no rule may name
// the error symbol; and no state may report an error without reading a lookahead.
static_assert([] {
    for (const YyGrammarRule& g : yy_grammar)
        for (int k = 0; k < g.length; ++k)
            if (g.rhs[k] == YYSYMBOL_ERROR)
                return false;
    for (int s = 0; s < YYSTATES; ++s)
        if (yy_packed.action_base[s] == YYFLAG && yy_packed.default_rule[s] == YYRULE_NONE)
            return false;
    return true;
}(), "no rule names the error symbol, and every state that reduces at once has a rule to reduce by");

// Whether `state` reduces by its default rule without reading a token.
constexpr bool yy_reduces_at_once(int state) { return yy_packed.action_base[state] == YYFLAG; }
// Rules whose value is the value of their one right-hand symbol.
constexpr bool yy_passes_value(int rule) { return yy_length_of(rule) == 1 && yy_grammar[rule].action == yy_first_value; }

// A row of the dense action table: a column for every symbol and one more, with no symbol's
// steps (the engine's stand-in for full stacks), padded to a power of two.
inline constexpr int YYCOLUMNS = static_cast<int>(std::bit_ceil(static_cast<unsigned>(YYSYMBOLS + 1)));

// One step of the engine, by the sign of `state`:
//   state > 0           a shift: push the state with the lookahead's value, consuming the
//                       lookahead (a shift into YYFINAL accepts instead); rule is 0
//   state == 0          a reduction by `rule`, or a syntax error where rule is YYRULE_NONE
//   state < 0           a shift into the state -state, which reduces by `rule` at once, taken as
//                       one step: the state is never pushed, and the reduction takes the
//                       lookahead's value as its last right-hand value
// The step of a goto is the state it leads to, and the rule that state reduces by at once (0: it
// waits for a lookahead).
struct YyStep { std::int8_t state, rule; };
static_assert(YYFINAL <= INT8_MAX && YYRULES <= INT8_MAX, "a step's state and rule fit 8 bits");
constexpr bool yy_is_shift(YyStep step) { return step.state > 0; }
constexpr bool yy_is_shift_and_reduce(YyStep step) { return step.state < 0; }
constexpr int yy_state_shifted(YyStep step) { return step.state < 0 ? -step.state : step.state; }

// What follows entering `state`: its rule if it reduces at once, otherwise nothing until a
// lookahead decides.
constexpr YyStep yy_entering(int state) {
    return {static_cast<std::int8_t>(state),
            static_cast<std::int8_t>(yy_reduces_at_once(state) ? yy_packed.default_rule[state] : 0)};
}

// The step for `state` on terminal `symbol`, with the reductions that need no lookahead folded in.
constexpr YyStep yy_derive_action(int state, int symbol) {
    int a = yy_packed_action(yy_packed, state, symbol);
    if (a == YYFINAL || a <= 0)
        return {static_cast<std::int8_t>(a > 0 ? a : 0), static_cast<std::int8_t>(a > 0 ? 0 : -a)};
    // A shift into a state that passes the shifted value on at once goes straight to where the
    // goto leads: the stack then holds what the shift and the reduction would have left.
    int target = a;
    while (yy_reduces_at_once(target) && yy_passes_value(yy_packed.default_rule[target]))
        target = yy_packed_goto(yy_packed, yy_lhs_of(yy_packed.default_rule[target]), state);
    // A shift into a state that reduces at once by a rule that does more than pass the value on
    // is taken with that reduction as one step.
    YyStep step = yy_entering(target);
    step.state = static_cast<std::int8_t>(step.rule != YYRULE_NONE ? -step.state : step.state);
    return step;
}

// The dense tables: the step of every state on every terminal, and the goto of every
// nonterminal from every state (with the reduction of a target that reduces at once), in one
// constant object so that both are reached from a single base address.
struct YyDenseTables {
    YyStep action[YYSTATES][YYCOLUMNS];
    YyStep go[YYNONTERMINALS][YYSTATES];
    std::int8_t token_symbol[YYMAX_TOKEN + 1];
};
constexpr YyDenseTables yy_derive_dense_tables() {
    YyDenseTables t{};
    for (int s = 0; s < YYSTATES; ++s) {
        for (int sym = 0; sym < YYSYMBOLS; ++sym)
            t.action[s][sym] = yy_derive_action(s, sym);
        for (int nt = 0; nt < YYNONTERMINALS; ++nt)
            t.go[nt][s] = yy_entering(yy_packed_goto(yy_packed, YYFIRST_NONTERMINAL + nt, s));
    }
    for (int code = 0; code <= YYMAX_TOKEN; ++code)
        t.token_symbol[code] = static_cast<std::int8_t>(yy_token_symbol_entry(code));
    return t;
}
inline constexpr YyDenseTables yy_dense = yy_derive_dense_tables();

// The rules that the engine reduces by in a step of each kind, as sets of rule numbers (bit r
// for rule r): after a shift, as one compound step; otherwise (at the start, on a lookahead, or
// after a goto into a state that reduces at once). The action rows of states that reduce at once
// are never read.
constexpr unsigned yy_rules_reduced(bool after_shift) {
    unsigned rules = 0;
    auto note = [&](YyStep step) {
        if (step.rule != YYRULE_NONE && yy_is_shift_and_reduce(step) == after_shift)
            rules |= 1u << step.rule;
    };
    note(yy_entering(0));
    for (int s = 0; s < YYSTATES; ++s) {
        for (int sym = 0; sym < YYSYMBOLS && !yy_reduces_at_once(s); ++sym)
            note(yy_dense.action[s][sym]);
        for (int nt = 0; nt < YYNONTERMINALS; ++nt)
            note(yy_dense.go[nt][s]);
    }
    return rules;
}
inline constexpr unsigned YY_RULES_AFTER_SHIFT = yy_rules_reduced(true);
inline constexpr unsigned YY_RULES_ON_THEIR_OWN = yy_rules_reduced(false);
static_assert(YYRULES <= 32, "rule sets are held as bit masks of 32 bits");

// Of a set of rules, the largest group that share their left side and length and whose actions
// only compute (YY_ONLY_COMPUTES); none if fewer than two do. The engine reduces by any rule of the
// group with one piece of code: every action of the group computes its value, and the rule picks
// the one kept, so that which of them it is decides no branch (an operator after the number of a
// random line is each of + - * alike, and a branch on it missed about every other time).
constexpr unsigned yy_value_group(unsigned rules) {
    auto alike = [&](int r, int q) {
        return (rules >> r & rules >> q & 1) != 0 && yy_grammar[r].effect == YY_ONLY_COMPUTES &&
               yy_grammar[q].effect == YY_ONLY_COMPUTES && yy_lhs_of(q) == yy_lhs_of(r) && yy_length_of(q) == yy_length_of(r);
    };
    unsigned best = 0;
    for (int r = 0; r < YYRULES; ++r) {
        unsigned group = 0;
        for (int q = 0; q < YYRULES; ++q)
            group |= alike(r, q) ? 1u << q : 0;
        best = std::popcount(group) > std::popcount(best) ? group : best;
    }
    return std::popcount(best) >= 2 ? best : 0;
}
