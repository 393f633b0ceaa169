// Grammar tables: the calculator grammar's symbols and rules and its packed LALR(1) tables.
// Constant; the parse engine (parser/engine.cpp) interprets them.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>

#include "scanner/scanner.h"

// ---------------------------------------------------------------------------------------------
// Symbols. The terminals are the end of input, the error symbol, the undefined token (the symbol
// of every code that no rule expects), then one for each named token, in the order of the
// tokens' codes. The nonterminals follow them.

inline constexpr int YYSYMBOL_END = 0;
inline constexpr int YYSYMBOL_ERROR = 1;
inline constexpr int YYSYMBOL_UNDEFINED = 2;
inline constexpr int YYMAX_TOKEN = YY_TOKEN_LIMIT - 1;  // the last named token's code

// The symbol of a named token, EOL to YYMAX_TOKEN.
constexpr int yy_token_symbol(int token) {
    return token - EOL + YYSYMBOL_UNDEFINED + 1;
}
inline constexpr int YYFIRST_NONTERMINAL = yy_token_symbol(YYMAX_TOKEN) + 1;

enum YyNonterminal : int {
    YYNT_INPUT = YYFIRST_NONTERMINAL,  // the start symbol
    YYNT_LINES,
    YYNT_EXPR,
    YYNT_LIMIT,  // one past the last nonterminal
};
inline constexpr int YYNONTERMINALS = YYNT_LIMIT - YYFIRST_NONTERMINAL;
inline constexpr int YYSYMBOL_BEYOND = YYNT_LIMIT;  // of every token code above YYMAX_TOKEN: in no rule

// Token code -> symbol: 0 the end of input; 1..255 and 257 the undefined token; 256 the error
// symbol; the named tokens their own symbols.
constexpr int yy_token_symbol_entry(int code) {
    if (code == 0)
        return YYSYMBOL_END;
    if (code == 256)
        return YYSYMBOL_ERROR;
    return code >= EOL ? yy_token_symbol(code) : YYSYMBOL_UNDEFINED;
}
struct YyTokenSymbols {
    std::int8_t of[YYMAX_TOKEN + 1];
};
constexpr YyTokenSymbols yy_make_token_symbols() {
    YyTokenSymbols t{};
    for (int code = 0; code <= YYMAX_TOKEN; ++code)
        t.of[code] = static_cast<std::int8_t>(yy_token_symbol_entry(code));
    return t;
}
inline constexpr YyTokenSymbols yytoken_symbol = yy_make_token_symbols();
static_assert(std::size(yytoken_symbol.of) == 266 && yytoken_symbol.of[255] == 2 && yytoken_symbol.of[258] == 3 &&
              yytoken_symbol.of[265] == 10, "yytoken_symbol as printed: 266 codes, 258..265 the symbols 3..10");

// ---------------------------------------------------------------------------------------------
// Rules, as the tables number them. The rule numbered 0 does not exist: a table entry that
// reduces by it is a syntax error.

enum YyRule : int {
    YYRULE_NONE,
    YYRULE_INPUT,     // input: lines
    YYRULE_NO_LINES,  // lines: (empty)
    YYRULE_LINE,      // lines: lines expr EOL
    YYRULE_ADD,       // expr: expr PLUS expr
    YYRULE_SUBTRACT,  // expr: expr MINUS expr
    YYRULE_MULTIPLY,  // expr: expr TIMES expr
    YYRULE_DIVIDE,    // expr: expr DIVIDE expr
    YYRULE_PARENS,    // expr: LPAREN expr RPAREN
    YYRULE_NUMBER,    // expr: NUMBER
    YYRULES,
};

