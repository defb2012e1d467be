// Canvas decorations: the grid step by visible width, the grid lines with their coordinates
// and the two axes over the visible window, the origin cross sized by the visible height, and
// point lists drawn as an open polyline or as dots.
#include "foundation/cFixed.h"
#include "foundation/cRecordSurface.h"
#include "foundation/zvLib_canvas.h"
#include "model/zvLib_colors.h"
#include "view/zvLib_view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// One recorded line: its four coordinates and its colour.
struct Seg {
    double x1, y1, x2, y2;
    unsigned color;
};

std::vector<Seg> Segments(const cRecordSurface& s)
{
    std::vector<Seg> out;
    for (const std::string& l : s.Lines()) {
        Seg g{};
        if (std::sscanf(l.c_str(), "Line %lf %lf %lf %lf color=&H%X", &g.x1, &g.y1, &g.x2, &g.y2,
                        &g.color) == 5) {
            out.push_back(g);
        }
    }
    return out;
}

std::vector<std::string> Printed(const cRecordSurface& s)
{
    std::vector<std::string> out;
    for (const std::string& l : s.Lines()) {
        const auto q = l.find('"');
        if (l.rfind("Print", 0) == 0 && q != std::string::npos) {
            out.push_back(l.substr(q + 1, l.find('"', q + 1) - q - 1));
        }
    }
    return out;
}

class DecorationsTest : public ::testing::Test {
  protected:
    void SetUp() override { zvLib::MainPic = &pic_; }
    void TearDown() override { zvLib::MainPic = nullptr; }

    cRecordSurface pic_;
};

TEST(GridStepTest, StepFollowsTheVisibleWidthAlone)
{
    const std::vector<std::pair<double, int>> cases = {
        {0, 50},          {999.9999, 50},   {1000, 100},       {1999.9999, 100},
        {2000, 250},      {4999.9999, 250}, {5000, 500},       {9999.9999, 500},
        {10000, 1000},    {19999, 1000},    {20000, 2500},     {49999, 2500},
        {50000, 5000},    {99999, 5000},    {100000, 10000},   {199999.9999, 10000},
        {200000, 50000},  {1e9, 50000}};
    for (const auto& [width, step] : cases) {
        EXPECT_EQ(zvLib::GridStep(cFixed::fromDouble(width)), cFixed(step)) << width;
    }
}

TEST_F(DecorationsTest, GridLinesLieOnRoundedMultiplesOfTheStepWithTheirCoordinates)
{
    pic_.Scale(-1234, 600, 1234, -600); // width 2468: step 250
    zvLib::DrawGrid();
    ASSERT_FALSE(pic_.Lines().empty());
    EXPECT_EQ(pic_.Lines().front().rfind("Cls", 0), 0u) << "the grid clears the canvas first";
    const unsigned gainsboro = static_cast<unsigned>(zvLib::Colors.ToRGB("gainsboro"));
    std::vector<double> xs;
    std::vector<double> ys;
    for (const Seg& g : Segments(pic_)) {
        if (g.color != gainsboro) {
            continue;
        }
        if (g.x1 == g.x2) {
            EXPECT_DOUBLE_EQ(g.y1, 600);
            EXPECT_DOUBLE_EQ(g.y2, -600);
            xs.push_back(g.x1);
        } else {
            EXPECT_DOUBLE_EQ(g.x1, -1234);
            EXPECT_DOUBLE_EQ(g.x2, 1234);
            ys.push_back(g.y1);
        }
    }
    std::vector<double> expectX;
    for (int x = -1250; x <= 1250; x += 250) {
        expectX.push_back(x);
    }
    EXPECT_EQ(xs, expectX);
    // -600 / 250 = -2.4 rounds to -2, 600 / 250 = 2.4 to 2.
    EXPECT_EQ(ys, (std::vector<double>{-500, -250, 0, 250, 500}));
    const std::vector<std::string> labels = Printed(pic_);
    // The lines at -1250 and 1250 lie outside the window and go unlabelled.
    ASSERT_EQ(labels.size(), xs.size() - 2 + ys.size());
    EXPECT_EQ(labels.front(), "-1000");
    EXPECT_EQ(labels[4], " 0") << "a blank stands for the sign of a number not negative";
    EXPECT_EQ(labels[8], " 1000");
    EXPECT_EQ(labels.back(), " 500");
    // Each label is printed where its line meets the top edge (x) or the left edge (y).
    EXPECT_NE(pic_.Text().find("Print -1000.0000 600.0000 \"-1000\""), std::string::npos);
    EXPECT_NE(pic_.Text().find("Print -1234.0000 -250.0000 \"-250\""), std::string::npos);
}

