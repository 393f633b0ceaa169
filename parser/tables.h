// Grammar tables: the calculator grammar's symbols and rules and its packed LALR(1) tables.
// Constant; the parse engine (parser/engine.cpp) interprets them.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>

// Symbols: 0 end of input, 1 error, 2 undefined token, 3..10 EOL NUMBER LPAREN RPAREN PLUS MINUS
// TIMES DIVIDE; 11 input, 12 lines, 13 expr.
inline constexpr int YYFIRST_NONTERMINAL = 11;
inline constexpr int YYSYMBOL_ERROR = 1;
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
    for (int code = 1; code <= 255; ++code)
        t[code] = 2;
    t[256] = 1;
    t[257] = 2;
    for (int code = 258; code <= 265; ++code)
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

// The lowest and highest index base + key the engine can form into the packed tables: over the
// rows that have entries, with keys 0..YYSYMBOL_BEYOND (symbols) for actions and 0..18 (states)
// for gotos.
constexpr int yy_packed_reach(bool highest) {
    int low = 0;
    int high = YYLAST;
    auto widen = [&](int base, int max_key) {
        if (base == YYFLAG)
            return;
        low = std::min(low, base);
        high = std::max(high, base + max_key);
    };
    for (int base : yyaction_base)
        widen(base, YYSYMBOL_BEYOND);
    for (int base : yygoto_base)
        widen(base, static_cast<int>(std::size(yyaction_base)) - 1);
    return highest ? high : low;
}
// Guard entries around the check table, so that any index the engine forms is inside it and no
// bounds test is needed; a guard entry holds -1, which is neither a symbol nor a state.
inline constexpr int YYPACKED_GUARD_LOW = -yy_packed_reach(false);
inline constexpr int YYPACKED_GUARD_HIGH = yy_packed_reach(true) - YYLAST;
inline constexpr std::int16_t YYPACKED_GUARD = -1;
static_assert(YYPACKED_GUARD_LOW == 3 && YYPACKED_GUARD_HIGH == 5);

// The tables the engine consults while it runs, gathered into one constant object so that all
// of them are reached from a single base address. Same entries, same indexes, except that the
// check table is held with its guard entries: yypacked_check[i] is packed_check[i + GUARD_LOW].
struct YyParserTables {
    std::int8_t token_symbol[YYMAX_TOKEN + 1];
    std::int16_t action_base[std::size(yyaction_base)];
    std::int16_t default_rule[std::size(yydefault_rule)];
    std::int16_t goto_base[std::size(yygoto_base)];
    std::int16_t default_goto[std::size(yydefault_goto)];
    std::int16_t packed[std::size(yypacked)];
    std::int16_t packed_check[YYPACKED_GUARD_LOW + std::size(yypacked_check) + YYPACKED_GUARD_HIGH];
};

constexpr YyParserTables yy_gather_parser_tables() {
    YyParserTables t{};
    std::ranges::copy(yytoken_symbol, t.token_symbol);
    std::ranges::copy(yyaction_base, t.action_base);
    std::ranges::copy(yydefault_rule, t.default_rule);
    std::ranges::copy(yygoto_base, t.goto_base);
    std::ranges::copy(yydefault_goto, t.default_goto);
    std::ranges::copy(yypacked, t.packed);
    std::ranges::fill(t.packed_check, YYPACKED_GUARD);
    std::ranges::copy(yypacked_check, t.packed_check + YYPACKED_GUARD_LOW);
    return t;
}
inline constexpr YyParserTables yy_parser = yy_gather_parser_tables();
