// Benchmark workloads: seeded generators of calculator input, shared by the workload generator
// program and the microbenchmarks. State: none; each call runs its own generator from its seed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace workload {

// Sizes are decimal: 1 MB is 1'000'000 bytes, as in the MB/s figures.
inline constexpr std::size_t MB = 1'000'000;

// splitmix64: fast, and the same stream on every machine for the same seed.
struct Rng {
    std::uint64_t state;

    std::uint64_t next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15u);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        return z ^ (z >> 31);
    }
    // Uniform in [lo, hi]; the modulo bias is irrelevant here.
    int range(int lo, int hi) { return lo + static_cast<int>(next() % static_cast<std::uint64_t>(hi - lo + 1)); }
    bool one_in(int n) { return next() % static_cast<std::uint64_t>(n) == 0; }
};

inline void put_number(std::string& out, Rng& rng, int digits, bool nonzero) {
    out += static_cast<char>((nonzero || digits > 1) ? '1' + rng.range(0, 8) : '0' + rng.range(0, 9));
    for (int i = 1; i < digits; ++i)
        out += static_cast<char>('0' + rng.range(0, 9));
}

inline char random_op(Rng& rng, bool with_divide) {
    static constexpr char OPS[] = "+-*/";
    return OPS[rng.range(0, with_divide ? 3 : 2)];
}

// Exact evaluator for the typical lines: 64-bit arithmetic, and no value at all when any step
// leaves the 32-bit range or divides by zero. Such lines are thrown away, so every kept line has
// the same value under wrap-around arithmetic as under exact arithmetic (bc's, with scale 0).
struct ExactEval {
    std::string_view s;
    std::size_t i = 0;

