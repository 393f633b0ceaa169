// Parse engine: a table-driven LALR(1) loop over the tokens of yylex that evaluates as it reduces.
// State: yychar, yylval and yynerrs; the stacks belong to the one call of yyparse.
#include <cstddef>
#include <cstdint>
#include <bit>
#include <cstdlib>
#include <initializer_list>

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
constexpr int YYSYMBOL_NONE = YYCOLUMNS - 1;  // the symbol while none is held: no symbol's column
static_assert(YYSYMBOL_NONE >= YYSYMBOLS, "YYCOLUMNS leaves a column for no lookahead");
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
    for (int s = 0; s < YYSTATES; ++s) {
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

// The action of rule R. `rhs` points at the value of its first right-hand symbol, `last` is the
// value of its last (which may not be on the stack); `result` is preset to the first.
template <int R>
void rule_action(const std::int32_t* rhs, std::int32_t last, std::int32_t& result) {
    if constexpr (R == YYRULE_LINE)
        out_value_line(rhs[1]);
    else if constexpr (R == YYRULE_ADD)
        result = wrap_add(rhs[0], last);
    else if constexpr (R == YYRULE_SUBTRACT)
        result = wrap_sub(rhs[0], last);
    else if constexpr (R == YYRULE_MULTIPLY)
        result = wrap_mul(rhs[0], last);
    else if constexpr (R == YYRULE_DIVIDE)
        result = checked_div(rhs[0], last);
    else if constexpr (R == YYRULE_PARENS)
        result = rhs[1];
    else
        static_assert(yy_keeps_first_value(R), "rule_action has no action for this rule: write one here, or list "
                                               "the rule in yy_keeps_first_value");
}

// The two stacks, the number of entries each can hold, and the number in use.
struct Stacks {
    std::int16_t* states;
    std::int32_t* values;  // values[i] belongs to states[i]; values[0] holds none
    int capacity;
};

// Reduces by rule R. The result is preset to the first right-hand value, and the rule's action
// runs. The right-hand side is popped from the stacks whose tops are `next` and `vnext` (one past
// the top entry). Returns the goto's step from the state the pop exposes, the result in `value`.
// Instantiated once per rule, so every lookup on R folds to a constant.
//
// RULES is the set of rules of the dispatch the call is made from (below): a case for a rule
// that the dispatch's kind of step never reduces does not build.
//
// With SHIFTED, the last right-hand symbol is the lookahead, shifted into the state that reduces
// by R without that state being pushed: its value is yylval, and the rule pops one entry less.
template <int R, bool SHIFTED, unsigned RULES>
YyStep reduce(std::int16_t*& next, std::int32_t*& vnext, std::int32_t& value) {
    static_assert((RULES >> R & 1) != 0, "a case of a dispatch for a rule that its kind of step does not reduce");
    constexpr int n = yyrule_length[R];
    constexpr int popped = SHIFTED ? n - 1 : n;
    const std::int32_t* rhs = vnext - popped;
    std::int32_t result = 0;  // an empty rule's result is never read
    if constexpr (n > 0)
        result = rhs[0];
    rule_action<R>(rhs, SHIFTED ? yylval : n > 0 ? rhs[n - 1] : 0, result);
    next -= popped;
    vnext -= popped;
    value = result;
    return yy_dense.go[yyrule_lhs[R] - YYFIRST_NONTERMINAL][next[-1]];
}

// The rules each of the two dispatches on a step's rule handles (in yyparse), as sets: bit r for
// rule r. Each set must be the rules the tables reduce in that kind of step, and each dispatch
// has a case for each rule of its set: a rule added to the tables and not to a dispatch does not
// build.
constexpr unsigned rule_set(std::initializer_list<int> rules) {
    unsigned set = 0;
    for (int r : rules)
        set |= 1u << r;
    return set;
}
// Right after the shift of their last symbol, as one step.
constexpr unsigned RULES_AFTER_SHIFT = rule_set({YYRULE_LINE, YYRULE_MULTIPLY, YYRULE_DIVIDE, YYRULE_PARENS});
static_assert(RULES_AFTER_SHIFT == YY_RULES_AFTER_SHIFT,
              "RULES_AFTER_SHIFT lists exactly the rules that the tables reduce right after a shift");
// On a lookahead, or at once after a goto.
constexpr unsigned RULES_ON_THEIR_OWN =
    rule_set({YYRULE_INPUT, YYRULE_NO_LINES, YYRULE_ADD, YYRULE_SUBTRACT, YYRULE_MULTIPLY, YYRULE_DIVIDE});
static_assert(RULES_ON_THEIR_OWN == YY_RULES_ON_THEIR_OWN,
              "RULES_ON_THEIR_OWN lists exactly the rules that the tables reduce on a lookahead or after a goto");

// Grows both stacks to twice their capacity, at most YYMAXDEPTH, copying the `depth` entries in
// use; the new storage is recorded in `grown` and the earlier storage stays until yyparse
// returns. A capacity of 0 in the result means the limit is reached or no storage could be had.
[[gnu::noinline]] Stacks grow_stacks(Stacks old, int depth, void** grown) {
    if (old.capacity >= YYMAXDEPTH)
        return {nullptr, nullptr, 0};
    int wanted = old.capacity * 2 < YYMAXDEPTH ? old.capacity * 2 : YYMAXDEPTH;
    void* more_states = std::malloc(sizeof(std::int16_t) * static_cast<size_t>(wanted));
    void* more_values = std::malloc(sizeof(std::int32_t) * static_cast<size_t>(wanted));
    grown[0] = more_states;
    grown[1] = more_values;
    if (more_states == nullptr || more_values == nullptr)
        return {nullptr, nullptr, 0};
    yystack_copy(old.states, more_states, depth * static_cast<long>(sizeof(std::int16_t)));
    yystack_copy(old.values, more_values, depth * static_cast<long>(sizeof(std::int32_t)));
    return {static_cast<std::int16_t*>(more_states), static_cast<std::int32_t*>(more_values), wanted};
}

}  // namespace

