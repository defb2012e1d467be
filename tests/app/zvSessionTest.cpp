// A short session as a user has it: a set picked in the set chooser, a closed circuit built
// from piece commands, the view fitted and the info window opened; the picture on the main
// window's own canvas is checked, and written to a file when ZORV_SESSION_PNG names one.
#include "DispatchFixture.h"

#include "app/zvLib_commands.h"
#include "view/frmInfo.h"
#include "view/zvLang_forms.h"

#include <QImage>
#include <QPixmap>

#include <cstdlib>

using apptest::DispatchFixture;

namespace {

class SessionTest : public DispatchFixture {};

TEST_F(SessionTest, AClosedCircuitBuiltFromCommandsIsDrawnAndMeasured)
{
    useRealCanvas();
    // The design view shows the item bar; its pieces are the set's.
    main().abr.Band("ibr").Visible(true);
    ASSERT_GT(main().abr.Band("ibr").ChildBand("items").ToolCount(), 0);
    cBarTool& sets = tool("tbr", "cboSet");
    for (int i = 0; i < sets.ListCount(); ++i) {
        if (sets.List(i) == kSet) {
            main().abr.ChooseComboEntry(sets, i);
        }
    }
    ASSERT_EQ(zvLib::CurSetID, kSet);
    newCircuit();
    const char* const oval[] = {"AS1", "AS1", "AC1-90(L)", "AC1-90(L)",
                                "AS1", "AS1", "AC1-90(L)", "AC1-90(L)"};
    for (const char* code : oval) {
        std::string command = std::string("item.append.") + kSet + ":" + code;
        zvLib::ExecCommand(command);
    }
    EXPECT_EQ(pieces().size(), 8u);
    const auto& last = track().items().Last();
    const auto& start = track().items().First();
    EXPECT_NEAR(last->xFine().toDouble(), start->xIniz().toDouble(), 0.01) << "the loop closes";
    EXPECT_NEAR(last->yFine().toDouble(), start->yIniz().toDouble(), 0.01);
    run("VIEW.FIT");
    run("VIEW.INFO");
    auto* info = qobject_cast<frmInfo*>(zvLib::Form(zvForm::frmInfo));
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->grd.RowCount(), 2);
    // Four straights of 350 mm and two half circles of 214 mm on the centre line.
    EXPECT_EQ(tool("sbr", "pnlinfo_2").Caption(), "2.74m  (0.088 km)");

    // The window lays itself out as the event loop would have it.
    QCoreApplication::processEvents();
    // The canvas holds the drawing: some pixels differ from its background.
    const QImage picture = main().pic->grab().toImage();
    const QRgb back = picture.pixel(2, 2);
    int drawn = 0;
    for (int y = 0; y < picture.height(); y += 3) {
        for (int x = 0; x < picture.width(); x += 3) {
            drawn += picture.pixel(x, y) != back ? 1 : 0;
        }
    }
    EXPECT_GT(drawn, 500);
    if (const char* png = std::getenv("ZORV_SESSION_PNG")) {
        main().grab().save(QString::fromUtf8(png));
        info->grab().save(QString::fromUtf8(png).replace(".png", "-info.png"));
    }
}

} // namespace
