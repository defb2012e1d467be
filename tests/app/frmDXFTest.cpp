// The background drawing's placement dialog driven through its development command by the
// scripted user: the placement it opens with, the offset bars and the scale box put in force
// and redrawn, cancel and the window frame putting everything back, and the command doing
// nothing of the kind in the delivered program.
#include "reports/frmDXF.h"

#include "DispatchFixture.h"
#include "dxf/zvLib_dxf.h"
#include "foundation/NUX_STD_locale.h"
#include "foundation/cVariant.h"
#include "platform/cScrollBar.h"
#include "view/zvLang_forms.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

using apptest::DispatchFixture;

namespace {

// A drawing of one line from (0, 0) to (100, 50) drawing units.
const char* const kDrawing = "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n100\n21\n50\n"
                             "0\nENDSEC\n0\nEOF\n";

class frmDXFTest : public DispatchFixture {
  protected:
    void SetUp() override
    {
        DispatchFixture::SetUp();
        newCircuit();
        setenv("ZORV_DEVMODE", "1", 1);
        zvLib::DXF = std::make_unique<cDXF>();
        zvLib::DXF->LoadBytes(kDrawing);
        zvLib::DXF->scaleFactor(cFixed::fromRaw(25000)); // 2.5
        zvLib::DXF->OffsetX(cFixed(120));
        zvLib::DXF->OffsetY(cFixed(-340));
    }
    void TearDown() override
    {
        zvLib::DXF.reset();
        DispatchFixture::TearDown();
    }

    // Opens the dialog through its command with one step of the user's; the step must run.
    void openDialog(std::function<void(frmDXF&)> step)
    {
        bool ran = false;
        user_->steps.push_back([step, &ran](QDialog& d) {
            auto* dialog = qobject_cast<frmDXF*>(&d);
            ASSERT_NE(dialog, nullptr);
            ran = true;
            step(*dialog);
        });
        EXPECT_TRUE(run("TOOLS.DXF").empty());
        EXPECT_TRUE(ran) << "the dialog was shown";
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(zvLib::Form(zvForm::frmDXF), nullptr) << "unloaded when it closes";
    }
    static cScrollBar& bar(frmDXF& d, const char* name)
    {
        auto* b = d.findChild<cScrollBar*>(name);
        EXPECT_NE(b, nullptr) << name;
        return *b;
    }
    static QLineEdit& box(frmDXF& d, const char* name)
    {
        auto* t = d.findChild<QLineEdit*>(name);
        EXPECT_NE(t, nullptr) << name;
        return *t;
    }
    static std::string text(frmDXF& d, const char* name) { return box(d, name).text().toStdString(); }
    // Types a text into the scale box and presses a key there, as the user does.
    static void typeScale(frmDXF& d, const std::string& typed, int key = Qt::Key_Return)
    {
        QLineEdit& t = box(d, "txtScale");
        t.setText(QString::fromStdString(typed));
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(&t, &press);
    }
    // Whether the circuit was redrawn on the canvas since it was last cleared (its redraw
    // starts by clearing the canvas; the drawing alone never does).
    bool redrawn() const
    {
        const auto& lines = canvas_.Lines();
        return std::any_of(lines.begin(), lines.end(),
                           [](const std::string& l) { return l.rfind("Cls", 0) == 0; });
    }
    // The scale factor as the dialog shows it.
    static std::string shownScale(double v)
    {
        return NUX_STD_library::FormatEx(cVariant(v), "#,0.0000", 0);
    }
};

} // namespace

TEST_F(frmDXFTest, OpensWithThePlacementOfTheDrawing)
{
    openDialog([](frmDXF& d) {
        EXPECT_EQ(bar(d, "scrScale").Value(), 2) << "2.5 rounds halves to even";
        EXPECT_EQ(bar(d, "scrX").Value(), 120);
        EXPECT_EQ(bar(d, "scrY").Value(), -340);
        EXPECT_EQ(bar(d, "scrX").Min(), frmDXF::kOffsetMin);
        EXPECT_EQ(bar(d, "scrY").Max(), frmDXF::kOffsetMax);
        EXPECT_EQ(text(d, "txtScale"), shownScale(2.5));
        EXPECT_EQ(text(d, "txtOffset"), "120 : -340");
    });
}

TEST_F(frmDXFTest, OffsetsBeyondTheBarsAreShownAtTheirEnds)
{
    zvLib::DXF->OffsetX(cFixed(20000));
    zvLib::DXF->OffsetY(cFixed::fromRaw(-1234567)); // -123.4567
    openDialog([](frmDXF& d) {
        EXPECT_EQ(bar(d, "scrX").Value(), frmDXF::kOffsetMax);
        EXPECT_EQ(bar(d, "scrY").Value(), -123);
        EXPECT_EQ(text(d, "txtOffset"), "20000 : -123.4567");
    });
    EXPECT_EQ(zvLib::DXF->OffsetX(), cFixed(20000)) << "opening moves nothing";
}

