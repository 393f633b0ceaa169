// Differential test: thousands of random lines, run through the built intcalc in batches, must give
// the standard output, standard error and exit status of the small model below; lines whose every
// value fits in 32 bits are checked against bc as well. Seed: INTCALC_DIFF_SEED (default 1).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace {

using namespace std::string_literals;

struct Outcome { std::string out, err; int status; bool operator==(const Outcome&) const = default; };
void PrintTo(const Outcome& o, std::ostream* os) { *os << o.status << ' ' << testing::PrintToString(o.out + o.err); }
struct Stop { const char* message; int status; };

// The model: recursive descent over the whole input, arithmetic in 64 bits cut to 32. `exact` stays
// true while no literal or value leaves the 32-bit range (then bc must agree).
struct Model {
    std::string s;  // the input as the scanner sees it
    size_t i = 0;
    int tok = -1;   // -1 none scanned yet; 'n' number (value in val), 'e' end, '?' stray byte, else the byte
    std::int64_t val = 0;
    bool exact = true;

    std::int64_t cut(std::int64_t v) {
        exact = exact && v == static_cast<std::int32_t>(v);
        return static_cast<std::int32_t>(v & 0xffffffff);
    }
    int peek() {  // scans a token only when the parse needs it, as the calculator does
        while (tok < 0 && i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        if (tok >= 0) return tok;
        if (i == s.size() || s[i] == 0) return tok = 'e';
        if (s[i] < '0' || s[i] > '9') return tok = "\n()+-*/"s.find(s[i]) == std::string::npos ? '?' : s[i], ++i, tok;
        std::uint64_t v = 0, start = i, huge = 0;
        for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
            huge = huge || v >= UINT64_MAX / 10 + 1;  // v * 10 would reach 2^64
            v = v * 10 + static_cast<std::uint64_t>(s[i] - '0');
            exact = exact && v <= INT32_MAX;  // v grows until it first wraps, so this sees every value
        }
        if (i - start >= 16382) throw Stop{"fatal error - scanner input buffer overflow", 1};
        val = huge ? -1 : static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
        return tok = 'n';
    }
    void take(int t) { if (peek() != t) throw Stop{"parse error", 0}; tok = -1; }
    std::int64_t operand(int level) {  // level 0: sums, 1: products, 2: a number or a group
        if (level == 2 && peek() == 'n') return take('n'), val;
        if (level == 2) { take('('); std::int64_t v = operand(0); return take(')'), v; }
        for (std::int64_t v = operand(level + 1), r;;) {
            int op = peek();
            if ((level ? "*/"s : "+-"s).find(static_cast<char>(op)) == std::string::npos) return v;
            take(op), r = operand(level + 1);  // a quotient is taken as soon as its divisor is complete
            if (op == '/' && r == 0) throw Stop{"division by zero", 1};
            if (op == '/' && v == INT32_MIN && r == -1) throw Stop{"division overflow", 1};
            v = cut(op == '+' ? v + r : op == '-' ? v - r : op == '*' ? v * r : v / r);
        }
    }
    Outcome run(const std::string& in) {  // CR bytes vanish, 0x1A ends the input
        for (char c : in.substr(0, in.find('\x1a'))) if (c != '\r') s += c;
        std::string out;
        try {
            for (std::int64_t v; peek() != 'e'; out += std::to_string(v) + "\n") v = operand(0), take('\n');
            return {out, "", 0};
        } catch (const Stop& stop) { return {out, std::string(stop.message) + "\n", stop.status}; }
    }
};

// Runs `command` with `input` on standard input (a file; the case files cover reads cut short).
Outcome run(const std::string& command, const std::string& input) {
    std::string in = testing::TempDir() + "intcalc-diff-" + std::to_string(getpid()), out = in + ".out", err = in + ".err";
    std::ofstream(in, std::ios::binary) << input;
    int status = std::system((command + " < " + in + " > " + out + " 2> " + err).c_str());
    std::stringstream o, e;
    o << std::ifstream(out, std::ios::binary).rdbuf(), e << std::ifstream(err, std::ios::binary).rdbuf();
    for (const std::string& f : {in, out, err}) std::remove(f.c_str());
    return {o.str(), e.str(), WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status)};
}

