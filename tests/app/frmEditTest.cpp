// The piece editor view: embedded by the EDITOR view and unloaded by DESIGN with its picture
// as the editor's surface while loaded, the grid listing the chosen set's piece types, a chosen
// row drawing that piece at the origin with its outline, and the preview's world and clicks.
#include "view/frmEdit.h"

#include "DispatchFixture.h"
#include "model/zvItem.h"
#include "model/zvLib_factory.h"
#include "model/zvLib_globals.h"
#include "foundation/zvLib_canvas.h"
#include "foundation/zvLib_text.h"
#include "platform/cPictureBox.h"
#include "platform/cQtConvert.h"
#include "platform/cQtSurface.h"
#include "view/zvLang_forms.h"
#include "view/zvLib_view.h"
#include "view/zvLib_viewmode.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTest>

using apptest::DispatchFixture;

namespace {

class PieceEditorTest : public DispatchFixture {
  protected:
    frmEdit* loaded() { return qobject_cast<frmEdit*>(zvLib::Form(zvForm::frmEdit)); }

    // Enters the editor view, shows the fixture's set and records the preview from then on.
    frmEdit& enter()
    {
        run("VIEW.EDITOR");
        frmEdit* e = loaded();
        EXPECT_NE(e, nullptr);
        const int at = e->cboID->findText(kSet, Qt::MatchFixedString);
        EXPECT_GE(at, 0);
        e->cboID->setCurrentIndex(at);
        e->toGrid();
        zvLib::EditPic = &preview_;
        return *e;
    }
    void TearDown() override
    {
        if (zvLib::EditPic == &preview_) {
            zvLib::EditPic = nullptr;
        }
        DispatchFixture::TearDown();
    }
    // The grid row (from 1) of a piece key; 0 when missing.
    static int rowOf(const frmEdit& e, const std::string& key)
    {
        for (int i = 0; i < e.grd.RowCount(); ++i) {
            if (e.grd.Value(i, 0) == key) {
                return i + 1;
            }
        }
        return 0;
    }
    // The recorded lines that contain a text.
    std::vector<std::string> linesWith(const std::string& text) const
    {
        std::vector<std::string> out;
        for (const std::string& l : preview_.Lines()) {
            if (l.find(text) != std::string::npos) {
                out.push_back(l);
            }
        }
        return out;
    }
    // The outline lines a piece of the set built independently at the origin draws.
    static std::vector<std::string> outlineOf(const std::string& key, double angle = 0)
    {
        std::string k = key;
        auto piece = zvLib::CreateItem(kSet, k, cFixed(), cFixed(), cFixed::fromDouble(angle));
        EXPECT_TRUE(piece);
        cRecordSurface expected;
        zvLib::DrawPolyline(expected, piece->GetOutline(), 0xFF00, 1);
        return expected.Lines();
    }
    // The first key of the set's records of a class.
    static std::string firstOfClass(int classe)
    {
        for (const zvPieceRecord& r : zvLib::PieceTable) {
            if (zvLib::SameText(r.setID, kSet) && r.classe == classe) {
                return r.itemID;
            }
        }
        return {};
    }

    cRecordSurface preview_;
};

TEST_F(PieceEditorTest, EditorViewEmbedsTheWindowAndDesignUnloadsIt)
{
    run("VIEW.EDITOR");
    frmEdit* e = loaded();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->parentWidget(), main().pag);
    EXPECT_TRUE(e->isVisible());
    EXPECT_FALSE(main().pic->isVisible());
    EXPECT_EQ(e->geometry(), QRect(QPoint(0, 0), main().pag->size()));
    EXPECT_TRUE(main().abr.Band("vbr").Tool("editor").Checked());
    EXPECT_FALSE(main().abr.Band("vbr").Tool("design").Checked());
    EXPECT_EQ(zvLib::EditPic, &e->pic->Surface());
    EXPECT_GT(e->cboID->count(), 0);

    // Entering the view again loads the window afresh: collected points are gone.
    e->txtPts->setPlainText("1:2;");
    run("VIEW.EDITOR");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_NE(loaded(), nullptr);
    EXPECT_EQ(loaded()->txtPts->toPlainText(), "");

    run("VIEW.DESIGN");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(loaded(), nullptr);
    EXPECT_EQ(zvLib::EditPic, nullptr);
    EXPECT_TRUE(main().pag->isHidden());
    EXPECT_TRUE(main().abr.Band("vbr").Tool("design").Checked());
    EXPECT_FALSE(main().abr.Band("vbr").Tool("editor").Checked());
}