TEST_F(DecorationsTest, GridLinesJustOutsideTheWindowGoUnlabelled)
{
    // Each edge lies less than half a step inside a grid line: -400 left of the left edge,
    // 900 right of the right edge, -400 under the bottom edge, 400 over the top edge.
    const double L = -380;
    const double R = 870;
    const double T = 370;
    const double B = -370;
    pic_.Scale(L, T, R, B); // width 1250: step 100
    zvLib::DrawGrid();
    const unsigned gainsboro = static_cast<unsigned>(zvLib::Colors.ToRGB("gainsboro"));
    std::vector<double> xs;
    std::vector<double> ys;
    for (const Seg& g : Segments(pic_)) {
        if (g.color == gainsboro && g.x1 == g.x2) {
            xs.push_back(g.x1);
        } else if (g.color == gainsboro) {
            ys.push_back(g.y1);
        }
    }
    ASSERT_FALSE(xs.empty());
    ASSERT_FALSE(ys.empty());
    EXPECT_DOUBLE_EQ(xs.front(), -400) << "the lines are drawn as before";
    EXPECT_DOUBLE_EQ(xs.back(), 900);
    EXPECT_DOUBLE_EQ(ys.front(), -400);
    EXPECT_DOUBLE_EQ(ys.back(), 400);
    int labels = 0;
    for (const std::string& l : pic_.Lines()) {
        double x = 0;
        double y = 0;
        if (std::sscanf(l.c_str(), "Print %lf %lf", &x, &y) != 2) {
            continue;
        }
        ++labels;
        EXPECT_TRUE(x >= L && x <= R && y >= B && y <= T) << "a label outside the window: " << l;
    }
    EXPECT_NE(pic_.Text().find("Print -300.0000 370.0000 \"-300\""), std::string::npos)
        << "the first line inside the window keeps its label";
    EXPECT_EQ(pic_.Text().find("\"-400\""), std::string::npos);
    EXPECT_EQ(pic_.Text().find("\" 900\""), std::string::npos);
    EXPECT_GE(labels, 10) << "-300 to 800 along the top edge";
}

TEST_F(DecorationsTest, GridLabelsUseTheCanvasFontAndKeepClearOfTheTopRow)
{
    // An annotation text drawn before leaves its font on the canvas.
    pic_.FontName("Courier");
    pic_.FontSize(30);
    pic_.FontBold(true);
    pic_.Scale(-1234, 520, 1234, -680); // the line y = 500 lies 20 below the top edge
    zvLib::DrawGrid();
    const double row = std::abs(pic_.TextHeight("0"));
    int yLabels = 0;
    for (const std::string& l : pic_.Lines()) {
        double x = 0;
        double y = 0;
        if (std::sscanf(l.c_str(), "Print %lf %lf", &x, &y) != 2) {
            continue;
        }
        EXPECT_NE(l.find("font=\"Sans Serif\" size=8.2500 bold=0"), std::string::npos) << l;
        if (x == -1234) {
            ++yLabels;
            EXPECT_LE(y, 520 - row) << "a y label under the row of x labels: " << l;
        }
    }
    EXPECT_EQ(yLabels, 4) << "-500 to 250; -750 lies under the window, 500 would cover the "
                             "x labels";
}

TEST_F(DecorationsTest, GridLabelsShowWholeInsideTheCanvasAndApartOnTheirAxis)
{
    // The line at 1250 lies 10 inside the right edge, where its label would run under the
    // scroll bar; on the small canvas the lines lie 10 pixels apart, closer than a label is
    // wide or high.
    cRecordSurface::Options o;
    o.width = 120;
    o.height = 90;
    cRecordSurface small(o);
    struct View {
        cRecordSurface* pic;
        double L, T, R, B;
    };
    for (const View& v :
         {View{&pic_, -1000, 847.5, 1260, -847.5}, View{&small, -1500, 1125, 1500, -1125}}) {
        zvLib::MainPic = v.pic;
        v.pic->Clear();
        v.pic->Scale(v.L, v.T, v.R, v.B);
        zvLib::DrawGrid();
        int xLabels = 0;
        int yLabels = 0;
        double lastRight = v.L;
        double lastTop = v.B;
        for (const std::string& l : v.pic->Lines()) {
            double x = 0;
            double y = 0;
            if (std::sscanf(l.c_str(), "Print %lf %lf", &x, &y) != 2) {
                continue;
            }
            const auto q = l.find('"');
            const std::string text = l.substr(q + 1, l.find('"', q + 1) - q - 1);
            const double right = x + std::abs(v.pic->TextWidth(text));
            const double bottom = y - std::abs(v.pic->TextHeight(text));
            EXPECT_TRUE(x >= v.L && right <= v.R && y <= v.T && bottom >= v.B)
                << "a label cut by the canvas's edge: " << l;
            if (y == v.T) {
                ++xLabels;
                EXPECT_GE(x, lastRight) << "an x label over the one before: " << l;
                lastRight = right;
            } else {
                ++yLabels;
                EXPECT_GE(bottom, lastTop) << "a y label over the one before: " << l;
                lastTop = y;
            }
        }
        EXPECT_GE(xLabels, 2) << "labels still show where they fit";
        EXPECT_GE(yLabels, 2);
    }
    EXPECT_NE(pic_.Text().find("\" 1000\""), std::string::npos);
    zvLib::MainPic = &pic_;
}

