// The button panel: slots by mode and index, the left edge of each slot, the fixed height,
// the background styles and the stored properties.
#include "platform/nxCpl.h"

#include "ControlsTestApp.h"

#include <QImage>
#include <QPushButton>

#include <gtest/gtest.h>
#include <map>

namespace {

class nxCplTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        testsupport::ControlsApp();
        panel.resize(400, 100); // 6000 twips wide
    }

    QPushButton* Button(int index)
    {
        auto* b = new QPushButton;
        panel.AddButton(b, index);
        return buttons[index] = b;
    }

    nxCpl panel;
    std::map<int, QPushButton*> buttons;
};

TEST_F(nxCplTest, SlotsFollowTheModeAndTheIndex)
{
    EXPECT_EQ(nxCpl::ButtonSlot(0, 5), 4);
    EXPECT_EQ(nxCpl::ButtonSlot(0, 7), 7);
    EXPECT_EQ(nxCpl::ButtonSlot(0, 3), nxCpl::kR2);
    EXPECT_EQ(nxCpl::ButtonSlot(1, 2), nxCpl::kHidden);
    EXPECT_EQ(nxCpl::ButtonSlot(1, 9), 8);
    EXPECT_EQ(nxCpl::ButtonSlot(3, 0), nxCpl::kR3);
    EXPECT_EQ(nxCpl::ButtonSlot(3, 1), nxCpl::kR1);
    EXPECT_EQ(nxCpl::ButtonSlot(10, 10), 1);
    EXPECT_EQ(nxCpl::ButtonSlot(10, 0), nxCpl::kHidden);
    EXPECT_EQ(nxCpl::ButtonSlot(11, 5), 2);
    EXPECT_EQ(nxCpl::ButtonSlot(11, 3), nxCpl::kHidden);
    EXPECT_EQ(nxCpl::ButtonSlot(4, 0), nxCpl::kHidden);

    int slot = nxCpl::kR3;
    EXPECT_EQ(nxCpl::ButtonLeft(slot, 6000), 6000 - 1275 - 2 * 1245);
    EXPECT_EQ(slot, 2);
    slot = 3;
    EXPECT_EQ(nxCpl::ButtonLeft(slot, 6000), 60 + 3 * 1245);
    slot = nxCpl::kHidden;
    EXPECT_EQ(nxCpl::ButtonLeft(slot, 6000), 9000);
}

TEST_F(nxCplTest, ButtonsArePlacedInTheirSlots)
{
    Button(0);
    Button(99);
    panel.Mode(2);
    EXPECT_EQ(buttons[99]->geometry(), QRect(315, 3, 81, 25)); // Left 4725 twips
    EXPECT_EQ(buttons[0]->geometry(), QRect(232, 3, 81, 25));  // Left 3480 twips

    Button(1);
    Button(2);
    panel.Mode(0);
    EXPECT_EQ(buttons[0]->x(), 4);
    EXPECT_EQ(buttons[1]->x(), 87);
    EXPECT_EQ(buttons[2]->x(), 170);
    EXPECT_FALSE(buttons[2]->isHidden());

    panel.Mode(11);
    EXPECT_TRUE(buttons[0]->isHidden());
    EXPECT_EQ(buttons[0]->x(), 600); // the panel's width and 3000 twips

    // Mode 99 leaves every control where it is, also when the panel is resized.
    panel.Mode(99);
    panel.resize(600, 100);
    EXPECT_EQ(buttons[0]->x(), 600);
    EXPECT_EQ(buttons[99]->x(), 315);

    // A right-hand slot follows the right edge.
    panel.Mode(2);
    EXPECT_EQ(buttons[99]->x(), 515);

    // A button without an index, and the navigator by mode.
    auto* loose = new QPushButton(&panel);
    auto* nav = new QWidget;
    panel.AddNavigator(nav);
    panel.Mode(1);
    EXPECT_TRUE(loose->isHidden());
    EXPECT_EQ(nav->x(), 336); // slot 4
    panel.Mode(3);
    EXPECT_TRUE(nav->isHidden());
}

TEST_F(nxCplTest, KeepsItsHeightAndPaintsItsStyle)
{
    panel.resize(400, 200);
    EXPECT_EQ(panel.height(), 31); // 465 twips

    auto shot = [&] { return panel.grab().toImage(); };
    EXPECT_EQ(panel.Style(), 4);
    QImage img = shot();
    EXPECT_EQ(QColor(img.pixel(200, 15)), QColor(Qt::white));
    EXPECT_EQ(QColor(img.pixel(200, 0)), QColor(246, 246, 246));

    panel.Style(5);
    img = shot();
    EXPECT_EQ(QColor(img.pixel(200, 15)), QColor(246, 246, 246));
    EXPECT_EQ(QColor(img.pixel(200, 0)), QColor(246, 246, 246));

    panel.Style(7); // no look of its own: style 5 stays
    EXPECT_EQ(panel.Style(), 7);
    EXPECT_EQ(QColor(shot().pixel(200, 15)), QColor(246, 246, 246));

    panel.Style(0);
    img = shot();
    EXPECT_NE(QColor(img.pixel(200, 1)), QColor(img.pixel(200, 29))); // the stretched picture
}

TEST_F(nxCplTest, StoredPropertiesLeaveDefaultsOut)
{
    QVariantMap bag;
    panel.WriteProperties(bag);
    EXPECT_TRUE(bag.isEmpty());

    Button(0);
    Button(99);
    panel.ReadProperties({{"Mode", 2}, {"Enabled", false}});
    EXPECT_EQ(panel.Mode(), 2);
    EXPECT_EQ(panel.Style(), 4);
    EXPECT_FALSE(panel.Enabled());
    EXPECT_FALSE(buttons[0]->isEnabled());
    EXPECT_EQ(buttons[99]->x(), 315);

    panel.WriteProperties(bag);
    EXPECT_EQ(bag, (QVariantMap{{"Mode", 2}, {"Enabled", false}}));
    panel.Mode(0);
    panel.Enabled(true);
    panel.WriteProperties(bag);
    EXPECT_TRUE(bag.isEmpty());
}

} // namespace
