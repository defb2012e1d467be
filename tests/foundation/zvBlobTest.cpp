// Record-field helpers: neutral values for Null fields and long fields written into files.
#include "foundation/cError.h"
#include "foundation/zvBlob.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(zvBlob, FldValueReplacesNullByTheTypesNeutralValue)
{
    for (int type : {2, 3, 4, 5, 6, 14, 131}) {
        EXPECT_EQ(zvBlob::FldValue(cField("n", type)), cVariant(0)) << type;
    }
    for (int type : {7, 129, 135, 200, 201, 202, 203}) {
        EXPECT_EQ(zvBlob::FldValue(cField("t", type)), cVariant("")) << type;
    }
    EXPECT_EQ(zvBlob::FldValue(cField("b", 11)), cVariant(false));
    EXPECT_EQ(zvBlob::FldValue(cField("x", 3, cVariant(7))), cVariant(7));
    EXPECT_EQ(zvBlob::FldValue(cField("x", 205, cVariant::Bytes("ab"))), cVariant::Bytes("ab"));
    EXPECT_EQ(zvBlob::FldValue(cField("x", 999, cVariant("kept"))), cVariant("kept"));
}

TEST(zvBlob, UnknownTypesAreReportedOncePerField)
{
    std::vector<std::string> told;
    zvBlob::SetUnknownTypeHandler([&](const std::string& m) { told.push_back(m); });
    for (int row = 0; row < 3; ++row) {
        EXPECT_TRUE(zvBlob::FldValue(cField("icona", 205)).isEmpty());
        EXPECT_TRUE(zvBlob::FldValue(cField("big", 20)).isEmpty());
    }
    EXPECT_EQ(told, (std::vector<std::string>{"Tipo non definito in FldValue : icona  205",
                                              "Tipo non definito in FldValue : big  20"}));
    zvBlob::SetUnknownTypeHandler(nullptr);
    EXPECT_TRUE(zvBlob::FldValue(cField("icona", 205)).isEmpty());
    EXPECT_EQ(told.size(), 2u);
}

class FieldToFileTest : public ::testing::Test {
protected:
    // A file's bytes after FieldToFile, checked against the length it returned.
    std::string write(cField& field, long size, long threshold)
    {
        const long length = zvBlob::FieldToFile(field, path, size, threshold);
        const std::string bytes = testsupport::readAll(path);
        EXPECT_EQ(length, static_cast<long>(bytes.size()));
        return bytes;
    }
    static std::string pattern(std::size_t n)
    {
        std::string s(n, '\0');
        for (std::size_t i = 0; i < n; ++i) {
            s[i] = static_cast<char>(i * 7 + i / 251);
        }
        return s;
    }
    testsupport::TempDir dir;
    std::string path = dir.file("icon.bmp");
};

TEST_F(FieldToFileTest, WholeValuesInPieces)
{
    for (std::size_t n : {std::size_t{0}, std::size_t{16384}, std::size_t{40000}}) {
        cField f("icona", 205, cVariant::Bytes(pattern(n)));
        EXPECT_EQ(write(f, -1, 1048576), pattern(n)) << n;
        EXPECT_TRUE(f.GetChunk(zvBlob::kChunkSize).isNull());  // read to the end
    }
    cField text("extra", 201, cVariant(std::string(20000, 'x') + "\xC3\xA8"));
    EXPECT_EQ(write(text, -1, 1048576), std::string(20000, 'x') + "\xC3\xA8");
}

TEST_F(FieldToFileTest, SizesUpToTheThresholdWriteTheWholeValue)
{
    cField f("icona", 205, cVariant::Bytes(pattern(40000)));
    EXPECT_EQ(write(f, 10, 1048576), pattern(40000));
    cField t("desc", 203, cVariant("whole text"));
    EXPECT_EQ(write(t, 3, 100), "whole text");
}

TEST_F(FieldToFileTest, LargerSizesWriteExactlyThatMany)
{
    cField f("icona", 205, cVariant::Bytes(pattern(40000)));
    EXPECT_EQ(write(f, 1000, 100), pattern(1000));
    cField g("icona", 205, cVariant::Bytes(pattern(40000)));
    EXPECT_EQ(write(g, 33000, 100), pattern(33000));
    // Asking for more than the value holds writes what there is.
    cField h("icona", 205, cVariant::Bytes(pattern(500)));
    EXPECT_EQ(write(h, 50000, 100), pattern(500));
}

TEST_F(FieldToFileTest, OtherTypesAndNullLeaveAnEmptyFile)
{
    testsupport::writeAll(path, "an older and longer file");
    cField number("n", 3, cVariant(5));
    EXPECT_EQ(write(number, -1, 1048576), "");
    testsupport::writeAll(path, "an older and longer file");
    cField shortText("s", 202, cVariant("text"));
    EXPECT_EQ(write(shortText, -1, 1048576), "");
    cField null("icona", 205);
    EXPECT_EQ(write(null, -1, 1048576), "");
    EXPECT_EQ(write(null, 5, 1048576), "");
}

TEST_F(FieldToFileTest, TableFieldsRestartTheirPiecesOnEveryRow)
{
    cRecordset rs;
    ASSERT_EQ(rs.AppendField("icona", 205), 0);
    ASSERT_EQ(rs.AddRow({cVariant::Bytes(pattern(20000))}), 0);
    ASSERT_EQ(rs.AddRow({cVariant::Bytes(pattern(30))}), 0);
    ASSERT_EQ(rs.MoveFirst(), 0);
    EXPECT_EQ(write(rs.Fields("icona"), -1, 1048576), pattern(20000));
    EXPECT_EQ(write(rs.Fields("icona"), -1, 1048576), "");  // this row's value is read
    ASSERT_EQ(rs.MoveNext(), 0);
    EXPECT_EQ(write(rs.Fields("icona"), -1, 1048576), pattern(30));
}

TEST_F(FieldToFileTest, UnwritablePathsRaise)
{
    cField f("icona", 205, cVariant::Bytes("x"));
    EXPECT_THROW(zvBlob::FieldToFile(f, dir.file("no/such/folder.bmp"), -1, 1048576), cError);
    cField n("n", 3, cVariant(1));
    EXPECT_THROW(n.GetChunk(10), cError);
    EXPECT_THROW(f.GetChunk(0), cError);
}

}  // namespace
