// Helpers shared by the test executables.
#include "support/TestSupport.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <grp.h>
#include <poll.h>
#include <random>
#include <sched.h>
#include <sstream>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace testsupport {

TempDir::TempDir()
{
    std::random_device rd;
    std::mt19937_64 gen(rd());
    for (;;) {
        auto p = std::filesystem::temp_directory_path() / ("zorvtest-" + std::to_string(gen()));
        std::error_code ec;
        if (std::filesystem::create_directory(p, ec)) {
            path_ = p;
            return;
        }
    }
}

TempDir::~TempDir()
{
    std::error_code ec;
    // Give back write rights that a test may have taken away before removing.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    }
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

std::string dataPath(const std::string& name)
{
    return std::string(ZORV_TEST_DATA) + "/" + name;
}

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void writeAll(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool matchesGolden(const std::string& name, const std::string& actual)
{
    const std::string path = dataPath(name);
    const char* update = std::getenv("ZORV_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        writeAll(path, actual);
        return true;
    }
    if (readAll(path) == actual) {
        std::error_code ec;
        std::filesystem::remove(path + ".actual", ec);
        return true;
    }
    writeAll(path + ".actual", actual);
    return false;
}

bool AsUser(uid_t uid, std::vector<gid_t> groups, const std::function<bool()>& action)
{
    const auto told = [&] { return action() ? std::string() : std::string("the action failed"); };
    return AsUserReport(uid, std::move(groups), told).empty();
}

std::vector<std::string> Names(const std::filesystem::path& dir)
{
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        out.push_back(e.path().filename().string());
    }
    std::sort(out.begin(), out.end());
    return out;
}

namespace {

// Reads the child's text until it closes the pipe, or until the deadline where one is given;
// false when the deadline came first.
bool ReadReport(int from, std::string& report, const std::chrono::steady_clock::time_point* until)
{
    char buffer[4096];
    for (;;) {
        if (until != nullptr) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                *until - std::chrono::steady_clock::now());
            pollfd p{from, POLLIN, 0};
            const int ready = left.count() > 0 ? poll(&p, 1, static_cast<int>(left.count())) : 0;
            if (ready == 0) {
                return false;
            }
            if (ready < 0 && errno != EINTR) {
                return true;
            }
            if (ready < 0) {
                continue;
            }
        }
        const ssize_t n = read(from, buffer, sizeof buffer);
        if (n == 0 || (n < 0 && errno != EINTR)) {
            return true;
        }
        if (n > 0) {
            report.append(buffer, static_cast<std::size_t>(n));
        }
    }
}

ChildOutcome RunChild(const std::function<std::string()>& body,
                      const std::chrono::steady_clock::time_point* until,
                      const std::function<void()>& free)
{
    ChildOutcome outcome;
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        return outcome;
    }
    const pid_t child = fork();
    if (child == 0) {
        close(ends[0]);
        const std::string report = body();
        for (std::size_t done = 0; done < report.size();) {
            const ssize_t n = write(ends[1], report.data() + done, report.size() - done);
            if (n <= 0 && errno != EINTR) {
                _exit(8);
            }
            done += n > 0 ? static_cast<std::size_t>(n) : 0;
        }
        _exit(report.empty() ? 0 : 1);
    }
    close(ends[1]);
    if (child > 0 && !ReadReport(ends[0], outcome.report, until)) {
        outcome.late = true;
        if (free) {
            free();
        }
        kill(child, SIGKILL);
    }
    close(ends[0]);
    outcome.ran = child > 0 && waitpid(child, &outcome.status, 0) == child;
    return outcome;
}

} // namespace

ChildOutcome InChild(const std::function<std::string()>& body)
{
    return RunChild(body, nullptr, {});
}

ChildOutcome InChildWithin(const std::function<std::string()>& body,
                           std::chrono::milliseconds limit, const std::function<void()>& free)
{
    const auto until = std::chrono::steady_clock::now() + limit;
    return RunChild(body, &until, free);
}

std::string InOwnNamespace(const std::function<std::string()>& action, std::string& skipped)
{
    const ChildOutcome child = InChild([&] {
        if (unshare(CLONE_NEWNS) == 0 &&
            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0) {
            return std::string(1, '\0') + action();
        }
        return "\1" + std::string(std::strerror(errno));
    });
    if (!child.ran || child.report.empty()) {
        return "the child process did not report";
    }
    if (child.report[0] == '\1') {
        skipped = "no mount namespace: " + child.report.substr(1);
        return "";
    }
    return child.report.substr(1);
}

std::string AsUserReport(uid_t uid, std::vector<gid_t> groups,
                         const std::function<std::string()>& action)
{
    const ChildOutcome child = InChild([&] {
        if (setgroups(groups.size(), groups.data()) != 0 || setresgid(uid, uid, uid) != 0 ||
            setresuid(uid, uid, uid) != 0) {
            _exit(9);
        }
        umask(022);
        return action();
    });
    if (!child.ran) {
        return "the child could not be started or waited for";
    }
    const int expected = child.report.empty() ? 0 : 1;
    if (!WIFEXITED(child.status) || WEXITSTATUS(child.status) != expected) {
        return "the child as user " + std::to_string(uid) + " ended with status " +
               std::to_string(child.status) + (child.report.empty() ? "" : ": " + child.report);
    }
    return child.report;
}

std::string Mutate(std::string s, std::mt19937& rng, const std::vector<std::string>& tokens,
                   int maxSteps)
{
    const auto pick = [&](std::size_t n) {
        return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
    };
    const int steps = 1 + static_cast<int>(pick(static_cast<std::size_t>(maxSteps)));
    for (int i = 0; i < steps; ++i) {
        const std::size_t at = pick(s.size() + 1);
        switch (pick(5)) {
        case 0:
            if (!s.empty()) {
                s[pick(s.size())] = static_cast<char>(pick(256));
            }
            break;
        case 1:
            if (!tokens.empty()) {
                s.insert(at, tokens[pick(tokens.size())]);
            }
            break;
        case 2:
            s.erase(at, pick(40));
            break;
        case 3:
            s.insert(at, s.substr(pick(s.size() + 1), pick(200)));
            break;
        default:
            s.resize(at + pick(s.size() - at + 1));
            break;
        }
    }
    return s;
}

}  // namespace testsupport