TEST_F(PieceEditorTest, TheGridListsTheChosenSetsPieceTypesWithoutStartRecords)
{
    frmEdit& e = enter();
    EXPECT_EQ(e.ChosenSet(), kSet);
    EXPECT_EQ(e.txtDesc->text().toStdString(), "Club track, scale 1:32") << "the set row's";
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < zvLib::PieceTable.size(); ++i) {
        const zvPieceRecord& r = zvLib::PieceTable[i];
        if (zvLib::SameText(r.setID, kSet) && r.classe != 0) {
            expected.push_back(r.itemID + "|" + r.description + "|" + std::to_string(i));
        }
    }
    ASSERT_FALSE(expected.empty());
    std::vector<std::string> listed;
    for (int i = 0; i < e.grd.RowCount(); ++i) {
        listed.push_back(e.grd.Value(i, 0) + "|" + e.grd.Value(i, 1) + "|" + e.grd.Value(i, 2));
    }
    EXPECT_EQ(listed, expected);

    // A right-hand curve and its left-hand copy are two rows with their own indexes.
    const std::string right = firstOfClass(2);
    ASSERT_NE(right.find("(R)"), std::string::npos);
    const std::string left = right.substr(0, right.size() - 3) + "(L)";
    ASSERT_GT(rowOf(e, right), 0);
    ASSERT_GT(rowOf(e, left), 0);
    EXPECT_NE(e.grd.Value(rowOf(e, right) - 1, 2), e.grd.Value(rowOf(e, left) - 1, 2));

    // Another set lists other pieces.
    for (int i = 0; i < e.cboID->count(); ++i) {
        if (!zvLib::SameText(e.cboID->itemText(i).toStdString(), kSet)) {
            e.cboID->setCurrentIndex(i);
            e.toGrid();
            for (int r = 0; r < e.grd.RowCount(); ++r) {
                const auto index = std::stoul(e.grd.Value(r, 2));
                EXPECT_TRUE(zvLib::SameText(zvLib::PieceTable.at(index).setID,
                                            e.cboID->itemText(i).toStdString()));
                EXPECT_NE(zvLib::PieceTable.at(index).classe, 0);
            }
            break;
        }
    }
}

TEST_F(PieceEditorTest, ChoosingARowDrawsThatPieceAtTheOriginWithItsOutline)
{
    frmEdit& e = enter();
    for (const std::string& key : {firstOfClass(1), firstOfClass(2)}) {
        const int row = rowOf(e, key);
        ASSERT_GT(row, 0) << key;
        preview_.Clear();
        e.grd.ChooseRow(row);
        EXPECT_EQ(e.ChosenKey(), key);
        EXPECT_EQ(zvLib::PieceTable.at(static_cast<std::size_t>(e.ChosenIndex())).itemID, key);
        ASSERT_FALSE(preview_.Lines().empty());
        EXPECT_EQ(preview_.Lines().front().rfind("Cls", 0), 0u);
        // The outline of this very piece, in green, after the piece itself.
        const std::vector<std::string> outline = outlineOf(key);
        EXPECT_EQ(linesWith("color=&H00FF00 width=1"), outline) << key;
        EXPECT_FALSE(linesWith("PSet").empty());
        EXPECT_EQ(e.txtExtra->toPlainText().toStdString(),
                  zvLib::PieceTable.at(static_cast<std::size_t>(e.ChosenIndex())).extra);
    }
    // The angle slider turns the piece about the origin at the next rebuild.
    e.sldAngle->setValue(-90);
    preview_.Clear();
    e.doItem();
    EXPECT_EQ(e.txtAngle->text(), "-90");
    EXPECT_EQ(linesWith("color=&H00FF00 width=1"), outlineOf(e.ChosenKey(), -90));
    e.cmdAngle_Click();
    EXPECT_EQ(e.sldAngle->value(), 0);
    EXPECT_EQ(e.txtAngle->text(), "-90");
}

TEST_F(PieceEditorTest, TheChosenPieceAppearsOnTheRealPicture)
{
    frmEdit& e = enter();
    zvLib::EditPic = &e.pic->Surface();
    const int row = rowOf(e, firstOfClass(1));
    ASSERT_GT(row, 0);
    auto greens = [&e] {
        const QImage image = e.pic->Surface().Image();
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                n += c.green() > 160 && c.red() < 96 && c.blue() < 96 ? 1 : 0;
            }
        }
        return n;
    };
    EXPECT_EQ(greens(), 0);
    e.grd.ChooseRow(row);
    EXPECT_GT(greens(), 0);
}

TEST_F(PieceEditorTest, ThePreviewWorldFollowsTheWidthSlider)
{
    frmEdit& e = enter();
    e.SetupView(1000);
    EXPECT_FLOAT_EQ(preview_.ScaleLeft(), -100.0f);
    EXPECT_FLOAT_EQ(preview_.ScaleLeft() + preview_.ScaleWidth(), 900.0f);
    EXPECT_GT(preview_.ScaleTop(), 0.0f);
    EXPECT_LT(preview_.ScaleHeight(), 0.0f);
    e.SetupView(50);
    EXPECT_FLOAT_EQ(preview_.ScaleLeft(), -5.0f);
    EXPECT_FLOAT_EQ(preview_.ScaleLeft() + preview_.ScaleWidth(), 45.0f);
}

