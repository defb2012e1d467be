// The canvas view: zoom factors and width limits about a kept centre, centring, the fit with
// its margin of a tenth, and the scroll bars that follow the circuit's extent and the view,
// property by property.
#include "CanvasFixture.h"

#include "app/zvQtUI.h"
#include "foundation/cRecordSurface.h"
#include "foundation/zvLib_canvas.h"
#include "platform/cScrollBar.h"
#include "view/zvLib_view.h"

#include <algorithm>
#include <memory>

using apptest::CentreX;
using apptest::CentreY;
using apptest::kStraight;

namespace {

class ViewTest : public apptest::CanvasFixture {
  protected:
    void SetUp() override
    {
        CanvasFixture::SetUp();
        canvas(800, 400);
        zvLib::HScroll = &hsc_;
        zvLib::VScroll = &vsc_;
        zvLib::UI = std::make_shared<zvQtUI>();
    }
    void TearDown() override
    {
        zvLib::UI.reset();
        zvLib::MainPic = nullptr;
        zvLib::HScroll = nullptr;
        zvLib::VScroll = nullptr;
        CanvasFixture::TearDown();
    }
    // A fresh recording canvas of that size as the main canvas.
    cRecordSurface& canvas(int width, int height)
    {
        cRecordSurface::Options o;
        o.width = width;
        o.height = height;
        pic_ = std::make_unique<cRecordSurface>(o);
        zvLib::MainPic = pic_.get();
        return *pic_;
    }
    // How many times the canvas was cleared: once by each redraw of the circuit, once more by
    // its grid while the grid is shown.
    long clears() const
    {
        const auto& l = pic_->Lines();
        return std::count_if(l.begin(), l.end(),
                             [](const std::string& s) { return s.rfind("Cls", 0) == 0; });
    }
    static zvViewRect view() { return zvLib::ViewRect(); }