int yyparse() {
    std::int16_t state_store[YYINITDEPTH];
    std::int32_t value_store[YYINITDEPTH];
    Stacks stacks{state_store, value_store, YYINITDEPTH};
    void* grown[2 * max_growths()] = {};  // storage of grown stacks, released only on return
    int generations = 0;

    // Stack tops as pointers one past the top entry; `limit` is where the state stack is full.
    std::int16_t* next = stacks.states;
    std::int32_t* vnext = stacks.values;
    const std::int16_t* limit = stacks.states + stacks.capacity;

    // The lookahead's symbol lives in a local while the parse runs, translated once per token;
    // YYSYMBOL_NONE while no lookahead is held. Its code is kept for yychar, brought up to date on
    // return. Symbols and states are held pointer-wide, so that they index the tables without
    // being widened first.
    int lookahead = YYEMPTY;
    std::ptrdiff_t symbol = YYSYMBOL_NONE;
    int result;
    yynerrs = 0;

    // A push is made where each kind of step ends. These are written once and inlined wherever
    // they are used, so that the stack tops stay in registers.
    //
    // After the push that filled the stacks (`next` one past it), they grow; false at the limit.
    auto grow = [&]() __attribute__((always_inline)) {
        int depth = static_cast<int>(next - stacks.states);
        Stacks more = grow_stacks(stacks, depth, grown + generations);
        if (more.capacity == 0)
            return false;
        generations += 2;
        stacks = more;
        next = stacks.states + depth;
        vnext = stacks.values + depth;
        limit = stacks.states + stacks.capacity;
        return true;
    };
    // Pushes a state with its value; false when the stacks have reached their limit.
    auto push = [&](std::ptrdiff_t state, std::int32_t value) __attribute__((always_inline)) {
        *next++ = static_cast<std::int16_t>(state);
        *vnext++ = value;
        return next != limit || grow();
    };

    // The bottom entry, the start state, whose value slot holds no value.
    push(0, 0);
    static_assert(YYINITDEPTH > 1, "the bottom entry leaves room");
    // Each pass makes one step: the state on top reduces at once by `rule`, or, with no rule
    // (YYRULE_NONE), the lookahead decides. Every reduction ends in the push of its goto, at
    // push_goto. The dispatches are switches: as compare chains they cost some 3 % more time.
    int rule = yy_entering(0).rule;
    for (;;) {
        YyStep step;  // what the lookahead decides, then the goto after the reduction
        std::int32_t value;
        if (rule == YYRULE_NONE) {
            if (symbol == YYSYMBOL_NONE) {
                lookahead = yylex();
                if (lookahead < 0)
                    lookahead = 0;  // any code below 0 (the scanner returns none) ends the input too
                symbol = symbol_of(lookahead);
            }
            step = yy_dense.action[next[-1]][symbol];
            if (yy_is_shift(step)) {
                // Its state waits for the next lookahead.
                if (symbol != YYSYMBOL_END) [[likely]] {
                    symbol = YYSYMBOL_NONE;
                } else if (step.state == YYFINAL) {  // the end of input is never consumed
                    result = 0;
                    break;
                }
                if (!push(step.state, yylval)) [[unlikely]]
                    goto overflow;
                continue;
            }
            rule = step.rule;
            if (yy_is_shift_and_reduce(step)) {
                // If the push of the state between the shift and the reduction would fill the
                // stacks, it is made, and the stacks grow (or reach their limit) as they would
                // step by step; the reduction pops it.
                symbol = YYSYMBOL_NONE;
                if (next + 1 == limit) [[unlikely]] {
                    if (!push(yy_state_shifted(step), yylval))
                        goto overflow;
                    --next;
                    --vnext;
                }
                static_assert(std::popcount(RULES_AFTER_SHIFT) == 4, "a case below for each rule of RULES_AFTER_SHIFT");
                switch (rule) {
                case YYRULE_PARENS: step = reduce<YYRULE_PARENS, true, RULES_AFTER_SHIFT>(next, vnext, value); break;
                case YYRULE_LINE: step = reduce<YYRULE_LINE, true, RULES_AFTER_SHIFT>(next, vnext, value); break;
                case YYRULE_MULTIPLY: step = reduce<YYRULE_MULTIPLY, true, RULES_AFTER_SHIFT>(next, vnext, value); break;
                case YYRULE_DIVIDE: step = reduce<YYRULE_DIVIDE, true, RULES_AFTER_SHIFT>(next, vnext, value); break;
                default: __builtin_unreachable();
                }
                goto push_goto;
            }
        }
        static_assert(std::popcount(RULES_ON_THEIR_OWN) == 6, "a case below for each rule of RULES_ON_THEIR_OWN");
        switch (rule) {
        case YYRULE_ADD: step = reduce<YYRULE_ADD, false, RULES_ON_THEIR_OWN>(next, vnext, value); break;
        case YYRULE_SUBTRACT: step = reduce<YYRULE_SUBTRACT, false, RULES_ON_THEIR_OWN>(next, vnext, value); break;
        case YYRULE_MULTIPLY: step = reduce<YYRULE_MULTIPLY, false, RULES_ON_THEIR_OWN>(next, vnext, value); break;
        case YYRULE_DIVIDE: step = reduce<YYRULE_DIVIDE, false, RULES_ON_THEIR_OWN>(next, vnext, value); break;
        case YYRULE_NO_LINES: step = reduce<YYRULE_NO_LINES, false, RULES_ON_THEIR_OWN>(next, vnext, value); break;
        case YYRULE_INPUT: step = reduce<YYRULE_INPUT, false, RULES_ON_THEIR_OWN>(next, vnext, value); break;
        case YYRULE_NONE:  // a syntax error: reported once, it ends the parse (see has_error_action)
            ++yynerrs;
            yyerror(YY_MSG_PARSE_ERROR);
            result = 1;
            goto done;
        default: __builtin_unreachable();
        }
    push_goto:
        if (!push(step.state, value)) [[unlikely]]
            goto overflow;
        rule = step.rule;
    }
    goto done;

overflow:
    yyerror(YY_MSG_STACK_OVERFLOW);
    result = 2;
done:
    yychar = symbol == YYSYMBOL_NONE ? YYEMPTY : lookahead;
    for (void* storage : grown)
        std::free(storage);
    return result;
}
