// The model's requests answered by the program's windows: the system clipboard, the input box
// answered by a script, message boxes, the status line, the canvas's visible window, the set
// loader; and a snippet saved through them shows up in the item bar.
#include "DispatchFixture.h"

#include "app/zvQtUI.h"
#include "foundation/zvLib_canvas.h"
#include "model/zvLib_globals.h"
#include "model/zvLib_snippet.h"

#include <QLineEdit>

using apptest::DispatchFixture;

namespace {

class QtUITest : public DispatchFixture {
  protected:
    zvUI& ui() { return *zvLib::UI; }
    // Queues an answer to the next input box: the text typed and the button clicked.
    void answerInput(const std::string& text, const char* button)
    {
        user_->steps.push_back([text, button](QDialog& d) {
            auto* line = d.findChild<QLineEdit*>("txt");
            ASSERT_NE(line, nullptr);
            line->setText(QString::fromStdString(text));
            apptest::Click(d, button);
        });
    }
};

TEST_F(QtUITest, ClipboardMessagesAndStatusGoToTheProgramsWindows)
{
    ui().ClipboardSetText("<zorv snippet>CL32:AS1;</zorv snippet>");
    EXPECT_EQ(ui().ClipboardGetText(), "<zorv snippet>CL32:AS1;</zorv snippet>");
    ui().ClipboardClear();
    EXPECT_EQ(ui().ClipboardGetText(), "");

    user_->answers = {7};
    EXPECT_EQ(ui().MsgBox("Replace it?", 36, "Snippet"), 7);
    EXPECT_EQ(user_->messages.back(), "Replace it?");
    EXPECT_EQ(user_->titles.back(), "Snippet");

    ui().SetStatus("Working", false);
    EXPECT_EQ(tool("sbr", "pnlstatus").Caption(), "Working");
    ui().SetStatus("", false);
    EXPECT_EQ(tool("sbr", "pnlstatus").Caption(), "Ready");
}

TEST_F(QtUITest, TheInputBoxGivesTheTextOrNothingWhenCancelled)
{
    answerInput("oval", "cmdOK");
    EXPECT_EQ(ui().InputBox("Name?", "Snippet", "first"), std::optional<std::string>("oval"));
    EXPECT_EQ(user_->dialogs.back(), "Snippet");
    answerInput("oval", "cmdCancel");
    EXPECT_EQ(ui().InputBox("Name?", "", ""), std::nullopt);
    EXPECT_EQ(user_->dialogs.back(), "Zorv") << "the program's title when none is given";
    // Closed by its frame: cancelled; the first text stands when nothing is typed.
    EXPECT_EQ(ui().InputBox("Name?", "", "x"), std::nullopt);
    user_->steps.push_back([](QDialog& d) { apptest::Click(d, "cmdOK"); });
    EXPECT_EQ(ui().InputBox("Name?", "", "first"), std::optional<std::string>("first"));
}

TEST_F(QtUITest, TheViewRectangleIsTheCanvasScale)
{
    ui().SetViewRect({-100, 50, 400, -300});
    EXPECT_FLOAT_EQ(canvas_.ScaleLeft(), -100);
    EXPECT_FLOAT_EQ(canvas_.ScaleTop(), 50);
    EXPECT_FLOAT_EQ(canvas_.ScaleWidth(), 400);
    EXPECT_FLOAT_EQ(canvas_.ScaleHeight(), -300);
    const zvViewRect r = ui().GetViewRect();
    EXPECT_FLOAT_EQ(r.ScaleLeft, -100);
    EXPECT_FLOAT_EQ(r.ScaleHeight, -300);
    cSurface* canvas = zvLib::MainPic;
    zvLib::MainPic = nullptr;
    EXPECT_FLOAT_EQ(ui().GetViewRect().ScaleWidth, 0) << "no canvas, no window";
    ui().SetViewRect({1, 2, 3, 4});
    zvLib::MainPic = canvas;
    EXPECT_FLOAT_EQ(canvas_.ScaleWidth(), 400);
}

TEST_F(QtUITest, ASavedSnippetAppearsInTheItemBar)
{
    EXPECT_EQ(ui().LoadSet("NOSUCH"), -4);
    EXPECT_EQ(ui().LoadSet(kSet), 0);
    click(pieceTool("CL32:AS1"));
    click(pieceTool("CL32:AC1-90(L)"));
    track().items().Item(2)->Selected(true);
    answerInput("pair", "cmdOK");
    zvLib::SnippetSave();
    cBarBand& snippets = main().abr.Band("ibr").ChildBand("snippets");
    ASSERT_EQ(snippets.ToolCount(), 1);
    EXPECT_EQ(snippets.Tool(0).Caption(), "pair");
    EXPECT_NE(snippets.Tool(0).Tag().find("CL32:AS1;"), std::string::npos);
    EXPECT_NE(snippets.Tool(0).Tag().find("CL32:AC1-90(L)"), std::string::npos);
}

} // namespace
