// View modes: the design canvas with its companions against the page container, the checked
// tool of the view-mode bar, and the answer to a mode this version cannot show.
#include "AppTest.h"
#include "CanvasFixture.h"

#include "foundation/zvLib_canvas.h"
#include "platform/cBarModel.h"
#include "platform/cPictureBox.h"
#include "platform/cScrollBar.h"
#include "app/zvLib_commands.h"
#include "view/frmMain.h"
#include "view/zvLang_forms.h"
#include "view/zvLib_viewmode.h"

#include <QApplication>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

class ViewModeTest : public apptest::CanvasFixture {
  protected:
    void SetUp() override
    {
        CanvasFixture::SetUp();
        useLanguage("EN");
        main_ = new frmMain;
        zvLib::LoadForm(zvForm::frmMain, main_);
        main_->resize(1000, 700);
        main_->show();  // offscreen
        QApplication::processEvents();
    }
    // True when the canvas and everything that belongs to it is shown, and the page container
    // hidden.
    bool designShown() const
    {
        const bool panels = main_->abr.Band("sbr").Tool("pnlinfo_2").Visible();
        return main_->pic->isVisible() && main_->hsc->isVisible() && main_->vsc->isVisible() &&
               main_->cmd->isVisible() && main_->abr.Band("ibr").Visible() && panels &&
               !main_->pag->isVisible();
    }
    bool checked(const char* tool) const { return main_->abr.Band("vbr").Tool(tool).Checked(); }

    frmMain* main_ = nullptr;
};

TEST_F(ViewModeTest, DesignShowsTheCanvasItemBarAndPanelsAndRedrawsAtTheSameView)
{
    makeCircuit(apptest::kStraight);
    main_->abr.Band("ibr").Visible(false);
    zvLib::SetViewMode("DESIGN");
    QApplication::processEvents();
    EXPECT_TRUE(designShown());
    EXPECT_TRUE(checked("design"));
    EXPECT_FALSE(checked("editor"));
    EXPECT_EQ(zvLib::ViewMode(), "DESIGN");

    const float left = zvLib::MainPic->ScaleLeft();
    const float width = zvLib::MainPic->ScaleWidth();
    zvLib::SetViewMode("DESIGN");
    EXPECT_FLOAT_EQ(zvLib::MainPic->ScaleLeft(), left);
    EXPECT_FLOAT_EQ(zvLib::MainPic->ScaleWidth(), width);
    EXPECT_TRUE(checked("design"));
}

TEST_F(ViewModeTest, OtherModesHideTheCanvasAndSayTheyAreNotThere)
{
    makeCircuit(apptest::kStraight);
    zvLib::SetViewMode("DESIGN");
    user_->messages.clear();
    zvLib::SetViewMode("design");  // modes are compared with case
    QApplication::processEvents();
    EXPECT_FALSE(main_->pic->isVisible());
    EXPECT_FALSE(main_->abr.Band("ibr").Visible());
    EXPECT_FALSE(main_->abr.Band("sbr").Tool("pnlinfo_0").Visible());
    EXPECT_TRUE(main_->abr.Band("sbr").Tool("pnlstatus").Visible());
    EXPECT_TRUE(main_->pag->isVisible());
    EXPECT_EQ(zvLib::ViewMode(), "design");
    ASSERT_EQ(user_->messages.size(), 1u);
    EXPECT_NE(user_->messages[0].find("view mode design non yet implemented"), std::string::npos);
    EXPECT_TRUE(checked("design"));  // tool states unchanged
}

TEST_F(ViewModeTest, ViewCommandsSwitchTheMode)
{
    makeCircuit(apptest::kStraight);
    std::string command = "view.report";
    zvLib::ExecCommand(command);
    EXPECT_EQ(zvLib::ViewMode(), "REPORT");
    EXPECT_FALSE(main_->pic->isVisible());
    command = "view.design";
    zvLib::ExecCommand(command);
    QApplication::processEvents();
    EXPECT_EQ(zvLib::ViewMode(), "DESIGN");
    EXPECT_TRUE(designShown());
}

}  // namespace