    void skip_blanks() {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
            ++i;
    }
    static bool fits(std::int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

    std::optional<std::int64_t> primary() {
        skip_blanks();
        if (s[i] == '(') {
            ++i;
            auto v = sum();
            skip_blanks();
            ++i;  // ')'
            return v;
        }
        std::int64_t v = 0;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9')
            v = v * 10 + (s[i++] - '0');
        return fits(v) ? std::optional(v) : std::nullopt;
    }
    std::optional<std::int64_t> product() {
        auto v = primary();
        for (;;) {
            skip_blanks();
            if (!v || i >= s.size() || (s[i] != '*' && s[i] != '/'))
                return v;
            char op = s[i++];
            auto r = primary();
            if (!r || (op == '/' && *r == 0))
                return std::nullopt;
            v = op == '*' ? *v * *r : *v / *r;  // C++ division truncates toward zero, as bc's
            if (!fits(*v))
                return std::nullopt;
        }
    }
    std::optional<std::int64_t> sum() {
        auto v = product();
        for (;;) {
            skip_blanks();
            if (!v || i >= s.size() || (s[i] != '+' && s[i] != '-'))
                return v;
            char op = s[i++];
            auto r = product();
            if (!r)
                return std::nullopt;
            v = op == '+' ? *v + *r : *v - *r;
            if (!fits(*v))
                return std::nullopt;
        }
    }
};

// One operand of a typical line: a number of 1-3 digits, now and then a parenthesised pair or
// triple.
inline void typical_operand(std::string& out, Rng& rng, bool blanks, int depth) {
    if (depth < 2 && rng.one_in(4)) {
        out += '(';
        int terms = rng.range(2, 3);
        for (int t = 0; t < terms; ++t) {
            if (t > 0)
                out += random_op(rng, true);
            typical_operand(out, rng, blanks, depth + 1);
        }
        out += ')';
        return;
    }
    put_number(out, rng, rng.range(1, 3), false);
    if (blanks && rng.one_in(3))
        out += rng.one_in(2) ? ' ' : '\t';
}

// W1, typical: lines like 123+456*(78-9)/3, 15 to 25 bytes with the line feed, one in sixteen
// with blanks; every intermediate value fits in 32 bits and no divisor is zero.
inline void typical(std::string& out, std::size_t bytes, std::uint64_t seed = 1) {
    Rng rng{seed};
    std::string line;
    while (true) {
        line.clear();
        bool blanks = rng.one_in(16);
        int terms = rng.range(3, 6);
        for (int t = 0; t < terms; ++t) {
            if (t > 0)
                line += random_op(rng, true);
            typical_operand(line, rng, blanks, 0);
        }
        if (line.size() + 1 < 15 || line.size() + 1 > 25 || !ExactEval{line}.sum())
            continue;
        line += '\n';
        if (out.size() + line.size() > bytes)
            return;
        out += line;
    }
}

// W2, long lines: about 1000 terms of 1-9 digits a line, one in ten a parenthesised group of 2-4;
// the arithmetic wraps. Every divisor is a plain number of 1-9 digits that is not zero, so no
// line divides by zero or overflows a division.
inline void long_lines(std::string& out, std::size_t bytes, std::uint64_t seed = 2) {
    Rng rng{seed};
    std::string line;
    while (true) {
        line.clear();
        int terms = rng.range(950, 1050);
        for (int t = 0; t < terms;) {
            char op = t > 0 ? random_op(rng, true) : 0;
            if (op != 0)
                line += op;
            if (op != '/' && rng.one_in(10)) {
                int group = rng.range(2, 4);
                line += '(';
                for (int g = 0; g < group; ++g) {
                    char inner = g > 0 ? random_op(rng, true) : 0;
                    if (inner != 0)
                        line += inner;
                    put_number(line, rng, rng.range(1, 9), inner == '/');
                }
                line += ')';
                t += group;
            } else {
                put_number(line, rng, rng.range(1, 9), op == '/');
                ++t;
            }
        }
        line += '\n';
        if (out.size() + line.size() > bytes)
            return;
        out += line;
    }
}

// W3, numbers only: one number of 1-10 digits a line, no leading zeros.
inline void numbers_only(std::string& out, std::size_t bytes, std::uint64_t seed = 3) {
    Rng rng{seed};
    std::string line;
    while (true) {
        line.clear();
        put_number(line, rng, rng.range(1, 10), false);
        line += '\n';
        if (out.size() + line.size() > bytes)
            return;
        out += line;
    }
}

// W4, nesting: every line nests parentheses 5000 deep. One level in eight opens as "n op (" and
// one in eight closes as ") op n" (a nonzero divisor when op is /); the innermost is a number.
// The parser's stacks reach about 5000 + 2 * 625 entries, below their limit of 10000.
inline constexpr int NEST_DEPTH = 5000;

inline void nesting(std::string& out, std::size_t bytes, std::uint64_t seed = 4) {
    Rng rng{seed};
    std::string line;
    while (true) {
        line.clear();
        for (int level = 0; level < NEST_DEPTH; ++level) {
            if (rng.one_in(8)) {
                put_number(line, rng, rng.range(1, 4), false);
                line += random_op(rng, false);  // a divisor here would be the group: never /
            }
            line += '(';
        }
        put_number(line, rng, rng.range(1, 4), false);
        for (int level = 0; level < NEST_DEPTH; ++level) {
            line += ')';
            if (rng.one_in(8)) {
                char op = random_op(rng, true);
                line += op;
                put_number(line, rng, rng.range(1, 4), op == '/');
            }
        }
        line += '\n';
        if (out.size() + line.size() > bytes)
            return;
        out += line;
    }
}

// The workloads by name, with their full sizes.
struct Kind {
    const char* name;
    const char* title;
    std::size_t full_bytes;
    void (*generate)(std::string&, std::size_t, std::uint64_t);
    std::uint64_t seed;
};

inline constexpr Kind KINDS[] = {
    {"W1", "typical", 50 * MB, typical, 1},
    {"W2", "long lines", 50 * MB, long_lines, 2},
    {"W3", "numbers only", 50 * MB, numbers_only, 3},
    {"W4", "nesting", 4 * MB, nesting, 4},
};

}  // namespace workload
