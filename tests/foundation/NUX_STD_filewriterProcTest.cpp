// The writer and the links of /proc, which the system follows to the file or folder they hold,
// never by their text: a descriptor's link that comes and goes while saves go through it.
#include "foundation/NUX_STD_files.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <sys/mman.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace NUX_STD_library;
using testsupport::TempDir;

namespace {

// How long saves go on through a descriptor's link while it comes and goes.
constexpr auto kFlipTime = std::chrono::milliseconds(1500);

// The names in a folder.
std::vector<std::string> Names(const fs::path& dir)
{
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir)) {
        out.push_back(e.path().filename().string());
    }
    std::sort(out.begin(), out.end());
    return out;
}

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
