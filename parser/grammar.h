// The calculator's grammar: its symbols, its rules with their actions, and the operators'
// precedence. The parse tables are computed from this file (parser/lalr.h); nothing else names a
// rule's shape.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "app/diagnostics.h"
#include "runtime/output.h"
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
constexpr int yy_token_symbol(int token) { return token - EOL + YYSYMBOL_UNDEFINED + 1; }
inline constexpr int YYFIRST_NONTERMINAL = yy_token_symbol(YYMAX_TOKEN) + 1;

enum YyNonterminal : int {
    YYNT_INPUT = YYFIRST_NONTERMINAL,  // the start symbol
    YYNT_LINES,
    YYNT_EXPR,
    YYNT_LIMIT,  // one past the last nonterminal
};
inline constexpr int YYNONTERMINALS = YYNT_LIMIT - YYFIRST_NONTERMINAL;
inline constexpr int YYSYMBOL_BEYOND = YYNT_LIMIT;  // of every token code above YYMAX_TOKEN: in no rule
inline constexpr int YYSYMBOLS = YYSYMBOL_BEYOND + 1;  // every symbol a token code can have

// ---------------------------------------------------------------------------------------------
// Rule actions: the value of a rule from the values of its right-hand symbols, v[0] the first.
// Addition, subtraction and multiplication wrap around: they are computed on uint32_t, where that
// is defined, and converted back (also modulo 2^32).

using YyRuleAction = std::int32_t (*)(const std::int32_t* v);
constexpr std::uint32_t yy_u(std::int32_t v) { return static_cast<std::uint32_t>(v); }
[[gnu::always_inline]] inline std::int32_t yy_no_value(const std::int32_t*) { return 0; }  // the empty rule's: never read
[[gnu::always_inline]] inline std::int32_t yy_first_value(const std::int32_t* v) { return v[0]; }
[[gnu::always_inline]] inline std::int32_t yy_inner_value(const std::int32_t* v) { return v[1]; }
[[gnu::always_inline]] inline std::int32_t yy_add(const std::int32_t* v) { return static_cast<std::int32_t>(yy_u(v[0]) + yy_u(v[2])); }
[[gnu::always_inline]] inline std::int32_t yy_subtract(const std::int32_t* v) { return static_cast<std::int32_t>(yy_u(v[0]) - yy_u(v[2])); }
[[gnu::always_inline]] inline std::int32_t yy_multiply(const std::int32_t* v) { return static_cast<std::int32_t>(yy_u(v[0]) * yy_u(v[2])); }
// Truncating division. The two divisions the processor would fault on end the run instead, with
// every value of the earlier lines still written out.
[[gnu::always_inline]] inline std::int32_t yy_divide(const std::int32_t* v) {
    if (v[2] == 0)
        yy_fatal(YY_MSG_DIVISION_BY_ZERO);
    if (v[0] == INT32_MIN && v[2] == -1)
        yy_fatal(YY_MSG_DIVISION_OVERFLOW);
    return v[0] / v[2];
}
[[gnu::always_inline]] inline std::int32_t yy_print_line(const std::int32_t* v) {
    out_value_line(v[1]);
    return 0;  // the value of `lines`, never read
}
// YY_ONLY_COMPUTES lets the engine run a rule's action where another rule's value is kept
// (parser/tables.h, yy_value_group): the action must do nothing but compute its value, and do so
// for any right-hand values. A rule without it (YY_ACTS) has its action run for itself only.
enum YyEffect : bool { YY_ACTS, YY_ONLY_COMPUTES };

// ---------------------------------------------------------------------------------------------
// The rules, one row each, numbered in the order of the rows. Row 0 is the accepting rule, which
// is never reduced. A right-hand symbol is a nonterminal, a named token's code or the end of
// input. A rule takes the precedence of its last token, or of the token (or the name of a
// precedence level) that its row gives. A row says YY_ONLY_COMPUTES where its action does.

enum YyRule : int {
    YYRULE_NONE,  // the accepting rule; a step that reduces by it is a syntax error
    YYRULE_INPUT,
    YYRULE_NO_LINES,
    YYRULE_LINE,
    YYRULE_ADD,
    YYRULE_SUBTRACT,
    YYRULE_MULTIPLY,
    YYRULE_DIVIDE,
    YYRULE_PARENS,
    YYRULE_NUMBER,
    YYRULES,
};

inline constexpr int YYMAX_RHS = 3;
struct YyGrammarRule {
    int rule, lhs, length;
    int rhs[YYMAX_RHS];  // grammar symbols
    YyRuleAction action;
    YyEffect effect;
    int precedence;  // the token whose precedence the rule has; 0: its last token's
};
constexpr YyGrammarRule yy_rule(int rule, int lhs, std::initializer_list<int> rhs, YyRuleAction action,
                                YyEffect effect = YY_ACTS, int precedence = 0) {
    YyGrammarRule r{rule, lhs, static_cast<int>(rhs.size()), {}, action, effect, precedence};
    for (int k = 0; int x : rhs)
        r.rhs[k++] = x >= EOL ? yy_token_symbol(x) : x;
    return r;
}

inline constexpr YyGrammarRule yy_grammar[] = {
    yy_rule(YYRULE_NONE,     -1,         {YYNT_INPUT, YYSYMBOL_END},   nullptr),
    yy_rule(YYRULE_INPUT,    YYNT_INPUT, {YYNT_LINES},                 yy_first_value),
    yy_rule(YYRULE_NO_LINES, YYNT_LINES, {},                           yy_no_value),
    yy_rule(YYRULE_LINE,     YYNT_LINES, {YYNT_LINES, YYNT_EXPR, EOL}, yy_print_line),
    yy_rule(YYRULE_ADD,      YYNT_EXPR,  {YYNT_EXPR, PLUS, YYNT_EXPR},   yy_add,      YY_ONLY_COMPUTES),
    yy_rule(YYRULE_SUBTRACT, YYNT_EXPR,  {YYNT_EXPR, MINUS, YYNT_EXPR},  yy_subtract, YY_ONLY_COMPUTES),
    yy_rule(YYRULE_MULTIPLY, YYNT_EXPR,  {YYNT_EXPR, TIMES, YYNT_EXPR},  yy_multiply, YY_ONLY_COMPUTES),
    yy_rule(YYRULE_DIVIDE,   YYNT_EXPR,  {YYNT_EXPR, DIVIDE, YYNT_EXPR}, yy_divide),
    yy_rule(YYRULE_PARENS,   YYNT_EXPR,  {LPAREN, YYNT_EXPR, RPAREN},    yy_inner_value),
    yy_rule(YYRULE_NUMBER,   YYNT_EXPR,  {NUMBER},                       yy_first_value),
};
static_assert(sizeof yy_grammar / sizeof yy_grammar[0] == YYRULES, "yy_grammar has one row for each rule of YyRule");
static_assert([] {
    for (int r = 0; r < YYRULES; ++r)
        if (yy_grammar[r].rule != r)
            return false;
    return true;
}(), "yy_grammar lists the rules in the order of YyRule");

// Operator precedence, lowest first: one row a level, each with its associativity.
enum YyAssociativity : int { YY_LEFT, YY_RIGHT, YY_NONASSOC };
struct YyPrecedenceLevel { YyAssociativity associativity; int tokens[4]; };  // token codes, 0 ending the row
inline constexpr YyPrecedenceLevel yy_precedence[] = {
    {YY_LEFT, {PLUS, MINUS}},
    {YY_LEFT, {TIMES, DIVIDE}},
};