struct Generator {
    const char* seed = std::getenv("INTCALC_DIFF_SEED");
    std::mt19937_64 rng{seed ? std::strtoull(seed, nullptr, 10) : 1};
    int pick(int n) { return static_cast<int>(rng() % static_cast<std::uint64_t>(n)); }
    std::string literal() {  // mostly small; else near 2^31, 2^32 or 2^64, or a run of up to 40 digits
        static const char* const edges[] = {"2147483647", "2147483648", "4294967295", "4294967296", "000000000012",
            "1844674407370955161", "1844674407370955162", "18446744073709551615", "18446744073709551616"};
        std::string s = pick(5) ? std::to_string(pick(4) ? pick(100) : pick(70000)) : pick(2) ? edges[pick(9)] : "";
        for (int n = s.empty() ? 1 + pick(40) : 0; n > 0; --n) s += static_cast<char>('0' + pick(10));
        return std::string(pick(4) ? 0 : 1, " \t"[pick(2)]) + s + std::string(pick(4) ? 0 : 1, ' ');
    }
    std::string expr(int depth) {
        if (depth == 0 || pick(3) == 0) return literal();
        std::string s = expr(depth - 1);
        return pick(5) == 0 ? "(" + s + ")" : (s += "+-*/"[pick(4)]) += expr(depth - 1);
    }
    std::string line() {  // mostly valid; now and then deeply nested, a stray byte or a CR inside
        std::string s, open = pick(2) ? "(" : literal() + "+-*/"[pick(4)] + "(";
        do {  // nesting with and without a value held at each level, deep enough to grow the stacks
            std::string outer(static_cast<size_t>(pick(3)), '('), close(outer.size(), ')');
            for (int depth = pick(40) ? 0 : pick(3000); depth > 0; --depth) outer += open, close += ')';
            s = outer + expr(pick(6)) + close;
        } while (!Model().run(s + "\n").err.empty() && pick(8));  // mostly no division fault
        for (int odds : {150, 30})
            if (pick(odds) == 0) s.insert(rng() % (s.size() + 1), 1, odds == 30 ? '\r' : static_cast<char>(pick(256)));
        return s + (pick(10) ? "\n" : "\r\n");
    }
    std::string batch() {  // random lines, one of these endings (or no final line feed), maybe more lines
        static const std::string endings[] = {"", "", "1/0\n", "(0-2147483647-1)/(0-1)\n", "\n", "-5\n",
            "7\n\x1a" "8\n", "4*", "2\n\0003\n"s, std::string(16382, '7') + "\n", std::string(16390, '9')};
        std::string in;
        for (int n = 1 + pick(100); n > 0; --n) in += line();
        int e = pick(12);
        if (e == 11) return in.pop_back(), in;  // no final line feed
        in += endings[e];
        for (int n = pick(2) * pick(60); n > 0; --n) in += line();  // left unread after most endings
        return in;
    }
};

TEST(Differential, RandomBatchesMatchTheModel) {
    Generator g;
    for (int n = 0; n < 100; ++n) {
        std::string input = g.batch();
        ASSERT_EQ(run(INTCALC_BINARY, input), Model().run(input)) << "input " << testing::PrintToString(input);
    }
}

TEST(Differential, InRangeLinesMatchBc) {
    if (std::system("command -v bc > /dev/null") != 0) GTEST_SKIP() << "bc is not installed";
    Generator g;
    std::string lines;
    for (int kept = 0; kept < 2000;) {
        std::string line = g.expr(1 + g.pick(5)) + "\n";
        Model m;
        if (m.run(line).err.empty() && m.exact) kept++, lines += line;
    }
    Outcome calc = run(INTCALC_BINARY, lines), bc = run("BC_LINE_LENGTH=0 bc -q", "scale=0\n" + lines);
    EXPECT_EQ(calc.err + bc.err, "");
    std::istringstream input(lines), got(calc.out), want(bc.out);
    for (std::string line, a, b; std::getline(input, line);)
        ASSERT_EQ(std::getline(got, a) ? a : "(none)", std::getline(want, b) ? b : "(none)") << "input: " << line;
}

}  // namespace