// The grammar, one row a rule, in the order of YyRule; the tables below must agree with it.
inline constexpr int YYMAX_RHS = 3;
struct YyGrammarRule {
    int rule;
    int lhs;
    int length;
    int rhs[YYMAX_RHS];
};
constexpr YyGrammarRule yy_rule(int rule, int lhs, std::initializer_list<int> rhs) {
    YyGrammarRule r{rule, lhs, static_cast<int>(rhs.size()), {}};
    std::copy(rhs.begin(), rhs.end(), r.rhs);
    return r;
}
constexpr int yy_sym(int token) {  // a token's symbol, for the rows below
    return yy_token_symbol(token);
}
inline constexpr YyGrammarRule yy_grammar[] = {
    yy_rule(YYRULE_INPUT,    YYNT_INPUT, {YYNT_LINES}),
    yy_rule(YYRULE_NO_LINES, YYNT_LINES, {}),
    yy_rule(YYRULE_LINE,     YYNT_LINES, {YYNT_LINES, YYNT_EXPR, yy_sym(EOL)}),
    yy_rule(YYRULE_ADD,      YYNT_EXPR,  {YYNT_EXPR, yy_sym(PLUS), YYNT_EXPR}),
    yy_rule(YYRULE_SUBTRACT, YYNT_EXPR,  {YYNT_EXPR, yy_sym(MINUS), YYNT_EXPR}),
    yy_rule(YYRULE_MULTIPLY, YYNT_EXPR,  {YYNT_EXPR, yy_sym(TIMES), YYNT_EXPR}),
    yy_rule(YYRULE_DIVIDE,   YYNT_EXPR,  {YYNT_EXPR, yy_sym(DIVIDE), YYNT_EXPR}),
    yy_rule(YYRULE_PARENS,   YYNT_EXPR,  {yy_sym(LPAREN), YYNT_EXPR, yy_sym(RPAREN)}),
    yy_rule(YYRULE_NUMBER,   YYNT_EXPR,  {yy_sym(NUMBER)}),
};
static_assert(std::size(yy_grammar) == YYRULES - 1, "yy_grammar has one row for each rule of YyRule");
static_assert([] {
    for (int r = 1; r < YYRULES; ++r)
        if (yy_grammar[r - 1].rule != r)
            return false;
    return true;
}(), "yy_grammar lists the rules in the order of YyRule");

// The rules whose value is the value of their first right-hand symbol, as the engine presets it:
// they have no action. (The empty rule has no value at all; none is ever read.)
constexpr bool yy_keeps_first_value(int rule) {
    return rule == YYRULE_INPUT || rule == YYRULE_NO_LINES || rule == YYRULE_NUMBER;
}
// Rules whose value is the value of their one right-hand symbol.
constexpr bool yy_passes_value(int rule) {
    return yy_keeps_first_value(rule) && yy_grammar[rule - 1].length == 1;
}

// ---------------------------------------------------------------------------------------------
// The packed tables.

inline constexpr int YYFLAG = -32768;  // base of a row with no packed entries
inline constexpr int YYLAST = 20;      // last valid index of the packed tables
inline constexpr int YYFINAL = 18;     // an action into it accepts the input

// Per-rule tables: the rule's left-hand symbol and the number of its right-hand symbols.
// rule:                                       0   1   2   3   4   5   6   7   8   9
inline constexpr std::int16_t yyrule_lhs[]    = { 0, 11, 12, 12, 13, 13, 13, 13, 13, 13 };
inline constexpr std::int16_t yyrule_length[] = { 0,  1,  0,  3,  3,  3,  3,  3,  3,  1 };
static_assert(std::size(yyrule_lhs) == YYRULES && std::size(yyrule_length) == YYRULES,
              "yyrule_lhs and yyrule_length have an entry for each rule of YyRule, and one for rule 0");
static_assert([] {
    for (int r = 1; r < YYRULES; ++r)
        if (yyrule_lhs[r] != yy_grammar[r - 1].lhs || yyrule_length[r] != yy_grammar[r - 1].length)
            return false;
    return true;
}(), "yyrule_lhs and yyrule_length agree with yy_grammar");

// Per-state tables. yyaction_base: where the state's actions start in the packed tables; YYFLAG
// when it has none and reduces without reading a token. yydefault_rule: the rule it reduces by
// otherwise (0: a syntax error).
// state:                                           0      1      2   3   4   5      6   7   8   9  10     11  12  13     14     15  16  17     18
inline constexpr std::int16_t yyaction_base[]  = { YYFLAG, -2, YYFLAG, -2, -3, 10, YYFLAG, -2, -2, -2, -2, YYFLAG, 0,  0, YYFLAG, YYFLAG, 1, 11, YYFLAG };
inline constexpr std::int16_t yydefault_rule[] = {      2,  1,      9,  0,  0,  0,      3,  0,  0,  0,  0,      8, 4,  5,      6,      7, 0,  0,      0 };
static_assert(std::size(yyaction_base) == 19 && std::size(yydefault_rule) == 19,
              "yyaction_base and yydefault_rule have an entry for each of the 19 states");

