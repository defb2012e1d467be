// The model's user interface as the program answers it: the clipboard, the input box through
// the modal script, the status line, and the canvas's window while there is a canvas or none.
#include "AppTest.h"

#include "app/zvQtUI.h"
#include "foundation/cRecordSurface.h"
#include "foundation/zvLib_canvas.h"

#include <QInputDialog>
#include <QLineEdit>

namespace {

class zvQtUITest : public apptest::AppFixture {
  protected:
    zvQtUI ui_;
};

TEST_F(zvQtUITest, ClipboardAndInputBoxAnswerAsTheUserWould)
{
    ui_.ClipboardSetText("<zorv snippet>CL32:AS1;</zorv snippet>");
    EXPECT_EQ(ui_.ClipboardGetText(), "<zorv snippet>CL32:AS1;</zorv snippet>");
    ui_.ClipboardClear();
    EXPECT_EQ(ui_.ClipboardGetText(), "");

    user_->steps.push_back([](QDialog& d) {
        auto& box = static_cast<QInputDialog&>(d);
        EXPECT_EQ(box.labelText().toStdString(), "Name?");
        EXPECT_EQ(box.textValue().toStdString(), "first");
        box.setTextValue("Hairpin");
        box.accept();
    });
    EXPECT_EQ(ui_.InputBox("Name?", "", "first"), std::optional<std::string>("Hairpin"));
    EXPECT_EQ(user_->dialogs.back(), "Zorv") << "the program's title when none is given";
    user_->steps.push_back([](QDialog& d) { d.reject(); });
    EXPECT_EQ(ui_.InputBox("Name?", "Snippet", ""), std::nullopt) << "cancelled";
    EXPECT_EQ(user_->dialogs.back(), "Snippet");

    user_->answers.push_back(vbMsg::No);
    EXPECT_EQ(ui_.MsgBox("Replace?", vbMsg::YesNo, ""), vbMsg::No);
    EXPECT_EQ(user_->messages.back(), "Replace?");
}

TEST_F(zvQtUITest, CanvasWindowWithAndWithoutACanvas)
{
    ASSERT_EQ(zvLib::MainPic, nullptr);
    const zvViewRect none = ui_.GetViewRect();
    EXPECT_EQ(none.ScaleWidth, 0);
    ui_.SetViewRect(zvViewRect{1, 2, 3, -4}); // nothing to move, nothing raised

    cRecordSurface pic;
    zvLib::MainPic = &pic;
    ui_.SetViewRect(zvViewRect{-100, 50, 200, -100});
    EXPECT_FLOAT_EQ(ui_.GetViewRect().ScaleLeft, -100);
    EXPECT_FLOAT_EQ(ui_.GetViewRect().ScaleHeight, -100);
    ui_.DrawCross();
    ASSERT_EQ(pic.Lines().size(), 2u);
    EXPECT_NE(pic.Lines()[0].find("color=&H0000FF"), std::string::npos);
    zvLib::MainPic = nullptr;
}

} // namespace
