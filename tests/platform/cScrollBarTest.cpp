// The flat scroll bar: 16-bit properties with a range that may count down, refused values,
// the mirrored Qt bar behind it, and Change raised by the user's scrolling only.
#include "platform/cScrollBar.h"

#include "ControlsTestApp.h"
#include "foundation/cError.h"

#include <gtest/gtest.h>

namespace {

TEST(cScrollBarTest, RefusedValuesAndStepsKeepTheirOldValues)
{
    testsupport::ControlsApp();
    cScrollBar bar(Qt::Horizontal);
    bar.Min(-100);
    bar.Max(100);
    bar.Value(40);
    EXPECT_THROW(bar.Value(101), cError);
    EXPECT_THROW(bar.Value(-101), cError);
    EXPECT_EQ(bar.Value(), 40);
    bar.SmallChange(3);
    bar.LargeChange(30);
    try {
        bar.SmallChange(0);
        ADD_FAILURE() << "a zero step is refused";
    } catch (const cError& e) {
        EXPECT_EQ(e.Number(), 380);
    }
    EXPECT_THROW(bar.LargeChange(-5), cError);
    EXPECT_EQ(bar.SmallChange(), 3);
    EXPECT_EQ(bar.LargeChange(), 30);
    EXPECT_EQ(bar.singleStep(), 3);
    EXPECT_EQ(bar.pageStep(), 30);
    // A range that leaves the value outside moves it to the nearer end.
    bar.Max(10);
    EXPECT_EQ(bar.Value(), 10);
    bar.Min(20);
    EXPECT_EQ(bar.Value(), 10) << "now counting down from 20 to 10, 10 is still inside";
    bar.Max(30);
    EXPECT_EQ(bar.Value(), 20);
}

TEST(cScrollBarTest, BarCountingDownIsShownMirrored)
{
    testsupport::ControlsApp();
    cScrollBar bar(Qt::Vertical);
    bar.Min(500);  // the top end
    bar.Max(-300); // the bottom end
    bar.Value(400);
    EXPECT_EQ(bar.minimum(), -300);
    EXPECT_EQ(bar.maximum(), 500);
    EXPECT_EQ(bar.value(), -300 + 500 - 400) << "the Qt bar runs upwards from the top";
    bar.Value(500);
    EXPECT_EQ(bar.value(), bar.minimum()) << "Min sits at the top end";
    bar.Value(-300);
    EXPECT_EQ(bar.value(), bar.maximum());
}

TEST(cScrollBarTest, OnlyTheUsersScrollingRaisesChange)
{
    testsupport::ControlsApp();
    cScrollBar bar(Qt::Vertical);
    int raised = 0;
    bar.Change = [&raised] { ++raised; };
    bar.Min(100);
    bar.Max(-100);
    bar.SmallChange(7);
    bar.LargeChange(50);
    bar.Value(0);
    EXPECT_EQ(raised, 0) << "assigning properties raises nothing";
    // The arrow towards the bottom end counts down on a bar whose Min is at the top.
    bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(raised, 1);
    EXPECT_EQ(bar.Value(), -7);
    bar.triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(bar.Value(), 43);
    EXPECT_EQ(raised, 2);
    bar.setValue(bar.maximum()); // as a drag of the thumb to the bottom end would
    EXPECT_EQ(bar.Value(), -100);
    EXPECT_EQ(raised, 3);
}

} // namespace
