// The writer and the links of /proc, which the system follows to the file or folder they hold,
// never by their text: a descriptor's link that comes and goes while saves go through it, and
// a process's folders seen from another mount namespace, where other mounts lie below them.
#include "foundation/NUX_STD_files.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sched.h>
#include <set>
#include <string>
#include <sys/mman.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace NUX_STD_library;
using testsupport::InOwnNamespace;
using testsupport::Names;
using testsupport::TempDir;

namespace {

// How long saves go on through a descriptor's link while it comes and goes.
constexpr auto kFlipTime = std::chrono::milliseconds(1500);

// How many descriptors the process holds.
std::size_t OpenDescriptors()
{
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

// A free descriptor number far above the ones the process holds, so that no open of the
// writer is given it while it is closed; -1 when the limit leaves none.
int FarDescriptor()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0) {
        return -1;
    }
    int n = static_cast<int>(std::min<rlim_t>(limit.rlim_cur, 1024)) - 1;
    while (n >= 256 && fcntl(n, F_GETFD) != -1) {
        --n;
    }
    return n >= 256 ? n : -1;
}

// What the saves through a descriptor's link that comes and goes came to.
struct Flipped {
    int saves = 0;
    int saved = 0;
    std::set<WriteCause> causes; // the causes of the refusals
    int held = -1;               // the descriptor flipped
};

// Saves again and again through /proc/self/fd/N while another thread keeps making N a copy of
// the descriptor given and closing it again.
Flipped SaveWhileFlipping(int fd)
{
    Flipped out;
    out.held = FarDescriptor();
    if (out.held < 0) {
        return out;
    }
    std::atomic<bool> stop{false};
    std::thread flipper([&] {
        while (!stop) {
            dup3(fd, out.held, O_CLOEXEC);
            close(out.held);
        }
    });
    const std::string path = "/proc/self/fd/" + std::to_string(out.held);
    const auto end = std::chrono::steady_clock::now() + kFlipTime;
    while (std::chrono::steady_clock::now() < end) {
        ++out.saves;
        if (WriteFileText(path, "circuit")) {
            ++out.saved;
        } else {
            out.causes.insert(LastWriteFailure().cause);
        }
    }
    stop = true;
    flipper.join();
    return out;
}

// The causes as their numbers, for a failure's message.
std::string CausesText(const std::set<WriteCause>& causes)
{
    std::string text;
    for (const WriteCause cause : causes) {
        text += " " + std::to_string(static_cast<int>(cause));
    }
    return text;
}

// A process in a mount namespace of its own, its mounts private to it, standing in a folder
// on whose folder "mnt" it has mounted a memory file system; it stays until the object dies.
class cMountedElsewhere {
  public:
    explicit cMountedElsewhere(const fs::path& folder)
    {
        int ready[2];
        int hold[2];
        if (pipe2(ready, O_CLOEXEC) != 0 || pipe2(hold, O_CLOEXEC) != 0) {
            why_ = "no pipe";
            return;
        }
        const std::string where = folder.string();
        pid_ = fork();
        if (pid_ == 0) {
            close(ready[0]);
            close(hold[1]);
            int error = 0;
            if (chdir(where.c_str()) != 0 || unshare(CLONE_NEWNS) != 0 ||
                mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                mount("zorv-test", "mnt", "tmpfs", 0, nullptr) != 0) {
                error = errno;
            }
            [[maybe_unused]] const ssize_t told = write(ready[1], &error, sizeof error);
            char byte = 0;
            while (read(hold[0], &byte, 1) > 0) {
            }
            _exit(0);
        }
        close(ready[1]);
        close(hold[0]);
        hold_ = hold[1];
        int error = -1;
        if (pid_ < 0 || read(ready[0], &error, sizeof error) != sizeof error || error != 0) {
            why_ = pid_ < 0 ? "no child process"
                            : std::string("no mount namespace: ") +
                                  std::strerror(error > 0 ? error : EIO);
        }
        close(ready[0]);
    }
    ~cMountedElsewhere()
    {
        close(hold_);
        if (pid_ > 0) {
            int status = 0;
            waitpid(pid_, &status, 0);
        }
    }
    cMountedElsewhere(const cMountedElsewhere&) = delete;
    cMountedElsewhere& operator=(const cMountedElsewhere&) = delete;
    // Why the process could not make its mount: empty when it did.
    const std::string& why() const { return why_; }
    // The process's /proc folder.
    std::string proc() const { return "/proc/" + std::to_string(pid_); }

  private:
    pid_t pid_ = -1;
    int hold_ = -1;
    std::string why_;
};

} // namespace

class NUX_STD_filewriterProc : public ::testing::Test {
  protected:
    TempDir t;
};

