// Piece icon files: written from the icon field or the stock picture, mirrored for the second
// hand, replaced by the key when they cannot be read.
#include "AppTest.h"

#include "app/zvIconFiles.h"
#include "foundation/cRecordset.h"

#include <QPainter>

using testsupport::readAll;
using testsupport::writeAll;

namespace {

class zvIconFilesTest : public ::testing::Test {
  protected:
    void SetUp() override { apptest::App(); }
    static zvPieceRecord record(const char* itemID)
    {
        zvPieceRecord r;
        r.setID = "S";
        r.itemID = itemID;
        return r;
    }
    QImage load(const char* itemID) const
    {
        return QImage(QString::fromStdString(icons.IconPath(record(itemID))));
    }

    testsupport::TempDir dir;
    zvIconFiles icons{dir.dir()};
};

TEST_F(zvIconFilesTest, EmptyFieldGivesTheStockPicture)
{
    writeAll(dir.file("A1.bmp"), "old contents that are no picture");
    cField empty("icona", 205);
    icons.WriteIcon(record("A1"), &empty);
    const QImage icon = load("A1");
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.size(), QSize(40, 40));
    EXPECT_EQ(icon.convertToFormat(QImage::Format_RGB888),
              zvIconFiles::StockPicture().convertToFormat(QImage::Format_RGB888));
    icons.WriteIcon(record("A2"), nullptr);
    EXPECT_FALSE(load("A2").isNull());
}

TEST_F(zvIconFilesTest, FieldBytesAreTheIconAndTheCopyIsItsMirror)
{
    QImage picture(40, 40, QImage::Format_RGB888);
    picture.fill(Qt::white);
    QPainter(&picture).fillRect(0, 0, 10, 40, Qt::red);
    picture.save(QString::fromStdString(dir.file("source.bmp")), "BMP");
    cField field("icona", 205, cVariant::Bytes(readAll(dir.file("source.bmp"))));
    icons.WriteIcon(record("C1(R)"), &field);
    EXPECT_EQ(readAll(dir.file("C1(R).bmp")), readAll(dir.file("source.bmp")));

    icons.MirrorIcon(record("C1(R)"), record("C1(L)"));
    const QImage mirrored = load("C1(L)").convertToFormat(QImage::Format_RGB888);
    EXPECT_EQ(mirrored, picture.mirrored(true, false));
}

TEST_F(zvIconFilesTest, UnreadableIconBecomesThePiecesKey)
{
    writeAll(dir.file("B7.bmp"), "no picture");
    icons.CheckIcon(record("B7"));
    const QImage placeholder = load("B7");
    ASSERT_FALSE(placeholder.isNull());
    int inked = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            inked += qGray(placeholder.pixel(x, y)) < 128 ? (y < 14 ? 1 : 1000) : 0;
        }
    }
    EXPECT_GT(inked, 0) << "the key is printed";
    EXPECT_LT(inked, 1000) << "in the top line";
    // A readable icon is left as it is.
    const std::string before = readAll(dir.file("B7.bmp"));
    icons.CheckIcon(record("B7"));
    EXPECT_EQ(readAll(dir.file("B7.bmp")), before);
    // A source that cannot be read gives the copy nothing to mirror.
    icons.MirrorIcon(record("missing"), record("copy"));
    EXPECT_TRUE(load("copy").isNull());
}

} // namespace
