// Prints the tables the build computes from the token rules (scanner/tables.h) and the grammar
// (parser/lalr.h) in the layout of scanner/printed.h and parser/printed.h: after a change of the
// language, its output replaces the printed tables there (until it does, the build names the first
// state and symbol at which they differ from the computed ones).
//
// usage: build-test/intcalc_tables            (built by every preset that builds the tests)
#include <cstdio>
#include <cstring>

#include "parser/lalr.h"
#include "scanner/tables.h"

namespace {

// The names of the grammar's symbols, for the notes on the packed entries.
const char* const symbol_names[] = {"end of input", "error", "undefined", "EOL",   "NUMBER", "LPAREN", "RPAREN",
                                    "PLUS",         "MINUS", "TIMES",     "DIVIDE", "input", "lines",   "expr"};
constexpr int NAMED = sizeof symbol_names / sizeof symbol_names[0];
static_assert(NAMED == YYNT_LIMIT, "symbol_names names every symbol of the grammar, in the order of their numbers");

// A table as the printed layout has it: the index header, then one line for each table, the
// values lined up under it.
void header(const char* what, const char* type, const char* name, int n, int width) {
    int pad = static_cast<int>(std::strlen("inline constexpr  [] = {") + std::strlen(type) + std::strlen(name));
    std::printf("// %-*s", pad - 3, what);
    for (int i = 0; i < n; ++i)
        std::printf("%*d%s", width, i, i + 1 < n ? "  " : "\n");
}
template <typename T>
void row(const char* type, const char* name, const T* values, int n, int width) {
    int trailing = 0;  // names are given padded to the longest of their group: the padding goes after []
    while (name[std::strlen(name) - 1 - static_cast<std::size_t>(trailing)] == ' ')
        ++trailing;
    std::printf("inline constexpr %s %.*s[]%*s = {", type, static_cast<int>(std::strlen(name)) - trailing, name, trailing, "");
    for (int i = 0; i < n; ++i) {
        if (values[i] == YYFLAG)
            std::printf("%*s", width, "YYFLAG");
        else
            std::printf("%*d", width, static_cast<int>(values[i]));
        std::printf(i + 1 < n ? ", " : " };\n");
    }
}

void print_scanner() {
    std::printf("// scanner/printed.h\n//                                          x0 x1 x2 x3 x4 x5 x6 x7 x8 x9 xA xB xC xD xE xF\n"
                "inline constexpr std::uint8_t yy_printed_class[] = {\n");
    for (int b = 0; b < YY_BYTES; b += 16) {
        std::printf("    /* %Xx */                                ", b / 16);
        for (int i = 0; i < 16; ++i)
            std::printf("%2d,", yy_char_class[b + i]);
        std::printf("\n");
    }
    std::printf("};\n\n");
    std::uint8_t meta[YY_BYTES] = {};  // no state is a template: every class but the marker's is 1
    for (int c = 1; c < YY_CLASSES; ++c)
        meta[c] = 1;
    header("class:", "std::uint8_t", "yy_meta_class", YY_CLASSES, 2);
    row("std::uint8_t", "yy_meta_class", meta, YY_CLASSES, 2);
    std::printf("// States: %d start, %d end-of-buffer marker consumed, %d dead; the others accept the rule of\n"
                "// their action (yy_token_rules, from 1):", YY_START_STATE, yy_automaton.marker, YY_DEAD_STATE);
    for (int s = 1; s < YY_STATES; ++s)
        if (s != YY_START_STATE && s != yy_automaton.marker && s != YY_DEAD_STATE) {
            const char* bytes = yy_token_rules[yy_comb.action[s] - 1].bytes;
            std::printf(" %d ", s);
            for (const char* b = bytes ? bytes : "other"; *b != 0; ++b)
                std::printf(*b == '\n' ? "\\n" : *b == '\t' ? "\\t" : *b == ' ' ? "space" : "%c", *b);
            std::printf(s + 1 < YY_DEAD_STATE ? "," : ".\n");
        }
    header("state:", "std::int16_t", "yy_state_action ", YY_STATES, 2);
    row("std::int16_t", "yy_state_action ", yy_comb.action, YY_STATES, 2);
    row("std::int16_t", "yy_state_base   ", yy_comb.base, YY_STATES, 2);
    row("std::int16_t", "yy_state_default", yy_comb.fallback, YY_STATES, 2);
    int pairs = 0;
    for (int s = 0; s < YY_STATES; ++s)
        pairs = yy_comb.base[s] + YY_CLASSES > pairs ? yy_comb.base[s] + YY_CLASSES : pairs;
    std::int16_t check[YY_MAX_PAIRS];
    for (int i = 0; i < pairs; ++i)  // a slot no state owns goes to state 0, which is no state
        check[i] = static_cast<std::int16_t>(yy_comb.check[i] < 0 ? 0 : yy_comb.check[i]);
    header("index:", "std::int16_t", "yy_trans_next ", pairs, 2);
    row("std::int16_t", "yy_trans_next ", yy_comb.next, pairs, 2);
    row("std::int16_t", "yy_trans_check", check, pairs, 2);
}

void print_parser() {
    const YyPacked& p = yy_packed;
    std::printf("\n// parser/printed.h\n");
    std::int16_t lhs[YYRULES], length[YYRULES];
    for (int r = 0; r < YYRULES; ++r) {
        lhs[r] = static_cast<std::int16_t>(r == 0 ? 0 : yy_lhs_of(r));
        length[r] = static_cast<std::int16_t>(r == 0 ? 0 : yy_length_of(r));
    }
    header("rule:", "std::int16_t", "yyrule_lhs   ", YYRULES, 2);
    row("std::int16_t", "yyrule_lhs   ", lhs, YYRULES, 2);
    row("std::int16_t", "yyrule_length", length, YYRULES, 2);
    std::int16_t base[YYMAX_STATES + 1], rule[YYMAX_STATES + 1];
    for (int s = 0; s <= p.states; ++s) {  // and the final state, never entered
        base[s] = s < p.states ? p.action_base[s] : static_cast<std::int16_t>(YYFLAG);
        rule[s] = s < p.states ? p.default_rule[s] : 0;
    }
    header("state:", "std::int16_t", "yyaction_base ", p.states + 1, 6);
    row("std::int16_t", "yyaction_base ", base, p.states + 1, 6);
    row("std::int16_t", "yydefault_rule", rule, p.states + 1, 6);
    std::printf("// Per-nonterminal tables, index = symbol - %d.\n", YYFIRST_NONTERMINAL);
    header("nonterminal:", "std::int16_t", "yygoto_base   ", YYNONTERMINALS, 6);
    row("std::int16_t", "yygoto_base   ", p.goto_base, YYNONTERMINALS, 6);
    row("std::int16_t", "yydefault_goto", p.default_goto, YYNONTERMINALS, 6);
    // What each packed entry serves: the rows whose base and key meet there (rows of one kind
    // that share a base are alike; rows of the two kinds never share one).
    std::printf("// Packed actions and gotos; entry %d accepts.\n", p.final);
    for (int i = 0; i <= p.last; ++i) {
        int k = p.check[i], e = p.packed[i];
        std::printf("// %2d ", i);
        bool action = false;
        for (int s = 0; s < p.states && k >= 0; ++s)
            if (p.action_base[s] != YYFLAG && p.action_base[s] + k == i) {
                std::printf(" %d", s);
                action = true;
            }
        if (action)
            std::printf(e == p.final ? " on %s: accept" : e > 0 ? " on %s: shift to %d" : " on %s: reduce %d",
                        symbol_names[k], e > 0 ? e : -e);
        for (int n = 0; n < YYNONTERMINALS && k >= 0; ++n)
            if (p.goto_base[n] != YYFLAG && p.goto_base[n] + k == i)
                std::printf(" %s from state %d: go to %d", symbol_names[n + YYFIRST_NONTERMINAL], k, e);
        std::printf(k < 0 ? " (unused)\n" : "\n");
    }
    header("index:", "std::int16_t", "yypacked      ", p.last + 1, 2);
    row("std::int16_t", "yypacked      ", p.packed, p.last + 1, 2);
    row("std::int16_t", "yypacked_check", p.check, p.last + 1, 2);
}

}  // namespace

int main() {
    print_scanner();
    print_parser();
    return 0;
}
