// The model's requests reaching the program's windows while the main window is up: the status
// line, the canvas's visible window, and a snippet saved through the input box showing up as a
// tool of the item bar.
#include "DispatchFixture.h"

#include "foundation/zvLib_canvas.h"
#include "model/zvLib_globals.h"
#include "model/zvLib_snippet.h"
#include "model/zvUI.h"

#include <QInputDialog>

using apptest::DispatchFixture;

namespace {

class QtUIWindowsTest : public DispatchFixture {
  protected:
    zvUI& ui() { return *zvLib::UI; }
};

TEST_F(QtUIWindowsTest, StatusAndViewGoToTheMainWindow)
{
    ui().SetStatus("Working", false);
    EXPECT_EQ(tool("sbr", "pnlstatus").Caption(), "Working");
    ui().SetStatus("", false);
    EXPECT_EQ(tool("sbr", "pnlstatus").Caption(), "Ready");

    ui().SetViewRect({-100, 50, 400, -300});
    EXPECT_FLOAT_EQ(zvLib::MainPic->ScaleLeft(), -100);
    EXPECT_FLOAT_EQ(zvLib::MainPic->ScaleWidth(), 400);
    const zvViewRect r = ui().GetViewRect();
    EXPECT_FLOAT_EQ(r.ScaleTop, 50);
    EXPECT_FLOAT_EQ(r.ScaleHeight, -300);
}

TEST_F(QtUIWindowsTest, ASavedSnippetAppearsInTheItemBar)
{
    EXPECT_EQ(ui().LoadSet("NOSUCH"), -4);
    EXPECT_EQ(ui().LoadSet(kSet), 0);
    click(pieceTool("CL32:AS1"));
    click(pieceTool("CL32:AC1-90(L)"));
    track().items().Item(2)->Selected(true);
    user_->steps.push_back([](QDialog& d) {
        auto& box = static_cast<QInputDialog&>(d);
        box.setTextValue("pair");
        box.accept();
    });
    zvLib::SnippetSave();
    cBarBand& snippets = main().abr.Band("ibr").ChildBand("snippets");
    ASSERT_EQ(snippets.ToolCount(), 1);
    EXPECT_EQ(snippets.Tool(0).Caption(), "pair");
    EXPECT_NE(snippets.Tool(0).Tag().find("CL32:AS1;"), std::string::npos);
    EXPECT_NE(snippets.Tool(0).Tag().find("CL32:AC1-90(L)"), std::string::npos);
    // Its tool inserts the pieces after the current one, the first straight.
    click(snippets.Tool(0));
    EXPECT_EQ(pieces(), (std::vector<std::string>{"AS1", "AS1", "AC1-90(L)", "AC1-90(L)"}));
}

} // namespace
