// The one file reader and the files the system makes up as they are read: such a file (under
// /proc, /sys and their kind) is refused at once without being read, a descriptor's link under
// /proc still leads to the file it holds, and the program's own reads of the system's files
// (the writer's umask) still work.
#include "foundation/NUX_STD_files.h"

#include "support/TestSupport.h"

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace NUX_STD_library;

namespace {

// The bound of a circuit file is near this: a reader that took a made-up file for a regular
// one would read and hold that much before saying it is too large.
constexpr std::uint64_t kLargeBound = std::uint64_t(1) << 30;

// What a read in a child process came to: its fault, how far the child's peak memory grew
// and how long the read took.
struct ChildRead {
    ReadFault fault = ReadFault::None;
    long grownKiB = 0;
    double seconds = 0;
    bool ran = false;
};

long PeakKiB()
{
    struct rusage use {};
    getrusage(RUSAGE_SELF, &use);
    return use.ru_maxrss;
}

// Reads the file through ReadFileBytes in a child process of its own, so that the peak
// memory of the read alone is seen.
ChildRead ReadInAChild(const std::string& path, std::uint64_t bound)
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        return {};
    }
    const pid_t child = fork();
    if (child == 0) {
        ChildRead r;
        const long before = PeakKiB();
        const auto start = std::chrono::steady_clock::now();
        std::string bytes;
        ReadFileBytes(path, bound, bytes, r.fault);
        r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        r.grownKiB = PeakKiB() - before;
        r.ran = true;
        const bool sent = write(ends[1], &r, sizeof r) == static_cast<ssize_t>(sizeof r);
        _exit(sent ? 0 : 1);
    }
    close(ends[1]);
    ChildRead r;
    if (child < 0 || read(ends[0], &r, sizeof r) != static_cast<ssize_t>(sizeof r)) {
        r = {};
    }
    close(ends[0]);
    if (child > 0) {
        waitpid(child, nullptr, 0);
    }
    return r;
}

// A readable regular file of a sysfs folder, found by walking it; empty when there is none.
std::string SysfsFile(const std::string& folder)
{
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_regular_file(ec) && access(it->path().c_str(), R_OK) == 0) {
            return it->path().string();
        }
    }
    return {};
}

// Bytes of every value in a length that is no multiple of a read.
std::string CircuitBytes()
{
    std::string bytes;
    for (std::size_t i = 0; i < (std::size_t(1) << 20) + 7; ++i) {
        bytes += static_cast<char>(i * 7 % 256);
    }
    return bytes;
}

// The process's umask, set for the life of the object and put back after it.
class UmaskSwitch {
  public:
    explicit UmaskSwitch(mode_t mask) : old_(umask(mask)) {}
    ~UmaskSwitch() { umask(old_); }
    UmaskSwitch(const UmaskSwitch&) = delete;
    UmaskSwitch& operator=(const UmaskSwitch&) = delete;

  private:
    mode_t old_;
};

// A fresh folder in the memory file system /dev/shm, removed with the object; the test's own
// folder where there is none.
class MemoryFolder {
  public:
    explicit MemoryFolder(const testsupport::TempDir& fallback)
    {
        char name[] = "/dev/shm/zorvtest-XXXXXX";
        made_ = mkdtemp(name) != nullptr;
        path_ = made_ ? std::string(name) : fallback.path().string();
    }
    ~MemoryFolder()
    {
        if (made_) {
            std::error_code ec;
            fs::remove_all(path_, ec);
        }
    }
    MemoryFolder(const MemoryFolder&) = delete;
    MemoryFolder& operator=(const MemoryFolder&) = delete;
    const std::string& path() const { return path_; }

  private:
    bool made_ = false;
    std::string path_;
};

} // namespace

class NUX_STD_filesReader : public ::testing::Test {
  protected:
    testsupport::TempDir t;
};

// A file of /proc claims a size of 0 and gives bytes without end: it is refused as what it is
// before a byte is read, at once and without memory to speak of.
TEST_F(NUX_STD_filesReader, AProcFileIsRefusedAtOnceWithoutBeingRead)
{
    const ChildRead r = ReadInAChild("/proc/self/pagemap", kLargeBound);
    ASSERT_TRUE(r.ran);
    EXPECT_EQ(r.fault, ReadFault::SystemFile);
    EXPECT_LT(r.seconds, 1.0);
    EXPECT_LT(r.grownKiB, 64 * 1024) << "KiB held by the refused read";
}

