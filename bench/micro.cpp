// Microbenchmarks: the scanner alone (yylex to the end of input) and the scanner with the parser
// (yyparse), over 1 MB of each workload held in memory. State: one memory file per workload.
//
// The scanner sets itself up on its first call and keeps its buffer and end-of-input state for
// the life of the process, and there is no way to start it over; the parser's input ends with it.
// So every iteration runs in a fresh child process, as the calculator itself does: the child puts
// the workload's memory file on descriptor 0 (rewound), /dev/null on descriptor 1, and times
// itself from just before the first yylex (so the one-time set-up, a 16 KB allocation and the
// first read, is counted, once per pass over the input, as in a real run) to the end of input,
// the output flush included for yyparse. It hands the time back through a pipe; the fork and
// exit are not counted (manual time).
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>
#include <fcntl.h>

#include <chrono>
#include <cstdint>
#include <iterator>
#include <string>

#include "bench/workloads.h"
#include "parser/parser.h"
#include "runtime/output.h"
#include "scanner/scanner.h"

namespace {

constexpr std::size_t INPUT_BYTES = workload::MB;

struct Memfile {
    int fd;
    std::size_t bytes;
};

// The workload's first 1 MB (whole lines) in a memory file, made on first use.
Memfile input_of(int kind) {
    static Memfile files[std::size(workload::KINDS)] = {};
    Memfile& m = files[kind];
    if (m.bytes == 0) {
        std::string text;
        const workload::Kind& k = workload::KINDS[kind];
        k.generate(text, INPUT_BYTES, k.seed);
        m.fd = memfd_create(k.name, 0);
        if (m.fd < 0 || write(m.fd, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
            return {-1, 0};
        m.bytes = text.size();
    }
    return m;
}

std::int64_t now_ns() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch()).count();
}

// What a child sends back: its own time, and a count that shows the work was done.
struct ChildReport {
    std::int64_t ns;
    long count;  // tokens for the scanner, 0 for an accepted parse
};

enum Mode { SCAN, PARSE };

[[noreturn]] void child(int input_fd, int report_fd, Mode mode) {
    int null_fd = open("/dev/null", O_WRONLY);
    if (dup2(input_fd, 0) < 0 || lseek(0, 0, SEEK_SET) != 0 || null_fd < 0 || dup2(null_fd, 1) < 0)
        _exit(3);
    ChildReport r{};
    out_open();
    std::int64_t start = now_ns();
    if (mode == SCAN) {
        while (yylex() != 0)
            ++r.count;
    } else {
        r.count = yyparse();
        if (!out_flush())
            _exit(4);
    }
    r.ns = now_ns() - start;
    _exit(write(report_fd, &r, sizeof r) == sizeof r ? 0 : 5);
}

void run(benchmark::State& state, Mode mode) {
    int kind = static_cast<int>(state.range(0));
    Memfile input = input_of(kind);
    if (input.fd < 0) {
        state.SkipWithError("cannot make the memory file");
        return;
    }
    state.SetLabel(workload::KINDS[kind].title);
    long count = 0;
    for (auto _ : state) {
        int report[2];
        if (pipe(report) != 0) {
            state.SkipWithError("pipe failed");
            return;
        }
        pid_t pid = fork();
        if (pid == 0)
            child(input.fd, report[1], mode);
        close(report[1]);
        ChildReport r{};
        bool got = pid > 0 && read(report[0], &r, sizeof r) == sizeof r;
        close(report[0]);
        int status = 0;
        if (pid > 0)
            waitpid(pid, &status, 0);
        if (!got || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || (mode == PARSE && r.count != 0)) {
            state.SkipWithError("the child failed or the parse did not accept the input");
            return;
        }
        state.SetIterationTime(static_cast<double>(r.ns) / 1e9);
        count = r.count;
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(input.bytes));
    if (mode == SCAN)
        state.counters["tokens"] = static_cast<double>(count);
}

void BM_scan(benchmark::State& state) { run(state, SCAN); }
void BM_parse(benchmark::State& state) { run(state, PARSE); }

// Argument: the workload, 0..3 for W1..W4.
BENCHMARK(BM_scan)->DenseRange(0, 3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_parse)->DenseRange(0, 3)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