TEST_F(PieceEditorTest, ClicksCollectRoundedPointsAndApplyStoresTrimmedPointSets)
{
    frmEdit& e = enter();
    e.pic_MouseDown(123.4, -56.6);
    e.pic_MouseDown(0.2, 10);
    EXPECT_EQ(e.txtPts->toPlainText().toStdString(), "123:-57;0:10;");

    // Apply before a piece type is chosen writes nothing.
    const std::string first = zvLib::PieceTable.front().extra;
    e.txtExtra->setPlainText("  x=1:2;  ");
    e.cmdApply_Click();
    EXPECT_EQ(zvLib::PieceTable.front().extra, first);

    const std::string key = firstOfClass(1);
    e.grd.ChooseRow(rowOf(e, key));
    const auto index = static_cast<std::size_t>(e.ChosenIndex());
    const std::string saved = zvLib::PieceTable.at(index).extra;
    e.txtExtra->setPlainText("  Probe=0:0;10:10;  ");
    e.cmdApply_Click();
    EXPECT_EQ(zvLib::PieceTable.at(index).extra, "Probe=0:0;10:10;");
    EXPECT_EQ(e.txtExtra->toPlainText().toStdString(), "Probe=0:0;10:10;");
    zvLib::PieceTable.at(index).extra = saved;
}

TEST_F(PieceEditorTest, ReleasingTheMouseOnASliderRebuildsThePreview)
{
    frmEdit& e = enter();
    e.grd.ChooseRow(rowOf(e, firstOfClass(2)));
    e.sldAngle->setValue(30);
    preview_.Clear();
    // A value changed by the program alone does not rebuild.
    EXPECT_TRUE(preview_.Lines().empty());
    const QPointF at(5, 5);
    QMouseEvent release(QEvent::MouseButtonRelease, at, e.sldAngle->mapToGlobal(at),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(e.sldAngle, &release);
    EXPECT_EQ(e.txtAngle->text(), "30");
    EXPECT_EQ(linesWith("color=&H00FF00 width=1"), outlineOf(e.ChosenKey(), 30));
}

TEST_F(PieceEditorTest, ThePointerIsShownInTheStatusLine)
{
    frmEdit& e = enter();
    e.pic_MouseMove(-12.6, 40.2);
    EXPECT_EQ(main().abr.Band("sbr").Tool("pnlstatus").Caption(), "-13:40");
}

TEST_F(PieceEditorTest, ThePictureIsSetUpAtItsRealSizeAndAgainWhenItResizes)
{
    run("VIEW.EDITOR");
    QCoreApplication::processEvents();
    frmEdit* e = loaded();
    ASSERT_NE(e, nullptr);
    const auto check = [e](const char* when) {
        cQtSurface& s = e->pic->Surface();
        const int w = e->pic->width();
        const int h = e->pic->height();
        EXPECT_NEAR(s.ScaleLeft(), -200, 1e-6) << when;
        EXPECT_NEAR(s.ScaleWidth(), 2000, 1e-6) << when;
        EXPECT_NEAR(-s.ScaleHeight() / s.ScaleWidth(), static_cast<double>(h) / w, 1e-3) << when;
        // The x axis runs half-way up across the whole picture, up to its right edge.
        const QImage image = s.Image();
        ASSERT_EQ(image.size(), e->pic->size()) << when;
        int dark = 0;
        for (int x = w * 3 / 4; x < w; ++x) {
            dark += qGray(image.pixel(x, h / 2)) < 128 ? 1 : 0;
        }
        EXPECT_GT(dark, 0) << when << ": the x axis reaches the right edge";
        // A click half-way up lies on the x axis.
        e->txtPts->clear();
        QTest::mouseClick(e->pic, Qt::LeftButton, Qt::NoModifier, QPoint(w / 10, h / 2));
        const QStringList point = e->txtPts->toPlainText().remove(';').split(':');
        ASSERT_EQ(point.size(), 2) << when;
        EXPECT_LE(std::abs(point[0].toInt()), 3) << when;
        EXPECT_EQ(point[1].toInt(), 0) << when;
    };
    check("first picture");
    main().resize(main().width() + 150, main().height() + 100);
    QCoreApplication::processEvents();
    check("after a resize");
    const std::string extra = "typed but not applied";
    e->txtExtra->setPlainText(QString::fromStdString(extra));
    main().resize(main().width() - 100, main().height() - 50);
    QCoreApplication::processEvents();
    EXPECT_EQ(e->txtExtra->toPlainText().toStdString(), extra) << "a resize keeps the edit";
}

TEST_F(PieceEditorTest, TheLayoutStretchesThePictureOnlyInALargeEnoughWindow)
{
    frmEdit& e = enter();
    e.resize(cQtConvert::TwipsToPixels(9000), cQtConvert::TwipsToPixels(6000));
    const QRect large = e.pic->geometry();
    EXPECT_EQ(large.right() + 1, e.width());
    EXPECT_EQ(large.left(), e.sld->geometry().right() + 1);
    e.resize(cQtConvert::TwipsToPixels(5000), cQtConvert::TwipsToPixels(6000));
    EXPECT_EQ(e.pic->geometry(), large);
}

} // namespace
