// Parser tables: decodes the packed tables into "state x terminal -> action" and "nonterminal x
// state -> goto" and compares them with the automaton written out in cases/parser_automaton.table.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "parser/tables.h"

namespace {

const std::string SYMBOLS[] = {"end", "error", "undefined", "EOL", "NUMBER", "LPAREN", "RPAREN",
                               "PLUS", "MINUS", "TIMES", "DIVIDE", "input", "lines", "expr"};

// A packed entry applies where the check vector holds the key; otherwise the default does.
int packed_at(int base, int key) {
    int i = base + key;
    return base != YYFLAG && i >= 0 && i <= YYLAST && yypacked_check[i] == key ? i : -1;
}

std::string action(int state, int terminal) {
    int i = packed_at(yyaction_base[state], terminal), entry = i < 0 ? -yydefault_rule[state] : yypacked[i];
    if (entry == YYFINAL) return "accept";
    if (entry == 0 || entry == YYFLAG) return "error";
    std::string s(1, entry > 0 ? 's' : 'r');
    return s += std::to_string(std::abs(entry));
}

TEST(ParserTables, DecodeToTheAutomaton) {
    std::ifstream file(std::string(CASES_DIR) + "/parser_automaton.table");
    size_t rows = 0;
    for (std::string line; std::getline(file, line);) {
        std::istringstream row(line);
        int state;
        if (line[0] == '#' || !(row >> state)) continue;
        ++rows;
        std::map<std::string, std::string> named;  // symbol (or "other") -> action or goto
        for (std::string name, value; row >> name >> value;) named[name] = value;
        for (int t = 0; t < YYFIRST_NONTERMINAL; ++t)
            EXPECT_EQ(action(state, t), named.count(SYMBOLS[t]) ? named[SYMBOLS[t]] : named["other"])
                << "state " << state << " on " << SYMBOLS[t];
        for (int n = 0; n < static_cast<int>(std::size(yygoto_base)); ++n) {
            const std::string& nonterminal = SYMBOLS[YYFIRST_NONTERMINAL + n];
            int i = packed_at(yygoto_base[n], state), to = i < 0 ? yydefault_goto[n] : yypacked[i];
            if (named.count(nonterminal) == 0) continue;  // a goto the automaton never takes
            EXPECT_EQ(std::to_string(to), named[nonterminal]) << nonterminal << " from state " << state;
        }
    }
    EXPECT_EQ(rows, std::size(yyaction_base));
}

}  // namespace
