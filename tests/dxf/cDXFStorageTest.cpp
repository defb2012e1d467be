// The drawing as the circuit file carries it: Base64 in and the same bytes out again, with no
// file left anywhere; a drawing read from a file saved as it was read.
#include "dxf/cDXF.h"
#include "foundation/NUX_STD_encoding.h"
#include "foundation/NUX_STD_files.h"
#include "foundation/cError.h"
#include "support/TestSupport.h"

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using testsupport::dataPath;
using testsupport::readAll;

namespace {

// Points TMPDIR at a folder (with no runtime folder in the way) for the life of the object.
class TempFolderSwitch {
  public:
    explicit TempFolderSwitch(const std::string& dir)
    {
        for (const char* name : {"TMPDIR", "XDG_RUNTIME_DIR"}) {
            const char* old = std::getenv(name);
            saved_.emplace_back(name, old != nullptr ? std::optional<std::string>(old)
                                                     : std::nullopt);
        }
        setenv("TMPDIR", dir.c_str(), 1);
        unsetenv("XDG_RUNTIME_DIR");
    }
    ~TempFolderSwitch()
    {
        for (const auto& [name, value] : saved_) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }

  private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// Base64 broken into lines of 76 characters, as some writers store it.
std::string Wrapped(const std::string& b64)
{
    std::string out;
    for (std::size_t i = 0; i < b64.size(); i += 76) {
        out += b64.substr(i, 76) + "\r\n";
    }
    return out;
}

} // namespace

TEST(cDXFStorage, Base64InGivesADrawingAndTheSameBytesOut)
{
    testsupport::TempDir tmp;
    TempFolderSwitch sw(tmp.dir());
    const std::string bytes = readAll(dataPath("dxf/entities.dxf"));
    const std::string b64 = NUX_STD_library::Base64Encode(bytes);

    cDXF d;
    EXPECT_EQ(d.FileStream(), ""); // nothing loaded yet
    d.FileStream(Wrapped(b64));
    EXPECT_EQ(d.Lines().size(), 2u);
    EXPECT_EQ(d.FileName(), ""); // read from memory, no file made for it
    EXPECT_EQ(d.OffsetX(), cFixed());
    EXPECT_EQ(d.FileStream(), b64);
}

TEST(cDXFStorage, ADrawingTooLargeToReadIsKeptAndGivenBackAsItCame)
{
    // A small bound stands in for the reader's own: the drawing lies one byte beyond it.
    const std::string bytes = readAll(dataPath("dxf/entities.dxf"));
    struct BoundSwitch {
        std::size_t old = cDXF::MaxDrawingBytes();
        ~BoundSwitch() { cDXF::MaxDrawingBytes(old); }
    } bound;
    cDXF::MaxDrawingBytes(bytes.size() - 1);
    cDXF d;
    d.FileStream(Wrapped(NUX_STD_library::Base64Encode(bytes)));
    // Nothing of it is read and the note says why, but its bytes go back out unchanged.
    EXPECT_EQ(d.Lines().size() + d.Arcs().size() + d.Texts().size(), 0u);
    ASSERT_EQ(d.Diagnostics().size(), 1u);
    EXPECT_NE(d.Diagnostics()[0].find("too large to be read"), std::string::npos);
    EXPECT_EQ(d.FileStream(), NUX_STD_library::Base64Encode(bytes));
}

TEST(cDXFStorage, NothingIsWrittenThroughAPlantedLinkAndTheFolderStaysPrivate)
{
    namespace fs = std::filesystem;
    testsupport::TempDir tmp;
    TempFolderSwitch sw(tmp.dir());
    // Another user plants links at every name a copy of the drawing could once take.
    testsupport::writeAll(tmp.file("victim.txt"), "mine");
    fs::create_directory(tmp.file("victimdir"));
    fs::create_directory_symlink(tmp.file("victimdir"),
                                 tmp.file("Zorv-" + std::to_string(geteuid())));
    fs::create_directory_symlink(tmp.file("victimdir"), tmp.file("Zorv"));
    const std::string stamp = NUX_STD_library::TimeStampHex();
    const long long now = std::stoll(stamp, nullptr, 16);
    for (long long s = now; s < now + 5; ++s) {
        char name[32];
        std::snprintf(name, sizeof name, "%llX.dxf", s);
        fs::create_symlink(tmp.file("victim.txt"), tmp.file(name));
    }
    cDXF d;
    d.FileStream(NUX_STD_library::Base64Encode(readAll(dataPath("dxf/entities.dxf"))));
    EXPECT_EQ(d.Lines().size(), 2u);
    EXPECT_EQ(readAll(tmp.file("victim.txt")), "mine");
    EXPECT_TRUE(fs::is_empty(tmp.file("victimdir")));
    // The program's own temporary folder passes the planted links over.
    const std::string own = NUX_STD_library::PrivateTempFolder();
    ASSERT_FALSE(own.empty());
    EXPECT_TRUE(fs::is_empty(tmp.file("victimdir")));
    struct stat folder {};
    ASSERT_EQ(lstat(fs::path(own).parent_path().c_str(), &folder), 0);
    EXPECT_TRUE(S_ISDIR(folder.st_mode));
    EXPECT_EQ(folder.st_uid, geteuid());
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
}

TEST(cDXFStorage, AnUnwritableCopyStillLoadsTheDrawing)
{
    testsupport::TempDir tmp;
    TempFolderSwitch sw(tmp.file("missing/folder"));
    const std::string bytes = readAll(dataPath("dxf/noseqend.dxf"));
    cDXF d;
    d.FileStream(NUX_STD_library::Base64Encode(bytes));
    EXPECT_EQ(d.FileName(), "");
    EXPECT_EQ(d.Polylines().size(), 1u);
    EXPECT_EQ(NUX_STD_library::Base64Encode(bytes), d.FileStream());
    // Text without any Base64 is refused before the drawing changes (blanks alone are no
    // drawing, not such a text).
    EXPECT_THROW(d.FileStream("!!"), cError);
    EXPECT_EQ(d.Polylines().size(), 1u);
    // A drawing read from its file travels as that file's bytes.
    d.fileLoad(dataPath("dxf/entities.dxf"));
    EXPECT_EQ(d.FileStream(), NUX_STD_library::Base64Encode(readAll(dataPath("dxf/entities.dxf"))));
}

TEST(cDXFStorage, TheBytesSavedAreTheBytesReadWhateverBecomesOfTheFile)
{
    testsupport::TempDir tmp;
    const std::string path = tmp.file("drawing.dxf");
    // Large enough to be read as a large drawing is, a long comment first.
    const std::string bytes =
        "999\r\n" + std::string(300000, 'c') + "\r\n" + readAll(dataPath("dxf/entities.dxf"));
    testsupport::writeAll(path, bytes);
    cDXF d;
    d.fileLoad(path);
    const std::string b64 = NUX_STD_library::Base64Encode(bytes);
    // Rewritten in place with other bytes of the same length, then shortened to nothing.
    const std::string other(bytes.size(), '#');
    const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(pwrite(fd, other.data(), other.size(), 0), static_cast<ssize_t>(other.size()));
    close(fd);
    EXPECT_TRUE(d.FileStream() == b64); // (long texts: not printed)
    ASSERT_EQ(truncate(path.c_str(), 0), 0);
    EXPECT_TRUE(d.FileStream() == b64);
    EXPECT_EQ(d.Lines().size(), 2u);

    // A named pipe that nobody writes is refused at once, not waited for.
    const std::string pipe = tmp.file("pipe.dxf");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    auto load = std::async(std::launch::async, [&pipe] {
        cDXF p;
        try {
            p.fileLoad(pipe);
        } catch (const cError&) {
            return true;
        }
        return false;
    });
    if (load.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ADD_FAILURE() << "reading a named pipe waits for a writer";
        close(open(pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)); // lets the reader go
    }
    EXPECT_TRUE(load.get()) << "a named pipe is read as a drawing";
}

TEST(cDXFStorage, ALargeDrawingIsReadWithoutAskingForLargePages)
{
    // Large pages cost a drawing read once more than they give (each fault may wait for the
    // system to gather memory): neither the file's bytes nor the tables may ask for them.
    testsupport::TempDir tmp;
    const std::string path = tmp.file("large.dxf");
    std::string bytes = "0\r\nSECTION\r\n2\r\nENTITIES\r\n";
    for (int i = 0; i < 40000; ++i) {
        bytes += "0\r\nLINE\r\n8\r\n0\r\n10\r\n" + std::to_string(i) +
                 "\r\n20\r\n1\r\n11\r\n2\r\n21\r\n3\r\n";
    }
    bytes += "0\r\nENDSEC\r\n0\r\nEOF\r\n";
    testsupport::writeAll(path, bytes);
    cDXF d;
    d.fileLoad(path);
    ASSERT_EQ(d.Lines().size(), 40000u);
    ASSERT_GE(d.TableBytes(), std::size_t(256) << 10); // a table as large as the file's bytes

    // The mappings whose flags carry "hg" were marked with MADV_HUGEPAGE.
    std::ifstream smaps("/proc/self/smaps");
    ASSERT_TRUE(smaps) << "no /proc/self/smaps";
    std::string line;
    std::string range;
    std::vector<std::string> marked;
    while (std::getline(smaps, line)) {
        if (line.rfind("VmFlags:", 0) == 0) {
            std::istringstream flags(line.substr(8));
            for (std::string flag; flags >> flag;) {
                if (flag == "hg") {
                    marked.push_back(range);
                }
            }
        } else if (!line.empty() && std::isxdigit(static_cast<unsigned char>(line[0])) &&
                   line.find('-') != std::string::npos) {
            range = line.substr(0, line.find(' '));
        }
    }
    EXPECT_TRUE(marked.empty()) << "mappings asking for large pages: " << marked.size()
                                << ", the first " << marked.front();
}

TEST(cDXFStorage, APipeWhoseWriterStaysSilentIsRefusedAtOnce)
{
    testsupport::TempDir tmp;
    const std::string pipe = tmp.file("silent.dxf");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    // Held open for writing by the test, which never writes.
    const int writer = open(pipe.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    auto load = std::async(std::launch::async, [&pipe] {
        cDXF d;
        try {
            d.fileLoad(pipe);
        } catch (const cError& e) {
            return e.Number();
        }
        return 0L;
    });
    const bool ended = load.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    close(writer); // lets a waiting reader go
    EXPECT_TRUE(ended) << "the drawing waits for a silent writer";
    EXPECT_NE(load.get(), 0L) << "the pipe is read as a drawing";
}

// A file the system makes up as it is read (of a size of 0, without end) is refused at once
// with the cause, never read up to the largest drawing.
TEST(cDXFStorage, AFileOfProcIsRefusedAtOnceWithTheCause)
{
    cDXF d;
    long number = 0;
    std::string description;
    const auto start = std::chrono::steady_clock::now();
    try {
        d.fileLoad("/proc/self/pagemap");
    } catch (const cError& e) {
        number = e.Number();
        description = e.Description();
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(number, 75);
    const std::string cause =
        NUX_STD_library::ReadFaultText(NUX_STD_library::ReadFault::SystemFile);
    EXPECT_NE(description.find(cause), std::string::npos) << description;
    EXPECT_LT(took.count(), 1.0);
}
