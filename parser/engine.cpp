// Parse engine: a table-driven LALR(1) loop over the tokens of yylex that evaluates as it reduces.
// State: yychar, yylval and yynerrs; the stacks belong to the one call of yyparse.
#include <cstdint>
#include <cstdlib>
#include <iterator>

#include "app/diagnostics.h"
#include "parser/parser.h"
#include "parser/tables.h"
#include "runtime/output.h"
#include "scanner/scanner.h"

int yychar = -2;
std::int32_t yylval = 0;
int yynerrs = 0;

namespace {

constexpr int YYEMPTY = -2;            // yychar when no lookahead is held
constexpr int YYINITDEPTH = 200;       // stack entries held in the call's own storage
constexpr int YYMAXDEPTH = 10000;      // the stacks never grow beyond this

// How often the stacks can grow: 200 -> 400 -> ... -> 6400 -> 10000.
constexpr int max_growths() {
    int n = 0;
    for (int c = YYINITDEPTH; c < YYMAXDEPTH; c = c * 2 < YYMAXDEPTH ? c * 2 : YYMAXDEPTH)
        ++n;
    return n;
}
static_assert(max_growths() == 6);

// Error recovery would resume at a state with an action on the error symbol. This grammar has
// none, so recovery always pops to the bottom of the stack and gives up: the first syntax error
// ends the parse, and nothing after it is read.
constexpr bool has_error_action() {
    for (int s = 0; s < static_cast<int>(std::size(yyaction_base)); ++s) {
        int i = yyaction_base[s] + YYSYMBOL_ERROR;
        if (yyaction_base[s] != YYFLAG && i >= 0 && i <= YYLAST && yypacked_check[i] == YYSYMBOL_ERROR)
            return true;
    }
    return false;
}
static_assert(!has_error_action());

// Copies count bytes from `from` to `to`, one at a time, lowest address first.
void yystack_copy(const void* from, void* to, long count) {
    const auto* src = static_cast<const unsigned char*>(from);
    auto* dst = static_cast<unsigned char*>(to);
    for (long i = 0; i < count; ++i)
        dst[i] = src[i];
}

int symbol_of(int token) {
    if (token <= 0)
        return 0;
    return token <= YYMAX_TOKEN ? yytoken_symbol[token] : YYSYMBOL_BEYOND;
}

// The packed entry for `key` in the row starting at `base`, or -1 when the row has none.
int packed_index(int base, int key) {
    int i = base + key;
    return i >= 0 && i <= YYLAST && yypacked_check[i] == key ? i : -1;
}

// Wrap-around arithmetic: computed on uint32_t, where it is defined modulo 2^32, and converted
// back (also modulo 2^32).
std::int32_t wrap_add(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
std::int32_t wrap_sub(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
std::int32_t wrap_mul(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

// Truncating division. The two divisions the processor would fault on end the run instead, with
// every value of the earlier lines still written out.
std::int32_t checked_div(std::int32_t a, std::int32_t b) {
    if (b == 0)
        yy_fatal(YY_MSG_DIVISION_BY_ZERO);
    if (a == INT32_MIN && b == -1)
        yy_fatal(YY_MSG_DIVISION_OVERFLOW);
    return a / b;
}

// The action of rule r. `rhs` points at the value of its first right-hand symbol; `result` is
// preset to that value.
void yy_reduce_action(int r, const std::int32_t* rhs, std::int32_t& result) {
    switch (r) {
    case 3: out_value_line(rhs[1]); break;
    case 4: result = wrap_add(rhs[0], rhs[2]); break;
    case 5: result = wrap_sub(rhs[0], rhs[2]); break;
    case 6: result = wrap_mul(rhs[0], rhs[2]); break;
    case 7: result = checked_div(rhs[0], rhs[2]); break;
    case 8: result = rhs[1]; break;
    case 9: result = rhs[0]; break;
    default: break;  // rules 1 and 2 have no action
    }
}

}  // namespace

int yyparse() {
    std::int16_t state_store[YYINITDEPTH];
    std::int32_t value_store[YYINITDEPTH];
    std::int16_t* states = state_store;
    std::int32_t* values = value_store;  // values[i] belongs to states[i]; values[0] holds none
    int capacity = YYINITDEPTH;
    int depth = 0;                       // entries on both stacks
    void* grown[2 * max_growths()];      // storage of grown stacks, released only on return
    int generations = 0;

    int state = 0;
    int rule = 0;
    int result = 0;
    yychar = YYEMPTY;
    yynerrs = 0;

    // Invariant at push: `state` is to go on top of the state stack; values[depth] already holds
    // the value of the symbol that led to it.
    for (;;) {
        states[depth++] = static_cast<std::int16_t>(state);
        if (depth == capacity) {
            void* more_states = nullptr;
            void* more_values = nullptr;
            if (capacity < YYMAXDEPTH) {
                capacity = capacity * 2 < YYMAXDEPTH ? capacity * 2 : YYMAXDEPTH;
                more_states = std::malloc(sizeof(std::int16_t) * static_cast<size_t>(capacity));
                more_values = std::malloc(sizeof(std::int32_t) * static_cast<size_t>(capacity));
            }
            if (more_states == nullptr || more_values == nullptr) {
                std::free(more_states);
                std::free(more_values);
                yyerror(YY_MSG_STACK_OVERFLOW);
                result = 2;
                break;
            }
            yystack_copy(states, more_states, depth * static_cast<long>(sizeof(std::int16_t)));
            yystack_copy(values, more_values, depth * static_cast<long>(sizeof(std::int32_t)));
            states = static_cast<std::int16_t*>(more_states);
            values = static_cast<std::int32_t*>(more_values);
            grown[generations++] = more_states;
            grown[generations++] = more_values;
        }

        // Decide: flagged states reduce at once, without a lookahead.
        int base = yyaction_base[state];
        if (base == YYFLAG) {
            rule = yydefault_rule[state];
        } else {
            if (yychar == YYEMPTY)
                yychar = yylex();
            if (yychar < 0)
                yychar = 0;  // any code at or below 0 is the end of input, and stays so
            int i = packed_index(base, symbol_of(yychar));
            if (i < 0) {
                rule = yydefault_rule[state];
            } else if (yypacked[i] == YYFINAL) {
                result = 0;
                break;
            } else if (yypacked[i] > 0) {  // shift
                if (yychar != 0)
                    yychar = YYEMPTY;
                values[depth] = yylval;
                state = yypacked[i];
                continue;
            } else {
                rule = yypacked[i] == 0 || yypacked[i] == YYFLAG ? 0 : -yypacked[i];
            }
        }

        if (rule == 0) {  // syntax error: reported once, and it ends the parse (see above)
            ++yynerrs;
            yyerror(YY_MSG_PARSE_ERROR);
            result = 1;
            break;
        }

        // Reduce: the top n values are the right-hand side; the result replaces them.
        int n = yyrule_length[rule];
        std::int32_t* rhs = values + depth - n;
        std::int32_t value = n > 0 ? rhs[0] : 0;
        yy_reduce_action(rule, rhs, value);
        depth -= n;
        values[depth] = value;
        int nonterminal = yyrule_lhs[rule] - YYFIRST_NONTERMINAL;
        int top = states[depth - 1];
        int g = yygoto_base[nonterminal] == YYFLAG ? -1 : packed_index(yygoto_base[nonterminal], top);
        state = g >= 0 ? yypacked[g] : yydefault_goto[nonterminal];
    }

    for (int i = 0; i < generations; ++i)
        std::free(grown[i]);
    return result;
}
