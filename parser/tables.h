// Grammar tables: the calculator grammar's symbols and rules and its packed LALR(1) tables.
// Constant; the parse engine (parser/engine.cpp) interprets them.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>

// Symbols: 0 end of input, 1 error, 2 undefined token, 3..10 EOL NUMBER LPAREN RPAREN PLUS MINUS
// TIMES DIVIDE; 11 input, 12 lines, 13 expr.
inline constexpr int YYFIRST_NONTERMINAL = 11;
inline constexpr int YYSYMBOL_ERROR = 1;
inline constexpr int YYSYMBOL_EOL = 3;
inline constexpr int YYSYMBOL_BEYOND = 14;     // the symbol of token codes above YYMAX_TOKEN
inline constexpr int YYMAX_TOKEN = 265;
inline constexpr int YYFLAG = -32768;          // base of a row with no packed entries
inline constexpr int YYLAST = 20;              // last valid index of the packed tables
inline constexpr int YYFINAL = 18;             // an action into it accepts the input

// Token code -> symbol: 0 end of input; 1..255 and 257 the undefined token 2; 256 error;
// 258..265 EOL..DIVIDE, symbols 3..10 in order.
constexpr std::array<std::int8_t, YYMAX_TOKEN + 1> yy_make_token_symbols() {
    std::array<std::int8_t, YYMAX_TOKEN + 1> t{};
    t[0] = 0;
    for (std::size_t code = 1; code <= 255; ++code)
        t[code] = 2;
    t[256] = 1;
    t[257] = 2;
    for (std::size_t code = 258; code <= 265; ++code)
        t[code] = static_cast<std::int8_t>(code - 255);
    return t;
}
inline constexpr std::array<std::int8_t, YYMAX_TOKEN + 1> yytoken_symbol = yy_make_token_symbols();
static_assert(yytoken_symbol[1] == 2 && yytoken_symbol[255] == 2 && yytoken_symbol[256] == 1 &&
              yytoken_symbol[257] == 2 && yytoken_symbol[258] == 3 && yytoken_symbol[265] == 10);

// Rules: 1 input: lines   2 lines: (empty)   3 lines: lines expr EOL   4 expr: expr PLUS expr
// 5 expr: expr MINUS expr   6 expr: expr TIMES expr   7 expr: expr DIVIDE expr
// 8 expr: LPAREN expr RPAREN   9 expr: NUMBER.   Rule 0 does not exist.
// rule:                                       0   1   2   3   4   5   6   7   8   9
inline constexpr std::int16_t yyrule_lhs[]    = { 0, 11, 12, 12, 13, 13, 13, 13, 13, 13 };
inline constexpr std::int16_t yyrule_length[] = { 0,  1,  0,  3,  3,  3,  3,  3,  3,  1 };
static_assert(std::size(yyrule_lhs) == 10 && std::size(yyrule_length) == 10);

// Per-state tables: where the state's actions start in the packed tables (YYFLAG: it has none and
// reduces without reading a token), and the rule it reduces by otherwise (0: syntax error).
// state:                                           0      1      2   3   4   5      6   7   8   9  10     11  12  13     14     15  16  17     18
inline constexpr std::int16_t yyaction_base[]  = { YYFLAG, -2, YYFLAG, -2, -3, 10, YYFLAG, -2, -2, -2, -2, YYFLAG, 0,  0, YYFLAG, YYFLAG, 1, 11, YYFLAG };
inline constexpr std::int16_t yydefault_rule[] = {      2,  1,      9,  0,  0,  0,      3,  0,  0,  0,  0,      8, 4,  5,      6,      7, 0,  0,      0 };
static_assert(std::size(yyaction_base) == 19 && std::size(yydefault_rule) == 19);

// Per-nonterminal tables, index = symbol - 11.
// nonterminal:                                 input   lines   expr
inline constexpr std::int16_t yygoto_base[]    = { YYFLAG, YYFLAG, 5 };
inline constexpr std::int16_t yydefault_goto[] = {     16,      1, 4 };
static_assert(std::size(yygoto_base) == 3 && std::size(yydefault_goto) == 3);

