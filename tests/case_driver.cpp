// Process-level cases: runs every row of tests/cases/*.cases against a built program, with standard
// input delivered in several ways, and requires the same stdout, stderr and exit status from each.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto RUN_LIMIT = std::chrono::seconds(10);  // a run still going after this has hung
constexpr size_t TRICKLE_GROWTH = 64;                 // trickle: pieces grow by one byte every 64 bytes

// A row `input | stdout | stderr | status | setup`; input and stdout are cut into parts at \p.
struct Case { std::string where, program; std::vector<std::string> in, out; std::string err, setup; int status; };
struct Result { std::string out, err, trouble; int status = -1; };
void drop(int& fd) { close(fd); fd = -1; }

// Descriptors 0..2 are taken before any pipe is made (CI may start us with standard input closed),
// and a write to a child that has stopped reading fails instead of ending the driver.
[[maybe_unused]] const bool process_ready = [] {
    int fd;
    while ((fd = open("/dev/null", O_RDWR)) >= 0 && fd < 3) {}
    return signal(SIGPIPE, SIG_IGN) != SIG_ERR && close(fd) == 0;
}();

// Field text to bytes: the escapes \n \r \t \0 \\ \xHH, {TEXT*N} for TEXT repeated N times, and
// \p, which starts the next part.
std::vector<std::string> decode(std::string_view f) {
    std::vector<std::string> v(1);
    for (size_t i = 0; i < f.size(); ++i) {
        if (f[i] == '{') {
            size_t close = f.find('}', i), star = f.rfind('*', close);
            std::string unit = decode(f.substr(i + 1, star - i - 1))[0];
            for (long n = std::stol(std::string(f.substr(star + 1))); n > 0; --n) v.back() += unit;
            i = close;
        } else if (f[i] != '\\' || i + 1 == f.size()) {
            v.back() += f[i];
        } else if (f[++i] == 'p') {
            v.emplace_back();
        } else if (f[i] == 'x') {
            v.back() += static_cast<char>(std::stoi(std::string(f.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            v.back() += f[i] == 'n' ? '\n' : f[i] == 'r' ? '\r' : f[i] == 't' ? '\t' : f[i] == '0' ? '\0' : f[i];
        }
    }
    return v;
}

// Blanks around a field are ignored, missing fields are empty (status 0). `@program tokens`
// switches the rows that follow to the token dump, `@program faults` to intcalc with faults on
// request (a setup `env NAME=VALUE` asks for one), `@program intcalc` back.
std::vector<Case> read_cases(const std::string& name) {
    std::vector<Case> cases;
    std::ifstream file(std::string(CASES_DIR) + "/" + name + ".cases");
    std::string program = INTCALC_BIN, line;
    for (int n = 1; std::getline(file, line); ++n) {
        if (line.rfind("@program ", 0) == 0)
            program = line.substr(9) == "tokens" ? TOKEN_DUMP_BIN : line.substr(9) == "faults" ? FAULTS_BIN : INTCALC_BIN;
        if (line.empty() || line[0] == '#' || line[0] == '@') continue;
        std::vector<std::string> f;
        std::istringstream row(line);
        for (std::string field; std::getline(row, field, '|'); f.push_back(field)) {
            field.erase(0, field.find_first_not_of(" \t"));
            field.erase(field.find_last_not_of(" \t") + 1);
        }
        f.resize(5);
        cases.push_back({name + ".cases:" + std::to_string(n), program, decode(f[0]), decode(f[1]),
                         decode(f[2])[0], f[4], f[3].empty() ? 0 : std::stoi(f[3])});
    }
    return cases;
}

// Setups that replace standard input run once; every other row runs under each feed.
std::vector<std::string> feeds_for(const Case& k) {
    if (k.setup == "stdin-closed" || k.setup == "stdin-dir" || k.setup == "tty") return {k.setup};
    return k.in.size() > 1 ? std::vector<std::string>{"file", "pipe", "trickle", "lockstep"}
                           : std::vector<std::string>{"file", "pipe", "trickle"};
}

// Runs the row's program once. Feeds: "file" a regular file; "pipe" written whole; "trickle" small
// pieces (single bytes at first), each once the child has taken the one before; "lockstep" part
// by part, each once the output due by then has arrived; "tty" the same through a pseudo-terminal
// that is the child's stdin and stdout.
Result run(const Case& k, const std::string& feed) {
    bool stepped = feed == "lockstep" || feed == "tty";
    std::string input;
    for (const auto& part : k.in) input += part;
    std::vector<std::string> parts = stepped ? k.in : std::vector<std::string>{input};
    int out[2], err[2], writer = -1;
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) return {"", "", "no pipe"};
    int child[3] = {-1, out[1], k.setup == "merged" ? out[1] : err[1]};  // the child's 0, 1, 2
    if (k.setup == "stdout-full") child[1] = open("/dev/full", O_WRONLY | O_CLOEXEC);
    if (k.setup == "stdout-closed") child[1] = -1;
    if (feed == "file") {
        char path[] = "/tmp/intcalc-case-XXXXXX";
        child[0] = mkostemp(path, O_CLOEXEC);
        unlink(path);
        if (write(child[0], input.data(), input.size()) != static_cast<ssize_t>(input.size())) return {"", "", "no file"};
        lseek(child[0], 0, SEEK_SET);
    } else if (feed == "stdin-dir") {
        child[0] = open("/", O_RDONLY | O_CLOEXEC);
    } else if (feed == "tty") {
        writer = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (grantpt(writer) != 0 || unlockpt(writer) != 0) return {"", "", "no terminal"};
        child[0] = child[1] = open(ptsname(writer), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios t;
        tcgetattr(child[0], &t);
        t.c_lflag &= ~ECHO;   // the bytes as the program writes them: no echo of the input,
        t.c_oflag &= ~OPOST;  // no CR before each LF,
        t.c_iflag &= ~ICRNL;  // and a typed CR reaches the program as it is
        tcsetattr(child[0], TCSANOW, &t);
        close(out[0]);
        out[0] = fcntl(writer, F_DUPFD_CLOEXEC, 3);  // the output side of the terminal
    } else if (int in[2]; feed != "stdin-closed" && pipe2(in, O_CLOEXEC) == 0) {
        child[0] = in[0];
        writer = in[1];
    }
    pid_t pid = fork();
    if (pid == 0) {
        signal(SIGPIPE, SIG_DFL);
        if (k.setup.rfind("env ", 0) == 0) putenv(const_cast<char*>(k.setup.c_str() + 4));
        for (int fd = 0; fd < 3; ++fd)
            child[fd] < 0 ? close(fd) : dup2(child[fd], fd);
        execl(k.program.c_str(), k.program.c_str(), nullptr);
        _exit(127);
    }
    for (int fd : std::set<int>{child[0], child[1], child[2], out[1], err[1]}) close(fd);
    fcntl(writer, F_SETFL, O_NONBLOCK);

    Result r;
    int from[2] = {out[0], err[0]};
    std::string* got[2] = {&r.out, &r.err};
    size_t sent = 0, part = 0, part_end = 0, out_due = 0;
    auto deadline = Clock::now() + RUN_LIMIT;
    while (from[0] >= 0 || from[1] >= 0) {
        bool part_done = writer >= 0 && sent == part_end;
        if (part_done && part == parts.size()) {
            drop(writer);
        } else if (part_done && r.out.size() >= out_due) {  // the output due has arrived: next part
            out_due += stepped && part < k.out.size() ? k.out[part].size() : 0;
            part_end += parts[part++].size();
        }
        int queued = 0;
        if (feed == "trickle" && writer >= 0) ioctl(writer, FIONREAD, &queued);
        bool may_write = writer >= 0 && sent < part_end && queued == 0;
        pollfd p[3] = {{from[0], POLLIN, 0}, {from[1], POLLIN, 0}, {may_write ? writer : -1, POLLOUT, 0}};
        poll(p, 3, queued > 0 ? 0 : 20);
        size_t piece = feed == "trickle" ? std::min(1 + sent / TRICKLE_GROWTH, part_end - sent) : part_end - sent;
        ssize_t w = p[2].revents ? write(writer, input.data() + sent, piece) : 0;
        if (w > 0) sent += static_cast<size_t>(w);
        if (w < 0 && errno != EAGAIN) drop(writer);  // the child has stopped reading
        for (int i = 0; i < 2; ++i) {
            char buf[65536];
            ssize_t n = p[i].revents ? read(from[i], buf, sizeof buf) : -2;
            if (n > 0) got[i]->append(buf, static_cast<size_t>(n));
            if (n == 0 || (n == -1 && errno != EAGAIN)) drop(from[i]);  // a terminal's far side gives EIO
        }
        if (Clock::now() > deadline) {
            r.trouble = "timed out after part " + std::to_string(part) + " of " + std::to_string(parts.size());
            kill(pid, SIGKILL);
            break;
        }
    }
    for (int fd : {from[0], from[1], writer}) close(fd);
    int status = 0;
    waitpid(pid, &status, 0);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return r;
}

class CaseFile : public testing::TestWithParam<std::string> {};

TEST_P(CaseFile, EveryRowUnderEveryFeed) {
    std::vector<Case> cases = read_cases(GetParam());
    ASSERT_FALSE(cases.empty()) << "no rows in " << GetParam();
    auto show = [](const std::string& s) { return testing::PrintToString(s.substr(0, 200)) + (s.size() > 200 ? "..." : ""); };
    for (const Case& k : cases) {
        std::string want;
        for (const auto& part : k.out) want += part;
        for (const std::string& feed : feeds_for(k)) {
            Result r = run(k, feed);
            EXPECT_TRUE(r.trouble.empty() && r.out == want && r.err == k.err && r.status == k.status)
                << k.where << " under " << feed << (r.trouble.empty() ? "" : ": " + r.trouble)
                << "\n  got:  " << show(r.out) << " | " << show(r.err) << " | " << r.status
                << "\n  want: " << show(want) << " | " << show(k.err) << " | " << k.status;
        }
    }
}

std::vector<std::string> case_files() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(CASES_DIR))
        if (entry.path().extension() == ".cases") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Cases, CaseFile, testing::ValuesIn(case_files()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
