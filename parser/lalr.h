// LALR(1) tables computed from the grammar (parser/grammar.h) when the program is compiled: the
// LR(0) item sets, their lookaheads, the actions with conflicts resolved by precedence, default
// reductions, and the packed form the engine's tables are made from. Constant; nothing typed in.
#pragma once

#include <cstdint>

#include "parser/grammar.h"

constexpr int yy_lhs_of(int r) { return yy_grammar[r].lhs; }
constexpr int yy_length_of(int r) { return yy_grammar[r].length; }
constexpr bool yy_is_terminal(int x) { return x < YYFIRST_NONTERMINAL; }

using YyTerminals = std::uint32_t;                 // a set of terminals: bit t for terminal t
inline constexpr YyTerminals YY_EMPTY = 1u << 31;  // in a FIRST set: the text may be empty
static_assert(YYSYMBOLS < 31, "a set of terminals is held in 32 bits, with the mark of the empty text");

// FIRST: the terminals that may begin rule r's right side from position k, then `after` if all
// of it may be empty. first[n]: the FIRST set of nonterminal n (its index from 0).
constexpr YyTerminals yy_first_of(const YyTerminals* first, int r, int k, YyTerminals after) {
    YyTerminals set = 0;
    for (; k < yy_length_of(r); ++k) {
        int x = yy_grammar[r].rhs[k];
        if (yy_is_terminal(x))
            return set | 1u << x;
        set |= first[x - YYFIRST_NONTERMINAL] & ~YY_EMPTY;
        if ((first[x - YYFIRST_NONTERMINAL] & YY_EMPTY) == 0)
            return set;
    }
    return set | after;
}
struct YyFirstSets { YyTerminals of[YYNONTERMINALS]; };
constexpr YyFirstSets yy_first_sets() {
    YyFirstSets f{};
    for (bool grew = true; grew;) {
        grew = false;
        for (int r = 1; r < YYRULES; ++r) {
            YyTerminals& set = f.of[yy_lhs_of(r) - YYFIRST_NONTERMINAL];
            YyTerminals more = set | yy_first_of(f.of, r, 0, YY_EMPTY);
            grew |= more != set;
            set = more;
        }
    }
    return f;
}
inline constexpr YyFirstSets yy_first = yy_first_sets();

// ---------------------------------------------------------------------------------------------
// The LR(0) automaton. An item is a rule with a dot in its right side, and the lookaheads the
// LALR(1) step finds for it; a state is a set of items, its kernel (those that entered it) first.

inline constexpr int YYMAX_STATES = 48;  // room for the construction: more fails the build
inline constexpr int YYMAX_ITEMS = 32;   // items in one state

struct YyItem { int rule, dot; YyTerminals lookahead; };
struct YyItemSet { YyItem item[YYMAX_ITEMS]; int items, kernel; };
constexpr int yy_find_item(const YyItemSet& set, int rule, int dot) {
    for (int i = 0; i < set.items; ++i)
        if (set.item[i].rule == rule && set.item[i].dot == dot)
            return i;
    return -1;
}
constexpr int yy_after_dot(const YyItem& item) {  // the symbol after the dot; -1 at the end
    return item.dot < yy_length_of(item.rule) ? yy_grammar[item.rule].rhs[item.dot] : -1;
}

// Closure: for every item with a nonterminal after its dot, the items of that nonterminal's rules
// with the dot at their start. False when YYMAX_ITEMS is too small.
constexpr bool yy_close(YyItemSet& set) {
    for (int i = 0; i < set.items; ++i)
        for (int r = 1; r < YYRULES; ++r)
            if (yy_lhs_of(r) == yy_after_dot(set.item[i]) && yy_find_item(set, r, 0) < 0) {
                if (set.items == YYMAX_ITEMS)
                    return false;
                set.item[set.items++] = {r, 0, 0};
            }
    return true;
}

// Goto: the kernel of the state that `set` leads to on symbol x.
constexpr YyItemSet yy_goto_kernel(const YyItemSet& set, int x) {
    YyItemSet to{};
    for (int i = 0; i < set.items; ++i)
        if (yy_after_dot(set.item[i]) == x)
            to.item[to.items++] = {set.item[i].rule, set.item[i].dot + 1, 0};
    to.kernel = to.items;
    return to;
}
constexpr bool yy_same_kernel(const YyItemSet& a, const YyItemSet& b) {
    for (int i = 0; i < a.kernel; ++i)
        if (int j = yy_find_item(b, a.item[i].rule, a.item[i].dot); j < 0 || j >= b.kernel)
            return false;
    return a.kernel == b.kernel;
}

enum YyActionKind : int { YY_NO_ACTION, YY_SHIFT, YY_REDUCE, YY_ACCEPT, YY_ERROR };
struct YyAction { YyActionKind kind; int arg; };  // arg: the state shifted into, the rule reduced by