// Packed actions and gotos; an entry applies only where yypacked_check holds the symbol (for an
// action) or the exposed state (for a goto). Positive action entries shift; YYFINAL accepts.
//  0  state 4 on EOL: shift to 6                 11  state 17 on end of input: accept
//  1  state 16 on end of input: shift to 17      12  expr from state 7: go to 12
//  2  states 1 3 7 8 9 10 on NUMBER: shift to 2  13  expr from state 8: go to 13
//  3  states 1 3 7 8 9 10 on LPAREN: shift to 3  14  expr from state 9: go to 14
//  4  state 4 on PLUS: shift to 7                15  expr from state 10: go to 15
//  5  state 4 on MINUS: shift to 8               16  state 5 on RPAREN: shift to 11
//  6  state 4 on TIMES: shift to 9               17  state 5 on PLUS: shift to 7
//  7  state 4 on DIVIDE: shift to 10             18  state 5 on MINUS: shift to 8
//  8  expr from state 3: go to 5                 19  state 5 on TIMES: shift to 9
//  9  states 12 13 on TIMES: shift to 9          20  state 5 on DIVIDE: shift to 10
// 10  states 12 13 on DIVIDE: shift to 10
// index:                                         0  1  2  3  4  5  6   7  8  9  10  11  12  13  14  15  16  17  18  19  20
inline constexpr std::int16_t yypacked[]       = { 6, 17, 2, 3, 7, 8, 9, 10, 5, 9, 10, 18, 12, 13, 14, 15, 11,  7,  8,  9, 10 };
inline constexpr std::int16_t yypacked_check[] = { 3,  0, 4, 5, 7, 8, 9, 10, 3, 9, 10,  0,  7,  8,  9, 10,  6,  7,  8,  9, 10 };
static_assert(std::size(yypacked) == YYLAST + 1 && std::size(yypacked_check) == YYLAST + 1);

// ---------------------------------------------------------------------------------------------
// The tables as the engine runs them, derived from the ones above when the program is compiled:
// every decision the packed tables encode, unpacked into dense tables, with the reductions that
// need no lookahead folded into the step that leads to them.

inline constexpr int YYSTATES = static_cast<int>(std::size(yyaction_base));
inline constexpr int YYSYMBOLS = YYSYMBOL_BEYOND + 1;  // every symbol a token code can have
inline constexpr int YYCOLUMNS = 16;                   // a row of the dense action table, padded
static_assert(YYSYMBOLS <= YYCOLUMNS);
inline constexpr int YYNONTERMINALS = static_cast<int>(std::size(yygoto_base));

// The action of `state` on terminal `symbol`, read from the packed tables: a positive entry
// shifts into that state (YYFINAL accepts), a negative one reduces by the rule it negates, 0 is a
// syntax error. A state whose base is YYFLAG takes its default without looking at the symbol.
constexpr int yy_packed_action(int state, int symbol) {
    int base = yyaction_base[state];
    int i = base + symbol;
    if (base != YYFLAG && i >= 0 && i <= YYLAST && yypacked_check[i] == symbol)
        return yypacked[i] == YYFLAG ? 0 : yypacked[i];
    return -yydefault_rule[state];
}

// The state the goto on nonterminal index `nt` (symbol - YYFIRST_NONTERMINAL) leads to from `state`.
constexpr int yy_packed_goto(int nt, int state) {
    int base = yygoto_base[nt];
    int i = base + state;
    if (base != YYFLAG && i >= 0 && i <= YYLAST && yypacked_check[i] == state)
        return yypacked[i];
    return yydefault_goto[nt];
}

// Whether `state` reduces by its default rule without reading a token.
constexpr bool yy_reduces_at_once(int state) {
    return yyaction_base[state] == YYFLAG;
}

// Rules whose value is the value of their one right-hand symbol (the result as preset, left as
// it is by the rule's action). Shifting into a state that reduces by one at once is the same as
// shifting the symbol's value straight into the state the goto leads to.
constexpr bool yy_passes_value(int rule) {
    return rule == 1 || rule == 9;  // input: lines, expr: NUMBER
}

// One step of the engine: push `shift` (0: none) with the lookahead's value, consuming the
// lookahead; then reduce by `rule` (0: none). {0, 0} is a syntax error; a shift into YYFINAL
// accepts. A negative `shift` is the shift of the lookahead into state -shift, which reduces by
// `rule` at once, taken with that reduction as one step: the state is never pushed, and the
// reduction takes the lookahead's value as its last right-hand value.
struct YyStep {
    std::int8_t shift;
    std::int8_t rule;
};

// What follows entering `state`: its rule if it reduces at once, otherwise nothing until a
// lookahead decides.
constexpr YyStep yy_entering(int state) {
    return {static_cast<std::int8_t>(state), static_cast<std::int8_t>(yy_reduces_at_once(state) ? yydefault_rule[state] : 0)};
}

