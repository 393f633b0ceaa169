// Workload generator: writes one benchmark workload to standard output, the same bytes on every
// run. Usage: gen_workloads W1|W2|W3|W4 [BYTES]; without BYTES the workload's full size. A smaller
// size gives a prefix of the full workload, cut after a whole line; a larger one the full size.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "workloads.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fputs("usage: gen_workloads W1|W2|W3|W4 [BYTES]\n", stderr);
        return 2;
    }
    for (const workload::Kind& kind : workload::KINDS) {
        if (std::strcmp(argv[1], kind.name) != 0)
            continue;
        std::size_t bytes = argc == 3 ? std::strtoull(argv[2], nullptr, 10) : kind.full_bytes;
        if (bytes > kind.full_bytes)
            bytes = kind.full_bytes;
        std::string text;
        text.reserve(bytes);
        kind.generate(text, bytes, kind.seed);
        if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
            std::perror("gen_workloads");
            return 1;
        }
        return 0;
    }
    std::fprintf(stderr, "gen_workloads: unknown workload %s\n", argv[1]);
    return 2;
}