// What the construction computes: the states, the shift or goto of each on each symbol (-1:
// none), the action of each on each terminal (its default reduction included) and its default.
struct YyLalr {
    YyItemSet state[YYMAX_STATES];
    int next[YYMAX_STATES][YYSYMBOLS];
    YyAction action[YYMAX_STATES][YYFIRST_NONTERMINAL];
    int default_rule[YYMAX_STATES];  // YYRULE_NONE: a syntax error
    int states;
    bool fits;                            // false: YYMAX_STATES or YYMAX_ITEMS is too small
    int conflict_state, conflict_symbol;  // the first conflict precedence leaves unresolved; -1: none
};

// The states, from the start state on (the accepting rule's item), each numbered as it is first
// reached, the symbols of a state tried in the order of their numbers.
constexpr void yy_build_states(YyLalr& a) {
    a.states = a.state[0].items = a.state[0].kernel = 1;
    a.fits = yy_close(a.state[0]);
    for (int s = 0; s < a.states && a.fits; ++s)
        for (int x = 0; x < YYSYMBOLS && a.fits; ++x) {
            YyItemSet to = yy_goto_kernel(a.state[s], x);
            int t = 0;
            while (t < a.states && !yy_same_kernel(a.state[t], to))
                ++t;
            if (to.items > 0 && t == a.states) {
                a.fits = a.states < YYMAX_STATES && yy_close(to);
                a.state[a.states++ % YYMAX_STATES] = to;
            }
            a.next[s][x] = to.items > 0 ? t : -1;
        }
}

// LALR(1) lookaheads, propagated until nothing changes: an item [A: u . X w, L] gives what may
// follow X there, FIRST(w L), to the items of X's rules in its state, and L to the item
// [A: u X . w] of the state that X leads to.
constexpr void yy_propagate_lookaheads(YyLalr& a) {
    for (bool grew = true; grew;) {
        grew = false;
        auto add = [&grew](YyItem& item, YyTerminals l) { grew |= (l & ~item.lookahead) != 0; item.lookahead |= l; };
        for (int s = 0; s < a.states; ++s)
            for (int i = 0; i < a.state[s].items; ++i) {
                const YyItem item = a.state[s].item[i];
                int x = yy_after_dot(item);
                if (x < 0)
                    continue;
                for (YyItem& j : a.state[s].item)
                    if (j.dot == 0 && yy_lhs_of(j.rule) == x)
                        add(j, yy_first_of(yy_first.of, item.rule, item.dot + 1, item.lookahead));
                YyItemSet& to = a.state[a.next[s][x]];
                add(to.item[yy_find_item(to, item.rule, item.dot + 1)], item.lookahead);
            }
    }
}

// ---------------------------------------------------------------------------------------------
// Actions. A shift/reduce conflict is resolved by the precedence of the token and of the rule
// (the higher wins; on one level, left associativity reduces, right shifts, and a token that
// associates with neither is a syntax error there); every other conflict is left unresolved.

struct YyLevel { int level; YyAssociativity associativity; };  // levels from 1, the lowest; 0: no precedence
constexpr YyLevel yy_level_of_token(int token) {  // a token code, or a name of a level
    for (int l = 0; l < static_cast<int>(sizeof yy_precedence / sizeof yy_precedence[0]); ++l)
        for (int t : yy_precedence[l].tokens)
            if (t != 0 && t == token)
                return {l + 1, yy_precedence[l].associativity};
    return {0, YY_LEFT};
}
constexpr int yy_token_of(int terminal) { return terminal - yy_token_symbol(EOL) + EOL; }
constexpr YyLevel yy_level_of_rule(int r) {
    if (yy_grammar[r].precedence != 0)
        return yy_level_of_token(yy_grammar[r].precedence);
    for (int k = yy_length_of(r) - 1; k >= 0; --k)
        if (int x = yy_grammar[r].rhs[k]; yy_is_terminal(x))
            return yy_level_of_token(yy_token_of(x));
    return {0, YY_LEFT};
}

static_assert([] {
    for (const YyGrammarRule& g : yy_grammar)
        if (g.precedence != 0 && yy_level_of_token(g.precedence).level == 0)
            return false;
    return true;
}(), "every precedence that a rule names is a level of yy_precedence");

// The action on terminal t once a reduction by rule r meets `held` (a shift, or nothing yet);
// YY_NO_ACTION when the two conflict unresolved.
constexpr YyAction yy_resolve(YyAction held, int r, int t) {
    if (held.kind == YY_NO_ACTION)
        return {YY_REDUCE, r};
    YyLevel token = yy_level_of_token(yy_token_of(t)), rule = yy_level_of_rule(r);
    if (held.kind != YY_SHIFT || token.level == 0 || rule.level == 0)
        return {YY_NO_ACTION, 0};
    if (token.level == rule.level && token.associativity == YY_NONASSOC)
        return {YY_ERROR, 0};
    bool shift = token.level > rule.level || (token.level == rule.level && token.associativity == YY_RIGHT);
    return shift ? held : YyAction{YY_REDUCE, r};
}