// The step for `state` on terminal `symbol`, with the reductions that need no lookahead folded in.
constexpr YyStep yy_derive_action(int state, int symbol) {
    int a = yy_packed_action(state, symbol);
    if (a == YYFINAL || a == 0)
        return {static_cast<std::int8_t>(a), 0};
    if (a < 0)
        return {0, static_cast<std::int8_t>(-a)};
    // A shift into a state that passes the shifted value on at once goes straight to where the
    // goto leads: the stack then holds what the shift and the reduction would have left.
    int target = a;
    while (yy_reduces_at_once(target) && yy_passes_value(yydefault_rule[target]) &&
           yyrule_length[yydefault_rule[target]] == 1)
        target = yy_packed_goto(yyrule_lhs[yydefault_rule[target]] - YYFIRST_NONTERMINAL, state);
    // A shift into a state that reduces at once by a rule that does more than pass the value on
    // is taken with that reduction as one step.
    YyStep step = yy_entering(target);
    if (step.rule != 0)
        step.shift = static_cast<std::int8_t>(-step.shift);
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
    for (int s = 0; s < YYSTATES; ++s)
        for (int sym = 0; sym < YYSYMBOLS; ++sym)
            t.action[s][sym] = yy_derive_action(s, sym);
    for (int nt = 0; nt < YYNONTERMINALS; ++nt)
        for (int s = 0; s < YYSTATES; ++s)
            t.go[nt][s] = yy_entering(yy_packed_goto(nt, s));
    std::ranges::copy(yytoken_symbol, t.token_symbol);
    return t;
}
inline constexpr YyDenseTables yy_dense = yy_derive_dense_tables();

// The engine decides by lookahead only in states that do not reduce at once (every shift into or
// goto to one of those carries its rule), and the steps reach the same states as the packed
// tables, step for step, once the folded reductions are taken.
constexpr bool yy_dense_tables_agree() {
    for (int s = 0; s < YYSTATES; ++s) {
        if (yy_reduces_at_once(s) && s != YYFINAL && yydefault_rule[s] == 0)
            return false;  // a state that would report an error without reading: not handled
        for (int sym = 0; sym < YYSYMBOLS; ++sym) {
            int a = yy_packed_action(s, sym);
            YyStep d = yy_dense.action[s][sym];
            if (yy_reduces_at_once(s) && (d.shift != 0 || d.rule != yydefault_rule[s]))
                return false;
            if (a <= 0 && (d.shift != 0 || d.rule != -a))
                return false;
            if (a == YYFINAL && (d.shift != YYFINAL || d.rule != 0))
                return false;
            if (a > 0 && a != YYFINAL) {
                // A plain shift into a state that waits for a lookahead, or one that reduces at
                // once taken with its reduction (never on the end of input, which is not
                // consumed), by a rule that does more than pass a value on.
                int to = d.shift > 0 ? d.shift : -d.shift;
                if (d.shift > 0 ? d.rule != 0 || yy_reduces_at_once(to)
                                : d.shift == 0 || sym == 0 || !yy_reduces_at_once(to) ||
                                  d.rule != yydefault_rule[to] || yy_passes_value(d.rule))
                    return false;
                // Unfolded, or folded through a value-passing reduction that leads from s to `to`.
                int r = yydefault_rule[a];
                bool folded = yy_reduces_at_once(a) && yy_passes_value(r) &&
                              yy_packed_goto(yyrule_lhs[r] - YYFIRST_NONTERMINAL, s) == to;
                if (to != a && !folded)
                    return false;
            }
        }
        for (int nt = 0; nt < YYNONTERMINALS; ++nt)
            if (yy_dense.go[nt][s].shift != yy_packed_goto(nt, s))
                return false;
    }
    return true;
}
static_assert(yy_dense_tables_agree());

// The rules that the engine reduces by in a step of each kind, as sets of rule numbers (bit r
// for rule r): after a shift, as one compound step; otherwise (at the start, on a lookahead, or
// after a goto into a state that reduces at once). The action rows of states that reduce at once
// are never read.
constexpr unsigned yy_rules_reduced(bool after_shift) {
    unsigned rules = 0;
    auto note = [&](YyStep step, bool compound) {
        if (step.rule != 0 && (step.shift < 0) == compound)
            rules |= 1u << step.rule;
    };
    note(yy_entering(0), after_shift);
    for (int s = 0; s < YYSTATES; ++s) {
        for (int sym = 0; sym < YYSYMBOLS && !yy_reduces_at_once(s); ++sym)
            note(yy_dense.action[s][sym], after_shift);
        for (int nt = 0; nt < YYNONTERMINALS; ++nt)
            note(yy_dense.go[nt][s], after_shift);
    }
    return rules;
}
inline constexpr unsigned YY_RULES_AFTER_SHIFT = yy_rules_reduced(true);
inline constexpr unsigned YY_RULES_ON_THEIR_OWN = yy_rules_reduced(false);