TEST_F(frmDXFTest, TheBarsMoveTheDrawingAndOKKeepsIt)
{
    openDialog([this](frmDXF& d) {
        canvas_.Clear();
        bar(d, "scrX").triggerAction(QAbstractSlider::SliderSingleStepAdd);
        EXPECT_EQ(zvLib::DXF->OffsetX(), cFixed(130));
        EXPECT_EQ(zvLib::DXF->OffsetY(), cFixed(-340));
        EXPECT_TRUE(redrawn()) << "the circuit is redrawn";
        const auto before = canvas_.Lines();
        canvas_.Clear();
        bar(d, "scrY").triggerAction(QAbstractSlider::SliderPageStepSub);
        EXPECT_EQ(zvLib::DXF->OffsetY(), cFixed(-440));
        EXPECT_NE(canvas_.Lines(), before) << "the drawing is drawn where it now lies";
        EXPECT_EQ(text(d, "txtOffset"), "130 : -440");
        EXPECT_EQ(text(d, "txtScale"), shownScale(2.5));
        canvas_.Clear();
        bar(d, "scrScale").triggerAction(QAbstractSlider::SliderPageStepAdd);
        EXPECT_EQ(zvLib::DXF->scaleFactor(), cFixed::fromRaw(25000)) << "the scale bar only shows";
        EXPECT_TRUE(canvas_.Lines().empty());
        apptest::Click(d, "cmdOK");
    });
    EXPECT_EQ(zvLib::DXF->OffsetX(), cFixed(130));
    EXPECT_EQ(zvLib::DXF->OffsetY(), cFixed(-440));
}

TEST_F(frmDXFTest, EnterInTheScaleBoxSetsTheScale)
{
    openDialog([this](frmDXF& d) {
        typeScale(d, "0.75", Qt::Key_A);
        EXPECT_EQ(zvLib::DXF->scaleFactor(), cFixed::fromRaw(25000)) << "only Enter puts it in force";
        canvas_.Clear();
        typeScale(d, "0.75");
        EXPECT_EQ(zvLib::DXF->scaleFactor(), cFixed::fromRaw(7500));
        EXPECT_TRUE(redrawn()) << "the circuit is redrawn";
        EXPECT_EQ(text(d, "txtScale"), shownScale(0.75));
        typeScale(d, shownScale(1234.5), Qt::Key_Enter);
        EXPECT_EQ(zvLib::DXF->scaleFactor(), cFixed::fromRaw(12345000)) << "the shown form reads back";
        typeScale(d, "wide");
        EXPECT_EQ(zvLib::DXF->scaleFactor(), cFixed::fromRaw(12345000));
        EXPECT_EQ(text(d, "txtScale"), shownScale(1234.5)) << "a non-number gives way to the scale";
        EXPECT_TRUE(d.isVisible()) << "Enter does not close the dialog";
        apptest::Click(d, "cmdOK");
    });
    EXPECT_EQ(zvLib::DXF->scaleFactor(), cFixed::fromRaw(12345000));
}

TEST_F(frmDXFTest, CancelPutsThePlacementBack)
{
    openDialog([](frmDXF& d) {
        bar(d, "scrX").triggerAction(QAbstractSlider::SliderPageStepAdd);
        bar(d, "scrY").triggerAction(QAbstractSlider::SliderSingleStepSub);
        typeScale(d, "4");
        EXPECT_EQ(zvLib::DXF->scaleFactor(), cFixed(4));
        apptest::Click(d, "cmdCancel");
    });
    EXPECT_EQ(zvLib::DXF->scaleFactor(), cFixed::fromRaw(25000));
    EXPECT_EQ(zvLib::DXF->OffsetX(), cFixed(120));
    EXPECT_EQ(zvLib::DXF->OffsetY(), cFixed(-340));

    // Closing by the window frame answers as cancel.
    openDialog([](frmDXF& d) { bar(d, "scrX").triggerAction(QAbstractSlider::SliderToMaximum); });
    EXPECT_EQ(zvLib::DXF->OffsetX(), cFixed(120));
}

TEST_F(frmDXFTest, OnlyDevelopmentModeOpensIt)
{
    unsetenv("ZORV_DEVMODE");
    EXPECT_EQ(run("TOOLS.DXF"), std::vector<std::string>{"TOOLS.DXF"}) << "an unknown command";
    EXPECT_TRUE(user_->dialogs.empty());
    EXPECT_EQ(zvLib::Form(zvForm::frmDXF), nullptr);
    zvLib::ShowDXFPlacement();
    EXPECT_TRUE(user_->dialogs.empty());

    // Without a background drawing there is nothing to place.
    setenv("ZORV_DEVMODE", "1", 1);
    zvLib::DXF.reset();
    EXPECT_TRUE(run("TOOLS.DXF").empty());
    EXPECT_TRUE(user_->dialogs.empty());
}
