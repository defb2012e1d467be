// The colour chooser: OK gives the field the colour chosen, Cancel or closing the dialog
// leaves it as it was, and the dialog opens on the field's own colour.
#include "AppTest.h"

#include "app/zvLib_pickcolor.h"

#include <QColorDialog>
#include <QDialog>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

class PickColorTest : public apptest::AppFixture {
  protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        QPalette p = box.palette();
        p.setColor(QPalette::Window, QColor(10, 20, 30));
        box.setPalette(p);
    }
    QColor colour() const { return box.palette().color(QPalette::Window); }

    QWidget box;
};

TEST_F(PickColorTest, OkTakesTheChosenColourFromTheFieldsOwn)
{
    QColor offered;
    user_->steps.push_back([&](QDialog& d) {
        auto& dialog = dynamic_cast<QColorDialog&>(d);
        offered = dialog.currentColor();
        dialog.setCurrentColor(QColor(200, 100, 50));
        dialog.accept();
    });
    zvLib::PickColor(box);
    EXPECT_EQ(offered, QColor(10, 20, 30));
    EXPECT_EQ(colour(), QColor(200, 100, 50));
}

TEST_F(PickColorTest, CancelOrClosingLeavesTheField)
{
    user_->steps.push_back([](QDialog& d) {
        dynamic_cast<QColorDialog&>(d).setCurrentColor(QColor(1, 2, 3));
        d.reject();
    });
    zvLib::PickColor(box);
    EXPECT_EQ(colour(), QColor(10, 20, 30));
    zvLib::PickColor(box);  // no step: closed as by the window frame
    EXPECT_EQ(colour(), QColor(10, 20, 30));
}

}  // namespace