// Per-nonterminal tables, index = symbol - YYFIRST_NONTERMINAL.
// nonterminal:                                 input   lines   expr
inline constexpr std::int16_t yygoto_base[]    = { YYFLAG, YYFLAG, 5 };
inline constexpr std::int16_t yydefault_goto[] = {     16,      1, 4 };
static_assert(std::size(yygoto_base) == YYNONTERMINALS && std::size(yydefault_goto) == YYNONTERMINALS,
              "yygoto_base and yydefault_goto have an entry for each nonterminal of YyNonterminal");

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
static_assert(std::size(yypacked) == YYLAST + 1 && std::size(yypacked_check) == YYLAST + 1,
              "yypacked and yypacked_check have YYLAST + 1 entries");

inline constexpr int YYSTATES = static_cast<int>(std::size(yyaction_base));
inline constexpr int YYSYMBOLS = YYSYMBOL_BEYOND + 1;  // every symbol a token code can have

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

// The state the goto on nonterminal `symbol` leads to from `state`.
constexpr int yy_packed_goto(int symbol, int state) {
    int base = yygoto_base[symbol - YYFIRST_NONTERMINAL];
    int i = base + state;
    if (base != YYFLAG && i >= 0 && i <= YYLAST && yypacked_check[i] == state)
        return yypacked[i];
    return yydefault_goto[symbol - YYFIRST_NONTERMINAL];
}

// Whether `state` reduces by its default rule without reading a token.
constexpr bool yy_reduces_at_once(int state) {
    return yyaction_base[state] == YYFLAG;
}

// The state a shift of terminal x (or the goto on nonterminal x) leads to from `state`; -1 where
// the tables do not shift x there.
constexpr int yy_transition(int state, int x) {
    if (x >= YYFIRST_NONTERMINAL)
        return yy_packed_goto(x, state);
    int a = yy_packed_action(state, x);
    return a > 0 && a != YYFINAL ? a : -1;
}

// The tables encode the grammar. From every state where a rule's left side may begin, its right
// side leads through the tables' shifts and gotos to a state that reduces by that rule, and every
// rule is reached so. A walk that meets a missing shift is left out: there a state reduces rather
// than shifts an operator, by the precedence that the case rows judge.
struct YyBegins {
    bool in[YYNONTERMINALS][YYSTATES];  // whether the nonterminal may begin in the state
};
constexpr YyBegins yy_where_nonterminals_begin() {
    YyBegins b{};
    for (bool grew = true; grew;) {
        grew = false;
        for (const YyGrammarRule& g : yy_grammar)
            for (int s = 0; s < YYSTATES; ++s) {
                int x = g.rhs[0];
                bool begins = g.length == 0                 ? yydefault_rule[s] == g.rule
                              : x >= YYFIRST_NONTERMINAL ? b.in[x - YYFIRST_NONTERMINAL][s]
                                                         : yy_transition(s, x) >= 0;
                if (begins && !b.in[g.lhs - YYFIRST_NONTERMINAL][s])
                    grew = b.in[g.lhs - YYFIRST_NONTERMINAL][s] = true;
            }
    }
    return b;
}
constexpr bool yy_tables_encode_grammar() {
    constexpr YyBegins begins = yy_where_nonterminals_begin();
    for (const YyGrammarRule& g : yy_grammar) {
        bool reached = false;
        for (int from = 0; from < YYSTATES; ++from) {
            if (!begins.in[g.lhs - YYFIRST_NONTERMINAL][from])
                continue;
            int s = from;
            for (int k = 0; k < g.length && s >= 0; ++k)
                s = yy_transition(s, g.rhs[k]);
            if (s < 0)
                continue;
            if (yydefault_rule[s] != g.rule)
                return false;
            reached = true;
        }
        if (!reached)
            return false;
    }
    return true;
}
static_assert(yy_tables_encode_grammar(), "the packed tables do not encode yy_grammar");

// ---------------------------------------------------------------------------------------------
// The tables as the engine runs them, derived from the ones above when the program is compiled:
// every decision of the packed tables unpacked into dense tables, with the reductions that need
// no lookahead folded into the step that leads to them.

