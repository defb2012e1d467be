// The writer on a folder served by a program of the user's (FUSE, here bindfs, which answers by
// the path of its own folder): saves through a link to a file not yet made make that file where
// the system's own open would, and the question whether a link is one of /proc is answered
// without asking the file system it lies on, so a busy or stopped server never holds a save.
#include "foundation/NUX_STD_files.h"
#include "foundation/NUX_STD_system.h"
#include "support/TestSupport.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace NUX_STD_library;
using testsupport::TempDir;

namespace {

// The longest one save or one question may take before it is taken for a hang.
constexpr auto kLimit = std::chrono::milliseconds(5000);

// The folder of the FUSE connections' control files.
const char* const kConnections = "/sys/fs/fuse/connections";

// Why FUSE mounts cannot be tried here; empty when they can.
std::string WhyNoFuse()
{
    if (geteuid() != 0) {
        return "mounting a FUSE file system needs root";
    }
    if (access("/dev/fuse", R_OK | W_OK) != 0) {
        return "no /dev/fuse";
    }
    if (FindInPath("bindfs").empty()) {
        return "bindfs is not installed";
    }
    return {};
}

// A bindfs server showing the folder source at the folder shown, run in the foreground as a
// child of this process until the object dies. Meant for a mount namespace of its own.
class cBindfs {
  public:
    cBindfs(const fs::path& source, const fs::path& shown) : shown_(shown)
    {
        struct stat before {};
        if (stat(shown.c_str(), &before) != 0) {
            why_ = "no folder to mount on";
            return;
        }
        const std::string program = FindInPath("bindfs");
        pid_ = fork();
        if (pid_ == 0) {
            const int null = open("/dev/null", O_RDWR);
            dup2(null, 1);
            dup2(null, 2);
            execl(program.c_str(), "bindfs", "-f", source.c_str(), shown.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        const auto until = std::chrono::steady_clock::now() + kLimit;
        struct stat now {};
        while (stat(shown.c_str(), &now) == 0 && now.st_dev == before.st_dev) {
            int status = 0;
            if (pid_ < 0 || waitpid(pid_, &status, WNOHANG) == pid_ ||
                std::chrono::steady_clock::now() > until) {
                why_ = "bindfs did not mount the folder";
                pid_ = -1;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        connection_ = std::string(kConnections) + "/" + std::to_string(minor(now.st_dev));
    }
    ~cBindfs()
    {
        if (pid_ > 0) {
            umount2(shown_.c_str(), MNT_DETACH);
            kill(pid_, SIGCONT);
            kill(pid_, SIGTERM);
            int status = 0;
            waitpid(pid_, &status, 0);
        }
    }
    cBindfs(const cBindfs&) = delete;
    cBindfs& operator=(const cBindfs&) = delete;
    // Why the server could not mount the folder: empty when it did.
    const std::string& why() const { return why_; }
    // Stops or lets go on the server, so that a request to it waits or is answered.
    void Pause(bool paused) const { kill(pid_, paused ? SIGSTOP : SIGCONT); }
    // Frees every request waiting on the server (the connection's abort file, else its end).
    void Abort() const
    {
        const std::string abort = connection_ + "/abort";
        const int fd = open(abort.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0 || write(fd, "1", 1) != 1) {
            kill(pid_, SIGKILL);
        }
        if (fd >= 0) {
            close(fd);
        }
    }

  private:
    fs::path shown_;
    pid_t pid_ = -1;
    std::string connection_;
    std::string why_;
};

// The connections' control files, where the system has not shown them yet (in this
// namespace only).
void ShowConnections()
{
    if (fs::is_directory(kConnections) && fs::is_empty(kConnections)) {
        mount("fusectl", kConnections, "fusectl", 0, nullptr);
    }
}

// The save in a child of its own, freed from the server when it takes longer than the limit;
// the text says what went wrong, empty when the save was made.
std::string SaveWithin(const std::string& path, const std::string& text, const cBindfs& server)
{
    const testsupport::ChildOutcome child = testsupport::InChildWithin(
        [&]() -> std::string {
            if (WriteFileText(path, text)) {
                return "";
            }
            return "refused (cause " + std::to_string(static_cast<int>(LastWriteFailure().cause)) +
                   ", " + std::strerror(LastWriteFailure().error) + ")";
        },
        kLimit, [&] { server.Abort(); });
    if (child.late) {
        return "did not return within the time limit";
    }
    return child.ran ? child.report : "could not be run";
}

// A save through a link on the mount: where the link is, what its text says, and where the new
// file must then be found (through the folder shown by the server, or elsewhere).
struct LinkCase {
    std::string link;
    std::string text;
    fs::path made;
};

} // namespace

// Through a link to a file not yet made: in the same folder, in a folder off the mount, and back
// into the mount by a whole path. The system's own open(O_CREAT) makes each; so must a save.
TEST(NUX_STD_filewriterFuse, ASaveThroughALinkToAMissingFileMakesItAndKeepsTheLink)
{
    if (const std::string why = WhyNoFuse(); !why.empty()) {
        GTEST_SKIP() << why;
    }
    const TempDir t;
    const fs::path root = t.path();
    for (const char* folder : {"s", "m", "out"}) {
        fs::create_directory(root / folder);
    }
    const std::vector<LinkCase> cases = {
        {"link.zv6", "new.zv6", root / "s" / "new.zv6"},
        {"link2.zv6", (root / "out" / "n.zv6").string(), root / "out" / "n.zv6"},
        {"self-link.zv6", (root / "m" / "self.zv6").string(), root / "s" / "self.zv6"},
    };
    std::string skipped;
    const std::string report = testsupport::InOwnNamespace(
        [&]() -> std::string {
            ShowConnections();
            std::string failures;
            for (const LinkCase& c : cases) {
                // A server of its own for each, so that one hang does not take the others.
                const cBindfs server(root / "s", root / "m");
                if (!server.why().empty()) {
                    return server.why();
                }
                const fs::path link = root / "m" / c.link;
                fs::create_symlink(c.text, link);
                const std::string text = "circuit through " + c.link;
                const std::string outcome = SaveWithin(link.string(), text, server);
                if (!outcome.empty()) {
                    failures += "the save through " + c.link + " " + outcome + "\n";
                    continue;
                }
                if (testsupport::readAll(c.made.string()) != text) {
                    failures +=
                        "the save through " + c.link + " did not make " + c.made.string() + "\n";
                }
                std::error_code ec;
                if (!fs::is_symlink(root / "s" / c.link) ||
                    fs::read_symlink(root / "s" / c.link, ec) != c.text) {
                    failures += "the link " + c.link + " was not kept\n";
                }
            }
            return failures;
        },
        skipped);
    if (!skipped.empty()) {
        GTEST_SKIP() << skipped;
    }
    EXPECT_EQ(report, "");
}

// The question is answered for the folder a link lies in: yes for the folders of /proc that
// hold a descriptor's link or a process's cwd, root and exe, no for folders on other file
// systems, and no where nothing can be told (a descriptor that is not open).
TEST(NUX_STD_filewriterFuse, AFolderOfProcIsToldFromTheMountTable)
{
    const TempDir t;
    for (const char* folder : {"/proc/self/fd", "/proc/self", "/proc"}) {
        const int fd = open(folder, O_PATH | O_DIRECTORY | O_CLOEXEC);
        ASSERT_GE(fd, 0) << folder;
        EXPECT_TRUE(OnProcFileSystem(fd)) << folder;
        close(fd);
    }
    for (const std::string& folder : {t.path().string(), std::string("/")}) {
        const int fd = open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        ASSERT_GE(fd, 0) << folder;
        EXPECT_FALSE(OnProcFileSystem(fd)) << folder;
        close(fd);
    }
    const int closed = open(t.path().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(closed, 0);
    close(closed);
    EXPECT_FALSE(OnProcFileSystem(closed));
    EXPECT_FALSE(OnProcFileSystem(-1));
}

// On a memory file system, and on a FUSE mount whose server is stopped: a question put to the
// file system itself would wait on the server until it goes on, so the answer must come from
// what the system already holds.
TEST(NUX_STD_filewriterFuse, AFolderOnAStoppedServerIsToldWithoutWaitingOnIt)
{
    if (const std::string why = WhyNoFuse(); !why.empty()) {
        GTEST_SKIP() << why;
    }
    const TempDir t;
    const fs::path root = t.path();
    for (const char* folder : {"s", "m", "fast"}) {
        fs::create_directory(root / folder);
    }
    std::string skipped;
    const std::string report = testsupport::InOwnNamespace(
        [&]() -> std::string {
            ShowConnections();
            if (mount("zorv-test", (root / "fast").c_str(), "tmpfs", 0, nullptr) != 0) {
                return std::string("no memory file system: ") + std::strerror(errno);
            }
            const int fast = open((root / "fast").c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
            std::string failures;
            if (fast < 0 || OnProcFileSystem(fast)) {
                failures += "a folder of a memory file system was taken for one of /proc\n";
            }
            const cBindfs server(root / "s", root / "m");
            if (!server.why().empty()) {
                return server.why();
            }
            const int shown = open((root / "m").c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
            if (shown < 0) {
                return "the mounted folder could not be opened";
            }
            server.Pause(true);
            const testsupport::ChildOutcome child = testsupport::InChildWithin(
                [&]() -> std::string {
                    return OnProcFileSystem(shown) ? "taken for a folder of /proc" : "";
                },
                kLimit, [&] { server.Abort(); });
            server.Pause(false);
            if (child.late) {
                failures += "the question waited on the stopped server\n";
            } else if (!child.report.empty()) {
                failures += "the FUSE folder was " + child.report + "\n";
            }
            return failures;
        },
        skipped);
    if (!skipped.empty()) {
        GTEST_SKIP() << skipped;
    }
    EXPECT_EQ(report, "");
}