constexpr YyLalr yy_construct() {
    YyLalr a{};
    yy_build_states(a);
    yy_propagate_lookaheads(a);
    a.conflict_state = a.conflict_symbol = -1;
    for (int s = 0; s < a.states; ++s) {
        int reductions[YYRULES] = {};
        for (int x = 0; x < YYFIRST_NONTERMINAL; ++x) {
            YyAction act{a.next[s][x] >= 0 ? YY_SHIFT : YY_NO_ACTION, a.next[s][x]};
            for (int i = 0; i < a.state[s].items; ++i) {
                const YyItem& item = a.state[s].item[i];
                if (yy_after_dot(item) >= 0)
                    continue;
                if (item.rule == YYRULE_NONE && x == YYSYMBOL_END)
                    act = {YY_ACCEPT, 0};
                if (item.rule == YYRULE_NONE || (item.lookahead & 1u << x) == 0)
                    continue;
                act = yy_resolve(act, item.rule, x);
                if (act.kind == YY_NO_ACTION && a.conflict_state < 0) {
                    a.conflict_state = s;
                    a.conflict_symbol = x;
                }
            }
            if (act.kind == YY_REDUCE)
                ++reductions[act.arg];
            a.action[s][x] = act;
        }
        // The default: the reduction taken on the most terminals (the lowest rule of a tie), then
        // taken also on every terminal that has no action.
        int most = YYRULE_NONE;
        for (int r = 1; r < YYRULES; ++r)
            most = reductions[r] > reductions[most] ? r : most;
        a.default_rule[s] = most;
        for (YyAction& act : a.action[s])
            if (act.kind == YY_NO_ACTION)
                act = {most == YYRULE_NONE ? YY_ERROR : YY_REDUCE, most};
    }
    return a;
}
inline constexpr YyLalr yy_lalr = yy_construct();
static_assert(yy_lalr.fits, "the grammar needs more states or items than YYMAX_STATES and YYMAX_ITEMS hold");

// A conflict left unresolved fails the build here, naming its state (as numbered here) and symbol.
template <int STATE, int SYMBOL> struct YyUnresolvedConflict {
    static_assert(STATE < 0, "the grammar has a conflict that precedence does not resolve, at the state and symbol "
                             "of this instantiation");
};
template struct YyUnresolvedConflict<yy_lalr.conflict_state, yy_lalr.conflict_symbol>;

// ---------------------------------------------------------------------------------------------
// The packed form. A state's row holds its actions but its default, a nonterminal's its gotos but
// the most frequent; each row goes into one comb at the first base where its entries find free
// slots. Rows alike share a base, others never do (a slot's check holds only the symbol or state,
// not the row). An action entry is a state shifted into (`final`, one past the last, accepts), a
// negated rule, or YYFLAG, a syntax error; a row with no entries has the base YYFLAG.

inline constexpr int YYFLAG = -32768;
inline constexpr int YYMAX_PACKED = 256;
inline constexpr int YY_NO_ENTRY = YYFLAG - 1;

struct YyPacked {
    std::int16_t action_base[YYMAX_STATES], default_rule[YYMAX_STATES];
    std::int16_t goto_base[YYNONTERMINALS], default_goto[YYNONTERMINALS];
    std::int16_t packed[YYMAX_PACKED], check[YYMAX_PACKED];
    int last;  // the last index in use; -1: the comb is too small
    int states, final;
};

// The entry of row `row` (the states', then the nonterminals') for `key`, a symbol or a state.
constexpr int yy_row_entry(const YyPacked& p, int row, int key) {
    const YyLalr& a = yy_lalr;
    if (row >= a.states) {
        int to = key < a.states ? a.next[key][YYFIRST_NONTERMINAL + row - a.states] : -1;
        return to < 0 || to == p.default_goto[row - a.states] ? YY_NO_ENTRY : to;
    }
    YyAction act = key < YYFIRST_NONTERMINAL ? a.action[row][key] : YyAction{YY_NO_ACTION, 0};
    if (act.kind == YY_NO_ACTION || ((act.kind == YY_REDUCE || act.kind == YY_ERROR) && act.arg == a.default_rule[row]))
        return YY_NO_ENTRY;
    return act.kind == YY_SHIFT ? act.arg : act.kind == YY_ACCEPT ? p.final : act.kind == YY_REDUCE ? -act.arg : YYFLAG;
}