TEST_F(DecorationsTest, AxesCrossTheWholeViewInTheirColours)
{
    pic_.Scale(300, 900, 1300, 400); // neither axis in view: drawn all the same
    zvLib::DrawGrid();
    const std::vector<Seg> segs = Segments(pic_);
    ASSERT_GE(segs.size(), 2u);
    const Seg xAxis = segs[segs.size() - 2];
    const Seg yAxis = segs.back();
    EXPECT_EQ(xAxis.color, static_cast<unsigned>(zvLib::Colors.ToRGB("Tomato")));
    EXPECT_DOUBLE_EQ(xAxis.x1, 300);
    EXPECT_DOUBLE_EQ(xAxis.x2, 1300);
    EXPECT_DOUBLE_EQ(xAxis.y1, 0);
    EXPECT_EQ(yAxis.color, 0xFF00u);
    EXPECT_DOUBLE_EQ(yAxis.x1, 0);
    EXPECT_DOUBLE_EQ(yAxis.y1, 900);
    EXPECT_DOUBLE_EQ(yAxis.y2, 400);
    EXPECT_NE(pic_.Text().find("width=1 style=0"), std::string::npos);
}

TEST_F(DecorationsTest, CrossArmsAreAHundredAndTwentiethOfTheVisibleHeight)
{
    const std::vector<std::pair<double, double>> cases = {
        {59, 0}, {1200, 10}, {60, 0} /* -0.5 rounds to even 0 */, {180, 2} /* -1.5 to -2 */};
    for (const auto& [height, arm] : cases) {
        pic_.Clear();
        pic_.Scale(-500, height / 2, 500, -height / 2);
        pic_.DrawWidth(4);
        zvLib::DrawCross();
        const std::vector<Seg> segs = Segments(pic_);
        ASSERT_EQ(segs.size(), 2u) << height;
        EXPECT_DOUBLE_EQ(std::abs(segs[0].x1), arm) << height;
        EXPECT_DOUBLE_EQ(segs[0].x1, -segs[0].x2);
        EXPECT_DOUBLE_EQ(segs[0].y1, 0);
        EXPECT_DOUBLE_EQ(std::abs(segs[1].y2), arm);
        EXPECT_DOUBLE_EQ(segs[1].x1, 0);
        EXPECT_EQ(segs[0].color, 0xFFu);
        EXPECT_NE(pic_.Lines()[0].find("width=1"), std::string::npos) << "a one-pixel pen";
    }
}

TEST_F(DecorationsTest, PointListsAsOpenPolylineOrDots)
{
    cRecordSurface other; // any surface, not only the main canvas
    const std::vector<zvPoint> one = {{cFixed(1), cFixed(2)}};
    zvLib::DrawPolyline(other, one, 0x123456, 3);
    EXPECT_TRUE(other.Lines().empty()) << "one point makes no line";
    zvLib::DrawPoints(other, one, 0x123456, 3);
    ASSERT_EQ(other.Lines().size(), 1u);
    EXPECT_EQ(other.Lines()[0], "PSet 1.0000 2.0000 color=&H123456 width=3");

    other.Clear();
    const std::vector<zvPoint> tri = {
        {cFixed(0), cFixed(0)}, {cFixed(10), cFixed(0)}, {cFixed::fromDouble(10.5), cFixed(7)}};
    zvLib::DrawPolyline(other, tri, 0xFF, 2);
    const std::vector<Seg> segs = Segments(other);
    ASSERT_EQ(segs.size(), 2u) << "not closed";
    EXPECT_DOUBLE_EQ(segs[1].x1, 10);
    EXPECT_DOUBLE_EQ(segs[1].x2, 10.5);
    EXPECT_DOUBLE_EQ(segs[1].y2, 7);
    EXPECT_NE(other.Lines()[0].find("width=2"), std::string::npos);
    EXPECT_TRUE(pic_.Lines().empty()) << "the main canvas is not touched";
}

} // namespace