    std::unique_ptr<cRecordSurface> pic_;
    cScrollBar hsc_{Qt::Horizontal};
    cScrollBar vsc_{Qt::Vertical};
};

TEST_F(ViewTest, ZoomFactorsAreNormalisedAboutTheKeptCentre)
{
    zvLib::SetZoom(1000, 100, 50);
    EXPECT_FLOAT_EQ(view().ScaleLeft, -400);
    EXPECT_FLOAT_EQ(view().ScaleTop, 300);
    EXPECT_FLOAT_EQ(view().ScaleWidth, 1000);
    EXPECT_FLOAT_EQ(view().ScaleHeight, -500) << "height = width x aspect 0.5, y up";

    zvLib::ZoomBy(cFixed::fromDouble(-1.2)); // in: 1/1.2 to four decimals
    EXPECT_NEAR(view().ScaleWidth, 833.3, 1e-3);
    EXPECT_NEAR(CentreX(view()), 100, 1e-3);
    EXPECT_NEAR(CentreY(view()), 50, 1e-3);
    zvLib::ZoomBy(cFixed::fromDouble(1.2)); // out
    EXPECT_NEAR(view().ScaleWidth, 999.96, 1e-3) << "in and out again is not quite the start";
    EXPECT_NEAR(view().ScaleHeight, -499.98, 1e-3);

    // Factor 0 keeps the width and puts the aspect ratio back on a distorted view.
    pic_->Scale(-400, 300, 600, 0);
    zvLib::ZoomBy(cFixed(0));
    EXPECT_FLOAT_EQ(view().ScaleWidth, 1000);
    EXPECT_FLOAT_EQ(view().ScaleHeight, -500);
    EXPECT_NEAR(CentreX(view()), 100, 1e-3);
    EXPECT_NEAR(CentreY(view()), 150, 1e-3);
    EXPECT_EQ(clears(), 0) << "no circuit, no redraw";

    makeCircuit(kStraight);
    zvLib::ZoomBy(cFixed(2));
    EXPECT_FLOAT_EQ(view().ScaleWidth, 2000);
    EXPECT_EQ(clears(), 2) << "with a circuit the zoom redraws it, grid included";
}

TEST_F(ViewTest, SetZoomClampsTheWidthAndKeepsOrTakesTheCentre)
{
    zvLib::SetZoom(10, 30, 40);
    EXPECT_FLOAT_EQ(view().ScaleWidth, 25);
    EXPECT_NEAR(CentreX(view()), 30, 1e-3);
    EXPECT_NEAR(CentreY(view()), 40, 1e-3);
    zvLib::SetZoom(200000);
    EXPECT_FLOAT_EQ(view().ScaleWidth, 100000);
    EXPECT_NEAR(CentreX(view()), 30, 1e-3);
    EXPECT_NEAR(CentreY(view()), 40, 1e-3);
    zvLib::SetZoom(std::nullopt, -70);
    EXPECT_FLOAT_EQ(view().ScaleWidth, 100000) << "a missing width is the current one";
    EXPECT_NEAR(CentreX(view()), -70, 1e-3);
    EXPECT_NEAR(CentreY(view()), 40, 1e-3);
    zvLib::SetZoom(25);
    EXPECT_FLOAT_EQ(view().ScaleWidth, 25);
    zvLib::SetZoom(100000);
    EXPECT_FLOAT_EQ(view().ScaleWidth, 100000);
    EXPECT_EQ(clears(), 0) << "SetZoom does not redraw";
}

TEST_F(ViewTest, CenterViewKeepsTheWidthWithTheAspectToFourDecimals)
{
    canvas(700, 300); // aspect 0.428571... held as 0.4286
    makeCircuit(apptest::CanvasFixture::times(kStraight, 4));
    zvLib::SetZoom(1000, 0, 0);
    const std::int16_t value = hsc_.Value();
    pic_->Clear();
    zvLib::CenterView(250, -125);
    EXPECT_FLOAT_EQ(view().ScaleLeft, -250);
    EXPECT_FLOAT_EQ(view().ScaleWidth, 1000);
    EXPECT_FLOAT_EQ(view().ScaleTop, static_cast<float>(-125 + 214.3));
    EXPECT_FLOAT_EQ(view().ScaleHeight, static_cast<float>(-428.6));
    EXPECT_TRUE(pic_->Lines().empty()) << "no redraw";
    EXPECT_EQ(hsc_.Value(), value) << "the bars already hold the new centre";
}

TEST_F(ViewTest, FitShowsTheWholeExtentAndATenthMore)
{
    zvLib::SetZoom(1000, 0, 0);
    zvLib::ZoomExtents();
    EXPECT_FLOAT_EQ(view().ScaleWidth, 1000) << "nothing to fit without a circuit";
    EXPECT_EQ(clears(), 0);

    auto c = makeCircuit("");
    addLine(*c, 0, 0, 10000, 2000);
    zvLib::ZoomExtents(); // aspect 0.5: the width decides
    EXPECT_FLOAT_EQ(view().ScaleWidth, 11000);
    EXPECT_NEAR(CentreX(view()), 5000, 1e-2);
    EXPECT_NEAR(CentreY(view()), 1000, 1e-2);
    EXPECT_EQ(clears(), 2) << "the fit redraws once, grid included";

    canvas(1000, 100); // aspect 0.1: the height decides
    zvLib::ZoomExtents();
    EXPECT_FLOAT_EQ(view().ScaleWidth, 22000);
    EXPECT_FLOAT_EQ(view().ScaleHeight, -2200);

    addLine(*c, -100000, 0, 100000, 0);
    canvas(800, 400);
    zvLib::ZoomExtents();
    EXPECT_FLOAT_EQ(view().ScaleWidth, 100000) << "both zoom steps keep the widest view";
    EXPECT_NEAR(CentreX(view()), 0, 1e-2);
}

TEST_F(ViewTest, FitOfACircuitWithoutWidthOrHeightShowsTheViewOfANewCircuit)
{
    auto c = makeCircuit("");   // the start markers alone: an extent without width or height
    zvLib::SetZoom(3000, 0, 0); // as a new circuit starts
    zvLib::ZoomExtents();
    EXPECT_FLOAT_EQ(view().ScaleWidth, 3000);
    EXPECT_NEAR(CentreX(view()), 0, 1e-2);
    EXPECT_NEAR(CentreY(view()), 0, 1e-2);
    EXPECT_EQ(clears(), 2) << "the fit redraws once, grid included";

    // A resized window fits again and keeps the view, its height following the canvas.
    canvas(600, 450);
    zvLib::ZoomExtents();
    EXPECT_FLOAT_EQ(view().ScaleWidth, 3000);
    EXPECT_FLOAT_EQ(view().ScaleHeight, -2250);

    // An extent that is one point away from the origin: the same view around it.
    addLine(*c, 500, 700, 500, 700);
    zvLib::ZoomExtents();
    EXPECT_FLOAT_EQ(view().ScaleWidth, 3000);
    EXPECT_NEAR(CentreX(view()), 500, 1e-2);
    EXPECT_NEAR(CentreY(view()), 700, 1e-2);
}

TEST_F(ViewTest, ScrollBarsFollowTheExtentWhileSomethingIsOutOfView)
{
    makeCircuit(apptest::CanvasFixture::times(kStraight, 4)); // x 0..1400, y -78..78
    hsc_.Enabled(false);
    vsc_.Enabled(false);
    zvLib::SetZoom(500, 700, 0);
    EXPECT_EQ(hsc_.Min(), 0);
    EXPECT_EQ(hsc_.Max(), 1400);
    EXPECT_EQ(hsc_.Value(), 700);
    EXPECT_EQ(hsc_.SmallChange(), 14);
    EXPECT_EQ(hsc_.LargeChange(), 140);
    EXPECT_EQ(vsc_.Min(), 78) << "the vertical bar runs from the top of the extent";
    EXPECT_EQ(vsc_.Max(), -78);
    EXPECT_EQ(vsc_.Value(), 0);
    EXPECT_EQ(vsc_.SmallChange(), 2) << "1.56 rounds to 2";
    EXPECT_EQ(vsc_.LargeChange(), 16);
    EXPECT_TRUE(hsc_.Enabled());
    EXPECT_TRUE(vsc_.Enabled());

    zvLib::CenterView(300, 20);
    zvLib::UpdateScrollBars();
    EXPECT_EQ(hsc_.Value(), 300);
    EXPECT_EQ(vsc_.Value(), 20);

    // The whole circuit in view: both bars are disabled and otherwise left alone.
    zvLib::SetZoom(5000, 700, 0);
    EXPECT_FALSE(hsc_.Enabled());
    EXPECT_FALSE(vsc_.Enabled());
    EXPECT_EQ(hsc_.Value(), 300);
    EXPECT_EQ(vsc_.Value(), 20);
    EXPECT_EQ(hsc_.Max(), 1400);
}

TEST_F(ViewTest, ScrollBarPropertiesThatCannotBeSetKeepTheirValues)
{
    auto c = makeCircuit(apptest::CanvasFixture::times(kStraight, 4));
    zvLib::SetZoom(500, 700, 0);
    // A centre beyond the extent is refused as the bar's value; the rest is set.
    zvLib::SetZoom(500, 5000, 0);
    EXPECT_EQ(hsc_.Value(), 700);
    EXPECT_EQ(hsc_.Max(), 1400);
    EXPECT_TRUE(hsc_.Enabled());

    // An extent beyond 16 bits leaves that end as it was.
    hsc_.Min(-7);
    addLine(*c, -40000, 0, 0, 0);
    zvLib::SetZoom(500, 700, 0);
    EXPECT_EQ(hsc_.Min(), -7);
    EXPECT_EQ(hsc_.Max(), 1400);
    EXPECT_EQ(hsc_.Value(), 700);
    EXPECT_EQ(hsc_.SmallChange(), 414);
    EXPECT_EQ(hsc_.LargeChange(), 4140);
}

TEST_F(ViewTest, ScrollBarsStayAsTheyAreWithoutACircuitOrItsLength)
{
    zvLib::SetZoom(500, 0, 0);
    auto c = makeCircuit(""); // start markers only: length 0
    addLine(*c, 0, 0, 10000, 2000);
    zvLib::SetZoom(500, 0, 0);
    zvLib::UpdateScrollBars();
    EXPECT_EQ(hsc_.Min(), 0);
    EXPECT_EQ(hsc_.Max(), 32767);
    EXPECT_EQ(vsc_.Max(), 32767);
    EXPECT_EQ(hsc_.SmallChange(), 1);
    EXPECT_TRUE(hsc_.Enabled());
    EXPECT_TRUE(vsc_.Enabled());
}

TEST_F(ViewTest, CanvasWithoutAreaKeepsItsView)
{
    makeCircuit(kStraight);
    cRecordSurface& flat = canvas(0, 300);
    flat.Scale(-10, 20, 290, -130);
    zvLib::CenterView(500, 500);
    zvLib::SetZoom(1000, 0, 0);
    zvLib::ZoomExtents();
    EXPECT_FLOAT_EQ(view().ScaleLeft, -10) << "no aspect ratio, nothing to centre or zoom";
    EXPECT_FLOAT_EQ(view().ScaleWidth, 300);
    EXPECT_FLOAT_EQ(view().ScaleHeight, -150);
}

TEST_F(ViewTest, TheVisibleWindowIsReadAndMovedWhole)
{
    zvLib::ViewRect(zvViewRect{-10, 20, 300, -150});
    const zvViewRect v = view();
    EXPECT_FLOAT_EQ(v.ScaleLeft, -10);
    EXPECT_FLOAT_EQ(v.ScaleTop, 20);
    EXPECT_FLOAT_EQ(v.ScaleWidth, 300);
    EXPECT_FLOAT_EQ(v.ScaleHeight, -150);
    EXPECT_EQ(pic_->ScaleMode(), 0);
    // The model's user interface reaches the same window (the undo states keep it).
    EXPECT_FLOAT_EQ(zvLib::UI->GetViewRect().ScaleWidth, 300);
    zvLib::UI->SetViewRect(zvViewRect{0, 0, 50, -25});
    EXPECT_FLOAT_EQ(view().ScaleWidth, 50);
    // Without a canvas the model's undo states hold an empty window and restore nothing.
    zvLib::MainPic = nullptr;
    EXPECT_FLOAT_EQ(zvLib::UI->GetViewRect().ScaleWidth, 0);
    zvLib::UI->SetViewRect(zvViewRect{1, 2, 3, -4});
}

} // namespace