// A descriptor flipping between a deleted file and closed: the link's text, read a moment
// after an open through the link found nothing, names no file the system would reach.
TEST_F(NUX_STD_filewriterProc, ASaveThroughADescriptorsLinkThatComesAndGoesMakesNothing)
{
    const fs::path folder = t.path() / "del";
    fs::create_directory(folder);
    const std::string gone = (folder / "x").string();
    testsupport::writeAll(gone, "held");
    const int deleted = open(gone.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(deleted, 0);
    ASSERT_EQ(unlink(gone.c_str()), 0);
    const std::string memName = "zorv-flip-" + std::to_string(getpid());
    const int memory = memfd_create(memName.c_str(), MFD_CLOEXEC);
    ASSERT_GE(memory, 0);
    const fs::path stray = "/memfd:" + memName + " (deleted)";

    for (const int fd : {deleted, memory}) {
        const std::size_t before = OpenDescriptors();
        const Flipped f = SaveWhileFlipping(fd);
        ASSERT_GE(f.held, 0) << "no free descriptor number";
        close(f.held);
        const char* what = fd == deleted ? "a deleted file" : "a memory file";
        EXPECT_EQ(f.saved, 0) << f.saved << " of " << f.saves << " saves through " << what
                              << " went through";
        std::set<WriteCause> other = f.causes;
        other.erase(WriteCause::System);
        other.erase(WriteCause::Nameless);
        EXPECT_TRUE(other.empty()) << "refused for" << CausesText(other) << " through " << what;
        EXPECT_TRUE(Names(folder).empty()) << "a file was made by the text of " << what;
        EXPECT_FALSE(fs::exists(fs::symlink_status(stray))) << "a file was made at " << stray;
        EXPECT_EQ(OpenDescriptors(), before) << "descriptors left open by saves through " << what;
    }
    fs::remove(stray);
    close(deleted);
    close(memory);
}

// Another process's folder seen through its link under /proc: in its mount namespace a memory
// file system lies on "mnt", which here is an empty folder of the same device and inode.
TEST_F(NUX_STD_filewriterProc, ASaveIntoAFolderOfAnotherMountNamespaceNeverLandsInThisOne)
{
    if (geteuid() != 0) {
        GTEST_SKIP() << "a mount namespace needs root";
    }
    fs::create_directory(t.path() / "mnt");
    const cMountedElsewhere other(t.path());
    if (!other.why().empty()) {
        GTEST_SKIP() << other.why();
    }
    const std::string theirs = other.proc() + "/root" + t.file("mnt");
    int n = 0;
    for (const std::string& path : {other.proc() + "/cwd/mnt/z.zv6", theirs + "/y.zv6"}) {
        const std::string text = "circuit " + std::to_string(++n);
        const bool saved = WriteFileText(path, text);
        EXPECT_TRUE(Names(t.path() / "mnt").empty()) << path << " was saved in this namespace";
        if (saved) {
            EXPECT_EQ(testsupport::readAll(theirs + "/" + fs::path(path).filename().string()), text)
                << path;
        } else {
            EXPECT_EQ(LastWriteFailure().cause, WriteCause::Elsewhere) << path;
        }
    }
}

// Links to folders on other mounts of the same namespace (a memory file system, a bind mount,
// a descriptor's and the current folder's link) save where the system's own open would.
TEST_F(NUX_STD_filewriterProc, ALinkToAnotherMountOfThisNamespaceSavesWhereTheSystemWould)
{
    if (geteuid() != 0) {
        GTEST_SKIP() << "mounting needs root";
    }
    const fs::path root = t.path();
    for (const char* folder : {"fast", "data", "bound"}) {
        fs::create_directory(root / folder);
    }
    fs::create_directory_symlink("fast", root / "l-fast");
    fs::create_directory_symlink(root / "bound", root / "l-bound");
    fs::create_symlink("fast/linked.zv6", root / "l-file.zv6");
    std::string skipped;
    const std::string report = InOwnNamespace(
        [&]() -> std::string {
            if (mount("zorv-test", (root / "fast").c_str(), "tmpfs", 0, nullptr) != 0 ||
                mount((root / "data").c_str(), (root / "bound").c_str(), nullptr, MS_BIND,
                      nullptr) != 0 ||
                chdir(root.c_str()) != 0) {
                return std::string("no mounts: ") + std::strerror(errno);
            }
            const int fast = open((root / "fast").c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
            const std::string paths[] = {t.file("l-fast/a.zv6"), t.file("l-bound/b.zv6"),
                                         t.file("l-file.zv6"), "/proc/self/cwd/fast/c.zv6",
                                         "/proc/self/fd/" + std::to_string(fast) + "/d.zv6"};
            std::string failures;
            for (const std::string& path : paths) {
                if (!WriteFileText(path, path) || testsupport::readAll(path) != path) {
                    failures += path + " was not saved where the system opens it\n";
                }
            }
            if (Names(root / "data") != std::vector<std::string>{"b.zv6"}) {
                failures += "the bound folder does not hold the one file saved into it\n";
            }
            return failures;
        },
        skipped);
    if (!skipped.empty()) {
        GTEST_SKIP() << skipped;
    }
    EXPECT_EQ(report, "");
    EXPECT_TRUE(Names(root / "fast").empty()) << "a save landed below the memory file system";
}
