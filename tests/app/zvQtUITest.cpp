// The model's user interface as the program answers it: the clipboard, the input box and the
// message box through the modal script.
#include "AppTest.h"

#include "app/zvQtUI.h"

#include <QInputDialog>

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

} // namespace