constexpr YyPacked yy_pack() {
    const YyLalr& a = yy_lalr;
    YyPacked p{};
    p.states = p.final = a.states;
    for (std::int16_t& c : p.check)
        c = -1;
    for (int s = 0; s < a.states; ++s)
        p.default_rule[s] = static_cast<std::int16_t>(a.default_rule[s]);
    for (int n = 0; n < YYNONTERMINALS; ++n) {
        int count[YYMAX_STATES] = {};
        for (int s = 0; s < a.states; ++s)
            if (int to = a.next[s][YYFIRST_NONTERMINAL + n]; to >= 0 && ++count[to] > count[p.default_goto[n]])
                p.default_goto[n] = static_cast<std::int16_t>(to);
    }
    constexpr int KEYS = YYMAX_STATES;  // every symbol and every state is below it
    bool taken[YYMAX_PACKED + KEYS] = {};  // the bases in use, from -KEYS
    for (int row = 0; row < a.states + YYNONTERMINALS; ++row) {
        std::int16_t& base = row < a.states ? p.action_base[row] : p.goto_base[row - a.states];
        base = static_cast<std::int16_t>(YYFLAG);
        bool empty = true;
        for (int k = 0; k < KEYS; ++k)
            empty = empty && yy_row_entry(p, row, k) == YY_NO_ENTRY;
        for (int q = row < a.states ? 0 : a.states; q < row && !empty && base == YYFLAG; ++q) {
            bool alike = true;
            for (int k = 0; k < KEYS; ++k)
                alike = alike && yy_row_entry(p, q, k) == yy_row_entry(p, row, k);
            if (alike)
                base = q < a.states ? p.action_base[q] : p.goto_base[q - a.states];
        }
        for (int b = -KEYS; base == YYFLAG && !empty; ++b) {
            bool free = b + KEYS < YYMAX_PACKED && !taken[b + KEYS];
            for (int k = 0; k < KEYS && free; ++k)
                free = yy_row_entry(p, row, k) == YY_NO_ENTRY || (b + k >= 0 && p.check[b + k] < 0);
            if (!free && b + KEYS < YYMAX_PACKED)
                continue;
            base = static_cast<std::int16_t>(b);
            taken[b + KEYS] = true;
            for (int k = 0; k < KEYS && free; ++k)
                if (int e = yy_row_entry(p, row, k); e != YY_NO_ENTRY) {
                    p.packed[b + k] = static_cast<std::int16_t>(e);
                    p.check[b + k] = static_cast<std::int16_t>(k);
                    p.last = b + k > p.last ? b + k : p.last;
                }
            p.last = free ? p.last : -1;  // no room left
        }
    }
    return p;
}
inline constexpr YyPacked yy_packed = yy_pack();
static_assert(yy_packed.last >= 0, "the packed tables need more room than YYMAX_PACKED");

// The action of `state` on terminal `symbol`, read from packed tables: a positive entry shifts
// into that state (`final` accepts), a negative one reduces by the rule it negates, 0 is a syntax
// error. The printed tables (parser/printed.h) are read by the same lookups.
constexpr int yy_packed_action(const YyPacked& p, int state, int symbol) {
    int base = p.action_base[state], i = base + symbol;
    if (base != YYFLAG && i >= 0 && i <= p.last && p.check[i] == symbol)
        return p.packed[i] == YYFLAG ? 0 : p.packed[i];
    return -p.default_rule[state];
}
// The state the goto on nonterminal `symbol` leads to from `state`.
constexpr int yy_packed_goto(const YyPacked& p, int symbol, int state) {
    int base = p.goto_base[symbol - YYFIRST_NONTERMINAL], i = base + state;
    if (base != YYFLAG && i >= 0 && i <= p.last && p.check[i] == state)
        return p.packed[i];
    return p.default_goto[symbol - YYFIRST_NONTERMINAL];
}

// The packed tables take the construction's action in every state on every terminal, and its
// goto wherever it has one.
static_assert([] {
    for (int s = 0; s < yy_lalr.states; ++s)
        for (int x = 0; x < YYSYMBOLS; ++x) {
            int to = yy_lalr.next[s][x];
            YyAction act = x < YYFIRST_NONTERMINAL ? yy_lalr.action[s][x] : YyAction{YY_REDUCE, yy_lalr.default_rule[s]};
            int want = act.kind == YY_SHIFT ? to : act.kind == YY_ACCEPT ? yy_packed.final : act.kind == YY_REDUCE ? -act.arg : 0;
            if (x < YYFIRST_NONTERMINAL || x == YYSYMBOL_BEYOND ? yy_packed_action(yy_packed, s, x) != want
                                                                : to >= 0 && yy_packed_goto(yy_packed, x, s) != to)
                return false;
        }
    return true;
}(), "the packed tables take the construction's actions and gotos");
