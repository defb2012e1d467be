// The drawing as the circuit file carries it: Base64 in, a temporary copy, and the same bytes
// out again whatever became of the copy.
#include "dxf/cDXF.h"
#include "foundation/NUX_STD_encoding.h"
#include "foundation/cError.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

using testsupport::dataPath;
using testsupport::readAll;

namespace {

// Points TMPDIR at a folder for the life of the object.
class TempFolderSwitch {
  public:
    explicit TempFolderSwitch(const std::string& dir)
    {
        const char* old = std::getenv("TMPDIR");
        had_ = old != nullptr;
        old_ = had_ ? old : "";
        setenv("TMPDIR", dir.c_str(), 1);
    }
    ~TempFolderSwitch()
    {
        if (had_) {
            setenv("TMPDIR", old_.c_str(), 1);
        } else {
            unsetenv("TMPDIR");
        }
    }

  private:
    bool had_ = false;
    std::string old_;
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

TEST(cDXFStorage, Base64InGivesADrawingACopyAndTheSameBytesOut)
{
    testsupport::TempDir tmp;
    TempFolderSwitch sw(tmp.dir());
    const std::string bytes = readAll(dataPath("dxf/entities.dxf"));
    const std::string b64 = NUX_STD_library::Base64Encode(bytes);

    cDXF d;
    EXPECT_EQ(d.FileStream(), ""); // nothing loaded yet
    d.FileStream(Wrapped(b64));
    EXPECT_EQ(d.Lines().size(), 2u);
    EXPECT_EQ(d.FileName().rfind(tmp.dir(), 0), 0u) << d.FileName();
    EXPECT_EQ(d.FileName().substr(d.FileName().size() - 4), ".dxf");
    EXPECT_EQ(readAll(d.FileName()), bytes);
    EXPECT_EQ(d.OffsetX(), cFixed());

    // The copy may vanish before the circuit is saved; the drawing does not.
    std::filesystem::remove(d.FileName());
    EXPECT_EQ(d.FileStream(), b64);
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
    // Text without any Base64 is refused before the drawing changes.
    EXPECT_THROW(d.FileStream("   "), cError);
    EXPECT_EQ(d.Polylines().size(), 1u);
    // A drawing read from its file travels as that file's bytes.
    d.fileLoad(dataPath("dxf/entities.dxf"));
    EXPECT_EQ(d.FileStream(), NUX_STD_library::Base64Encode(readAll(dataPath("dxf/entities.dxf"))));
}