// A row of the dense action table: a column for every symbol and one more, for the engine's "no
// lookahead", padded to a power of two.
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
struct YyStep {
    std::int8_t state;
    std::int8_t rule;
};
constexpr bool yy_is_shift(YyStep step) {
    return step.state > 0;
}
constexpr bool yy_is_shift_and_reduce(YyStep step) {
    return step.state < 0;
}
constexpr int yy_state_shifted(YyStep step) {
    return step.state < 0 ? -step.state : step.state;
}

// What follows entering `state`: its rule if it reduces at once, otherwise nothing until a
// lookahead decides.
constexpr YyStep yy_entering(int state) {
    return {static_cast<std::int8_t>(state), static_cast<std::int8_t>(yy_reduces_at_once(state) ? yydefault_rule[state] : 0)};
}

// The step for `state` on terminal `symbol`, with the reductions that need no lookahead folded in.
constexpr YyStep yy_derive_action(int state, int symbol) {
    int a = yy_packed_action(state, symbol);
    if (a == YYFINAL || a == 0)
        return {static_cast<std::int8_t>(a), YYRULE_NONE};
    if (a < 0)
        return {0, static_cast<std::int8_t>(-a)};
    // A shift into a state that passes the shifted value on at once goes straight to where the
    // goto leads: the stack then holds what the shift and the reduction would have left.
    int target = a;
    while (yy_reduces_at_once(target) && yy_passes_value(yydefault_rule[target]))
        target = yy_packed_goto(yyrule_lhs[yydefault_rule[target]], state);
    // A shift into a state that reduces at once by a rule that does more than pass the value on
    // is taken with that reduction as one step.
    YyStep step = yy_entering(target);
    if (step.rule != YYRULE_NONE)
        step.state = static_cast<std::int8_t>(-step.state);
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
            t.go[nt][s] = yy_entering(yy_packed_goto(YYFIRST_NONTERMINAL + nt, s));
    std::ranges::copy(yytoken_symbol.of, t.token_symbol);
    return t;
}
inline constexpr YyDenseTables yy_dense = yy_derive_dense_tables();

// The engine decides by lookahead only in states that do not reduce at once (every shift into or
// goto to one of those carries its rule), and the steps reach the same states as the packed
// tables, step for step, once the folded reductions are taken.
constexpr bool yy_dense_tables_agree() {
    for (int s = 0; s < YYSTATES; ++s) {
        if (yy_reduces_at_once(s) && s != YYFINAL && yydefault_rule[s] == YYRULE_NONE)
            return false;  // a state that would report an error without reading: not handled
        for (int sym = 0; sym < YYSYMBOLS; ++sym) {
            int a = yy_packed_action(s, sym);
            YyStep d = yy_dense.action[s][sym];
            if (yy_reduces_at_once(s) && (d.state != 0 || d.rule != yydefault_rule[s]))
                return false;
            if (a <= 0 && (d.state != 0 || d.rule != -a))
                return false;
            if (a == YYFINAL && (d.state != YYFINAL || d.rule != YYRULE_NONE))
                return false;
            if (a > 0 && a != YYFINAL) {
                // A plain shift into a state that waits for a lookahead, or one that reduces at
                // once taken with its reduction (never on the end of input, which is not
                // consumed), by a rule that does more than pass a value on.
                int to = yy_state_shifted(d);
                if (yy_is_shift(d) ? d.rule != YYRULE_NONE || yy_reduces_at_once(to)
                                   : !yy_is_shift_and_reduce(d) || sym == YYSYMBOL_END || !yy_reduces_at_once(to) ||
                                         d.rule != yydefault_rule[to] || yy_passes_value(d.rule))
                    return false;
                // Unfolded, or folded through a value-passing reduction that leads from s to `to`.
                int r = yydefault_rule[a];
                bool folded = yy_reduces_at_once(a) && yy_passes_value(r) && yy_packed_goto(yyrule_lhs[r], s) == to;
                if (to != a && !folded)
                    return false;
            }
        }
        for (int nt = 0; nt < YYNONTERMINALS; ++nt)
            if (yy_dense.go[nt][s].state != yy_packed_goto(YYFIRST_NONTERMINAL + nt, s))
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
        if (step.rule != YYRULE_NONE && yy_is_shift_and_reduce(step) == compound)
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
static_assert(YYRULES <= 32, "rule sets are held as bit masks of 32 bits");
