// The item bar and the set chooser of the main window: the pieces tab with icons and
// separators, the snippets tab, placeholder icons, the bar's width kept per set, a set chosen
// again, an unknown set; the chooser's text and the background drawing's scale; dropped files.
#include "view/zvMainItemBar.h"

#include "DispatchFixture.h"
#include "app/core/zvLib_sets.h"
#include "app/core/zvLib_settings.h"
#include "app/core/zvLib_stock.h"
#include "app/zvLib_documents.h"
#include "app/zvLib_shell.h"
#include "dxf/cDXF.h"
#include "dxf/zvLib_dxf.h"
#include "model/cUndo.h"
#include "model/zvLib_factory.h"
#include "model/zvLib_globals.h"

#include <QImage>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using apptest::DispatchFixture;

namespace {

namespace fs = std::filesystem;

class ItemBarTest : public DispatchFixture {
  protected:
    void TearDown() override
    {
        zvLib::DXF.reset();
        DispatchFixture::TearDown();
    }
    cBarBand& tab(const char* name) { return main().abr.Band("ibr").ChildBand(name); }
    cBarTool& chooser() { return tool("tbr", "cboSet"); }
    // Chooses a set in the set chooser as the user does.
    void choose(const std::string& set)
    {
        for (int i = 0; i < chooser().ListCount(); ++i) {
            if (chooser().List(i) == set) {
                main().abr.ChooseComboEntry(chooser(), i);
                return;
            }
        }
        ADD_FAILURE() << set << " is not offered";
    }
    // The piece table record of an item code in a set.
    const zvPieceRecord& record(const std::string& set, const std::string& item)
    {
        return zvLib::PieceTable[static_cast<std::size_t>(zvLib::FindPieceRecord(set, item))];
    }
};

TEST_F(ItemBarTest, ChoosingASetFillsThePiecesTabWithIconsAndSeparators)
{
    choose("GT24");
    EXPECT_EQ(zvLib::CurSetID, "GT24");
    EXPECT_EQ(chooser().Text(), "GT24");
    cBarBand& items = tab("items");
    ASSERT_GT(items.ToolCount(), 4);
    const cBarTool& first = items.Tool(0);
    EXPECT_EQ(first.Name(), "GT24:BS1");
    EXPECT_EQ(first.Category(), "item.append");
    EXPECT_EQ(first.ToolTipText(), record("GT24", "BS1").description + "  [BS1]");
    EXPECT_EQ(first.ControlType(), cBarToolType::Button);
    EXPECT_EQ(first.Style(), 2);
    EXPECT_EQ(first.MaskColor(), 0xFF00FF);
    EXPECT_EQ(first.Picture(0), zvLib::TempFolder + "BS1.bmp");
    EXPECT_EQ(first.Picture(2), first.Picture(0));
    EXPECT_FALSE(QImage(QString::fromStdString(first.Picture(0))).isNull());
    // The three straights, then a separator before the first curve, named after it.
    EXPECT_EQ(items.Tool(2).Name(), "GT24:BS4");
    EXPECT_EQ(items.Tool(3).ControlType(), cBarToolType::Separator);
    EXPECT_EQ(items.Tool(3).Name(), "BC1-90(R)");
    EXPECT_EQ(items.Tool(3).Category(), "");
    EXPECT_EQ(items.Tool(4).Name(), "GT24:BC1-90(R)");
    // Every separator stands where the class changes and names the piece after it.
    int separators = 0;
    std::int32_t running = 1;
    for (int i = 0; i < items.ToolCount(); ++i) {
        const cBarTool& t = items.Tool(i);
        if (t.ControlType() == cBarToolType::Separator) {
            ++separators;
            ASSERT_LT(i + 1, items.ToolCount());
            EXPECT_EQ("GT24:" + t.Name(), items.Tool(i + 1).Name());
            continue;
        }
        const std::string code = t.Name().substr(t.Name().find(':') + 1);
        const std::int32_t cls = record("GT24", code).classe;
        EXPECT_EQ(i > 0 && items.Tool(i - 1).ControlType() == cBarToolType::Separator,
                  cls != running)
            << t.Name();
        running = cls;
    }
    EXPECT_GE(separators, 2);
    // The stock table now lists the chosen set.
    ASSERT_FALSE(zvLib::StockTable.empty());
    EXPECT_EQ(zvLib::StockTable.front()[zvLib::kStockSet], "GT24");
}

TEST_F(ItemBarTest, SnippetsOfTheSetBecomeTextTools)
{
    testsupport::writeAll(zvLib::UserFile, "[CL32.SNIPPETS]\nloop=;AS1;AS2\nbend=CL32:AC1-90(L);\n"
                                           "[GT24.SNIPPETS]\nother=BS1\n");
    choose("CL32");
    cBarBand& snippets = tab("snippets");
    ASSERT_EQ(snippets.ToolCount(), 2);
    const cBarTool& loop = snippets.Tool(0);
    EXPECT_EQ(loop.Name(), "K1");
    EXPECT_EQ(loop.Category(), "snippet.append");
    EXPECT_EQ(loop.Caption(), "loop");
    EXPECT_EQ(loop.ToolTipText(), "loop");
    EXPECT_EQ(loop.Tag(), ";CL32:AS1;CL32:AS2");
    EXPECT_EQ(loop.Style(), 1);
    EXPECT_EQ(loop.Width(), 1200);
    EXPECT_EQ(snippets.Tool(1).Name(), "K2");
    EXPECT_EQ(snippets.Tool(1).Tag(), "CL32:AC1-90(L);");
    choose("GT24");
    ASSERT_EQ(snippets.ToolCount(), 1);
    EXPECT_EQ(snippets.Tool(0).Tag(), "GT24:BS1");
    // The drawing tab keeps its own tools.
    EXPECT_EQ(tab("draw").Tool(0).Name(), "pointer");
}

TEST_F(ItemBarTest, MissingIconsGetAPlaceholderOnce)
{
    const std::string icon = zvLib::TempFolder + "MS1.bmp";
    fs::remove(icon);
    testsupport::writeAll(zvLib::TempFolder + "MS2.bmp", "not a picture");
    choose("MINI43");
    ASSERT_TRUE(fs::exists(icon));
    EXPECT_FALSE(QImage(QString::fromStdString(icon)).isNull());
    EXPECT_FALSE(QImage(QString::fromStdString(zvLib::TempFolder + "MS2.bmp")).isNull());
    const auto written = fs::last_write_time(icon);
    fs::last_write_time(icon, written - std::chrono::hours(1));
    choose("MINI43");
    EXPECT_EQ(fs::last_write_time(icon), written - std::chrono::hours(1)) << "found, not made";
}

TEST_F(ItemBarTest, AnIconFolderMadeAgainBySomeoneElseIsNotWrittenInto)
{
    // A cleaner removes the icon folder; another user makes it again and plants a link where
    // a placeholder icon will be written, aimed at a file of ours.
    const std::string victim = root_->dir() + "mine.txt";
    testsupport::writeAll(victim, "mine");
    const std::string folder = zvLib::TempFolder;
    fs::remove_all(folder);
    fs::create_directory(folder);
    chmod(folder.c_str(), 0777);
    if (geteuid() == 0) {
        ASSERT_EQ(chown(folder.c_str(), 54321, 54321), 0);
    }
    fs::create_symlink(victim, folder + "MS1.bmp");

    choose("MINI43");
    EXPECT_TRUE(testsupport::readAll(victim) == "mine") << "the planted link was written through";
    EXPECT_NE(zvLib::TempFolder, folder) << "the foreign folder is passed over";
    const cBarTool& first = tab("items").Tool(0);
    EXPECT_EQ(first.Picture(0).rfind(zvLib::TempFolder, 0), 0u) << first.Picture(0);
    EXPECT_FALSE(QImage(QString::fromStdString(first.Picture(0))).isNull());
}

TEST_F(ItemBarTest, TheBarKeepsItsWidthPerSet)
{
    cBarBand& ibr = main().abr.Band("ibr");
    EXPECT_EQ(ibr.Width(), zvMainItemBar::kDefaultWidth);
    ibr.Width(2000);
    choose("GT24");
    EXPECT_EQ(zvLib::GetSetting("Zorv", "Options", "itembarwidth\\CL32"), "2000");
    EXPECT_EQ(ibr.Width(), zvMainItemBar::kDefaultWidth) << "a set shown the first time";
    ibr.Width(1500);
    choose("CL32");
    EXPECT_EQ(ibr.Width(), 2000);
    choose("GT24");
    EXPECT_EQ(ibr.Width(), 1500);
}

TEST_F(ItemBarTest, ChoosingTheSameSetRebuildsTheBarAndAnUnknownSetLeavesIt)
{
    tab("items").RemoveAllTools();
    choose("CL32");
    ASSERT_GT(tab("items").ToolCount(), 0);
    EXPECT_EQ(tab("items").Tool(0).Name(), "CL32:AS1");
    const std::size_t records = zvLib::PieceTable.size();
    EXPECT_EQ(zvLib::LoadSet("NOSUCH"), zvLib::kSetMissing);
    EXPECT_EQ(chooser().Text(), "NOSUCH");
    EXPECT_EQ(tab("items").Tool(0).Name(), "CL32:AS1") << "the previous set's tools stay";
    EXPECT_EQ(zvLib::PieceTable.size(), records);
}

TEST_F(ItemBarTest, ACircuitsSetCodeInLowerCaseIsShownAsTheCataloguesSet)
{
    std::string path = documentsDir() + "lower.zv6";
    testsupport::writeAll(path, "<zorv><circuit><set>gt24;</set><tracks>1</tracks>"
                                "<angle>0</angle><name>n</name><description></description>"
                                "<items><track-1>gt24:BS1;</track-1></items></circuit></zorv>");
    ASSERT_TRUE(zvLib::OpenCircuit(path));
    ASSERT_EQ(pieces(), std::vector<std::string>{"BS1"}) << "the file's pieces are recognised";
    EXPECT_EQ(chooser().Text(), "GT24");
    ASSERT_GE(chooser().ListIndex(), 0) << "an entry is chosen";
    EXPECT_EQ(chooser().List(chooser().ListIndex()), "GT24");
    ASSERT_GT(tab("items").ToolCount(), 0) << "the set's pieces are offered";
    EXPECT_EQ(tab("items").Tool(0).Name(), "GT24:BS1");
}

TEST_F(ItemBarTest, OnlyANumberTypedIntoATextToolBecomesTheDrawingsScale)
{
    // Without a background drawing a typed text does nothing.
    main().abr.ChangeToolText(chooser(), "7");
    EXPECT_FALSE(zvLib::DXF);

    zvLib::DXF = std::make_unique<cDXF>();
    const cFixed scale = zvLib::DXF->scaleFactor();
    canvas_.Clear();
    main().abr.ChangeToolText(chooser(), "2.5");
    EXPECT_EQ(zvLib::DXF->scaleFactor(), scale) << "the set chooser names sets, never scales";
    EXPECT_EQ(chooser().Text(), "2.5");

    cBarTool& text = tool("tbr", "text");
    main().abr.ChangeToolText(text, "abc");
    EXPECT_EQ(zvLib::DXF->scaleFactor(), scale);
    EXPECT_TRUE(canvas_.Lines().empty()) << "a refused text leaves the canvas alone";
    EXPECT_EQ(text.Text(), scale.str());

    main().abr.ChangeToolText(text, "2,5");
    EXPECT_EQ(zvLib::DXF->scaleFactor(), cFixed::fromDouble(2.5));
    ASSERT_FALSE(canvas_.Lines().empty());
    EXPECT_EQ(canvas_.Lines().front().rfind("Cls", 0), 0u);
    EXPECT_EQ(text.Text(), "2.5");
}

TEST_F(ItemBarTest, AFileDroppedOnAChangedCircuitAsksFirst)
{
    const auto before = zvLib::Circuit();
    main().Form_OLEDragDrop({});
    EXPECT_EQ(zvLib::Circuit(), before);
    click(pieceTool("CL32:AS1"));
    ASSERT_TRUE(zvLib::Undo().isdirty());
    const std::string definition = circuit().DefString();
    user_->answers = {vbMsg::Cancel};
    main().Form_OLEDragDrop({documentsDir() + "other.zv6"});
    EXPECT_EQ(zvLib::Circuit(), before);
    EXPECT_EQ(circuit().DefString(), definition);
    EXPECT_EQ(user_->messages.size(), 1u) << "the save prompt, as the File menu's open asks";
}

} // namespace
