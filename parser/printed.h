// The grammar's tables as first printed, kept as a check of the construction: the build proves
// that the tables computed from the grammar (parser/lalr.h) take the same action in every state on
// every symbol. Constant; no code reads them but the checks below.
#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "parser/lalr.h"

// The token codes, as printed: 266, the named ones 258..265 the symbols 3..10.
static_assert(YYMAX_TOKEN + 1 == 266 && yy_token_symbol(258) == 3 && yy_token_symbol(265) == 10,
              "the token codes and their symbols are no longer those printed");

// Per-rule tables: the rule's left-hand symbol and the number of its right-hand symbols.
// rule:                                        0   1   2   3   4   5   6   7   8   9
inline constexpr std::int16_t yyrule_lhs[]    = { 0, 11, 12, 12, 13, 13, 13, 13, 13, 13 };
inline constexpr std::int16_t yyrule_length[] = { 0,  1,  0,  3,  3,  3,  3,  3,  3,  1 };

// Per-state tables. yyaction_base: where the state's actions start in the packed tables; YYFLAG
// when it has none and reduces without reading a token. yydefault_rule: the rule it reduces by
// otherwise (0: a syntax error).
// state:                                           0      1      2   3   4   5      6   7   8   9  10     11  12  13     14     15  16  17     18
inline constexpr std::int16_t yyaction_base[]  = { YYFLAG, -2, YYFLAG, -2, -3, 10, YYFLAG, -2, -2, -2, -2, YYFLAG, 0,  0, YYFLAG, YYFLAG, 1, 11, YYFLAG };
inline constexpr std::int16_t yydefault_rule[] = {      2,  1,      9,  0,  0,  0,      3,  0,  0,  0,  0,      8, 4,  5,      6,      7, 0,  0,      0 };

// Per-nonterminal tables, index = symbol - 11.
// nonterminal:                                 input   lines   expr
inline constexpr std::int16_t yygoto_base[]    = { YYFLAG, YYFLAG, 5 };
inline constexpr std::int16_t yydefault_goto[] = {     16,      1, 4 };

// Packed actions and gotos; an entry applies only where yypacked_check holds the symbol (for an
// action) or the exposed state (for a goto). Positive action entries shift; 18 accepts.
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

static_assert(std::size(yyrule_lhs) == YYRULES && std::size(yyrule_length) == YYRULES,
              "the printed rule tables have an entry for each rule, and one for rule 0");
static_assert(std::size(yyaction_base) == std::size(yydefault_rule) && std::size(yygoto_base) == YYNONTERMINALS &&
                  std::size(yydefault_goto) == YYNONTERMINALS && std::size(yypacked) == std::size(yypacked_check),
              "the printed tables are whole");

// The printed tables in the form the lookups of parser/lalr.h read; acceptance is the shift into
// their last state, which is never entered.
constexpr YyPacked yy_load_printed_tables() {
    YyPacked p{};
    p.states = static_cast<int>(std::size(yyaction_base));
    p.final = p.states - 1;
    p.last = static_cast<int>(std::size(yypacked)) - 1;
    std::ranges::copy(yyaction_base, p.action_base);
    std::ranges::copy(yydefault_rule, p.default_rule);
    std::ranges::copy(yygoto_base, p.goto_base);
    std::ranges::copy(yydefault_goto, p.default_goto);
    std::ranges::copy(yypacked, p.packed);
    std::ranges::copy(yypacked_check, p.check);
    return p;
}
inline constexpr YyPacked yy_printed_tables = yy_load_printed_tables();

// The first state and symbol at which the printed and the computed tables differ, in the printed
// numbering; {-1, -1} where they agree everywhere. The states are matched one to one by walking
// both from state 0 along the shifts and gotos of the construction. Symbol YYSYMBOLS stands for
// whether a state reduces without reading a token; state -1 for the rule tables, at rule `symbol`.
struct YyTableDifference { int state, symbol; };
constexpr YyTableDifference yy_first_difference() {
    const YyLalr& a = yy_lalr;
    const YyPacked &c = yy_packed, &p = yy_printed_tables;
    for (int r = 1; r < YYRULES; ++r)
        if (yyrule_lhs[r] != yy_lhs_of(r) || yyrule_length[r] != yy_length_of(r))
            return {-1, r};
    int printed_of[YYMAX_STATES] = {}, computed_of[YYMAX_STATES] = {};  // 0: state 0, or not yet matched
    for (int s = 0; s < a.states; ++s) {
        int ps = printed_of[s];
        for (int x = 0; x < YYSYMBOLS; ++x)
            if (int t = a.next[s][x]; t >= 0 && (x >= YYFIRST_NONTERMINAL || a.action[s][x].kind == YY_SHIFT)) {
                int pt = x < YYFIRST_NONTERMINAL ? yy_packed_action(p, ps, x) : yy_packed_goto(p, x, ps);
                if (pt <= 0 || pt == p.final || (printed_of[t] != 0 ? printed_of[t] != pt : computed_of[pt] != 0))
                    return {ps, x};  // another state than before, or one state standing for two
                printed_of[t] = pt;
                computed_of[pt] = t;
            }
        for (int x = 0; x < YYSYMBOLS; ++x) {
            int ca = yy_packed_action(c, s, x), pa = yy_packed_action(p, ps, x);
            if (ca > 0)
                ca = ca == c.final ? p.final : printed_of[ca];
            if ((x < YYFIRST_NONTERMINAL || x == YYSYMBOL_BEYOND) && ca != pa)
                return {ps, x};
        }
        if ((c.action_base[s] == YYFLAG) != (p.action_base[ps] == YYFLAG))
            return {ps, YYSYMBOLS};
    }
    return {-1, -1};
}
inline constexpr YyTableDifference yy_printed_table_difference = yy_first_difference();

template <int STATE, int SYMBOL> struct YyPrintedTablesDiffer {
    static_assert(SYMBOL < 0, "the parse tables computed from the grammar and the printed ones differ at the state "
                              "(as printed) and the symbol of this instantiation");
};
template struct YyPrintedTablesDiffer<yy_printed_table_difference.state, yy_printed_table_difference.symbol>;