TEST_F(NUX_STD_filesReader, ASysfsFileIsRefusedAsMadeUpByTheSystem)
{
    constexpr unsigned long kSysfs = 0x62656572; // the file system's magic number
    struct statfs sf {};
    if (statfs("/sys", &sf) != 0 || static_cast<unsigned long>(sf.f_type) != kSysfs) {
        GTEST_SKIP() << "no sysfs at /sys";
    }
    const std::string file = SysfsFile("/sys/kernel");
    if (file.empty()) {
        GTEST_SKIP() << "no readable file under /sys/kernel";
    }
    std::string bytes = "kept";
    ReadFault fault = ReadFault::None;
    EXPECT_FALSE(ReadFileBytes(file, kMaxReadBytes, bytes, fault)) << file;
    EXPECT_EQ(fault, ReadFault::SystemFile) << file;
    EXPECT_EQ(bytes, "kept");
}

// The link is told by the file system of the file it holds, never by the text of the path: a
// circuit file on disk and a file held only in memory both read whole through it.
TEST_F(NUX_STD_filesReader, ADescriptorsLinkUnderProcReadsTheFileItHolds)
{
    const std::string bytes = CircuitBytes();
    const std::string file = t.file("c.zv6");
    testsupport::writeAll(file, bytes);
    const int onDisk = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(onDisk, 0);
    const int inMemory = memfd_create("circuit", MFD_CLOEXEC);
    ASSERT_GE(inMemory, 0);
    ASSERT_EQ(write(inMemory, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    for (const int fd : {onDisk, inMemory}) {
        for (const char* prefix : {"/proc/self/fd/", "/dev/fd/"}) {
            const std::string link = prefix + std::to_string(fd);
            std::string got;
            ReadFault fault = ReadFault::None;
            EXPECT_TRUE(ReadFileBytes(link, kLargeBound, got, fault)) << link;
            EXPECT_EQ(fault, ReadFault::None) << link;
            EXPECT_TRUE(got == bytes) << link << ": " << got.size() << " bytes";
        }
    }
    close(onDisk);
    close(inMemory);
}

// A file that grew by a few bytes since its size was taken (a save of another program landing
// meanwhile) is held in one buffer of about its size: the buffer is never doubled for it, nor
// held twice while it moves.
TEST_F(NUX_STD_filesReader, AFileThatGrewALittleWhileOpenIsHeldInOneBufferOfItsSize)
{
    const std::string file = t.file("c.zv6");
    const std::string bytes = CircuitBytes();
    testsupport::writeAll(file, bytes);
    std::uint64_t size = 0;
    ReadFault fault = ReadFault::None;
    const int fd = OpenForReading(file, kLargeBound, size, fault);
    ASSERT_GE(fd, 0);
    const std::string more(100, '!');
    const int appender = open(file.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    ASSERT_GE(appender, 0);
    ASSERT_EQ(write(appender, more.data(), more.size()), static_cast<ssize_t>(more.size()));
    close(appender);
    std::string out;
    EXPECT_EQ(ReadOpenFile(fd, size, kLargeBound, out), ReadFault::None);
    close(fd);
    EXPECT_TRUE(out == bytes + more) << out.size() << " bytes";
    EXPECT_LT(out.capacity(), size + size / 4) << "bytes held for a file of " << size;
}

// The program's own reads of the system's files go on: the process status, read whole
// within a small bound, and refused past it.
TEST_F(NUX_STD_filesReader, TheSystemReaderReadsTheProcessStatus)
{
    const UmaskSwitch mask(027);
    std::string status;
    ASSERT_TRUE(ReadSystemFile("/proc/self/status", std::size_t(64) << 10, status));
    EXPECT_NE(status.find("\nUmask:\t0027\n"), std::string::npos) << status;
    std::string small = "kept";
    EXPECT_FALSE(ReadSystemFile("/proc/self/status", 16, small));
    EXPECT_EQ(small, "kept");
}

// A save gives a new file 0666 under the umask, which it reads from the system without ever
// setting it: files another thread makes meanwhile keep the process's umask. Both work in a
// folder held in memory where there is one, so that many saves and files fit in a moment.
TEST_F(NUX_STD_filesReader, ASaveReadsTheUmaskWithoutChangingItEvenForAMoment)
{
    const MemoryFolder folder(t);
    const UmaskSwitch mask(077);
    std::atomic<bool> saving{true};
    std::atomic<int> strayModes{0};
    std::thread other([&] {
        while (saving) {
            const int fd = open(folder.path().c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
            struct stat st {};
            if (fd >= 0 && fstat(fd, &st) == 0 && (st.st_mode & 0777) != 0600) {
                ++strayModes;
            }
            if (fd >= 0) {
                close(fd);
            }
        }
    });
    const std::string file = folder.path() + "/new.zv6";
    bool saved = true;
    mode_t mode = 0;
    for (int i = 0; i < 3000 && saved; ++i) {
        unlink(file.c_str());
        saved = WriteFileText(file, "circuit");
        struct stat st {};
        mode = stat(file.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
    }
    saving = false;
    other.join();
    ASSERT_TRUE(saved);
    EXPECT_EQ(mode, 0600u);
    EXPECT_EQ(strayModes, 0) << "files made while a save ran took another umask";
}
