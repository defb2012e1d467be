// The options dialog driven through the Tools menu's command by the scripted user: the values
// it opens with, colours chosen through the colour chooser and put in force by OK or apply,
// cancel, the default colours, its captions in two languages and the place it remembers.
#include "app/frmOpt.h"

#include "DispatchFixture.h"
#include "app/core/zvLib_options.h"
#include "app/core/zvLib_settings.h"
#include "model/zvLib_colors.h"
#include "model/zvLib_globals.h"
#include "platform/cPictureBox.h"
#include "view/zvLang_forms.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>
#include <functional>
#include <iterator>
#include <string>

using apptest::DispatchFixture;

namespace {

// A colour value of red, green and blue.
constexpr std::int32_t Rgb(int r, int g, int b)
{
    return r | (g << 8) | (b << 16);
}

class frmOptTest : public DispatchFixture {
  protected:
    // Queues the dialog's step: it fills the dialog in and closes it.
    void queueOptions(std::function<void(frmOpt&)> step)
    {
        user_->steps.push_back([step](QDialog& d) {
            auto* dialog = qobject_cast<frmOpt*>(&d);
            ASSERT_NE(dialog, nullptr);
            step(*dialog);
        });
    }
    // Opens the dialog through its command; the queued steps answer it and its choosers.
    void runOptions()
    {
        const auto messages = run("TOOLS.OPTIONS");
        EXPECT_TRUE(messages.empty());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(zvLib::Form(zvForm::frmOpt), nullptr) << "unloaded when it closes";
        EXPECT_TRUE(user_->steps.empty()) << "every step was used";
    }
    // Opens the dialog with one step of its own.
    void openOptions(std::function<void(frmOpt&)> step)
    {
        queueOptions(std::move(step));
        runOptions();
    }
    // The colour chooser's answer, next in line after the dialog's own step.
    void chooseColour(const QColor& colour, bool ok = true)
    {
        user_->steps.push_back([colour, ok](QDialog& d) {
            auto& chooser = dynamic_cast<QColorDialog&>(d);
            chooser.setCurrentColor(colour);
            ok ? chooser.accept() : chooser.reject();
        });
    }
    // Clicks a colour picker as the user does.
    static void clickPicker(frmOpt& d, const QString& name)
    {
        auto* box = d.findChild<QFrame*>(name);
        ASSERT_NE(box, nullptr) << name.toStdString();
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(3, 3), QPointF(3, 3),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(box, &press);
        QCoreApplication::sendEvent(box, &release);
    }
    template <class T> static T& child(frmOpt& d, const QString& name)
    {
        T* w = d.findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return *w;
    }
    static std::int32_t pickerColor(frmOpt& d, const QString& name)
    {
        return d.PickerColor(child<QFrame>(d, name));
    }
    static QColor shown(frmOpt& d, const QString& name)
    {
        return child<QFrame>(d, name).palette().color(QPalette::Window);
    }
    std::string setting(const char* section, const char* key)
    {
        return zvLib::GetSetting("Zorv", section, key);
    }
};

TEST_F(frmOptTest, OpensOnTheCurrentOptionsAndTheirNearestEntries)
{
    zvLib::background = Rgb(1, 2, 3);
    zvLib::trackbanked = Rgb(40, 50, 60);
    zvLib::LaneColors[2] = Rgb(200, 10, 20);
    zvLib::LaneWidth = 3;
    zvLib::GridWidth = cFixed(250);
    zvLib::GridStyle = 2;
    openOptions([](frmOpt& d) {
        EXPECT_EQ(pickerColor(d, "picBack"), Rgb(1, 2, 3));
        EXPECT_EQ(shown(d, "picBack"), QColor(1, 2, 3));
        EXPECT_EQ(pickerColor(d, "picTrack(3)"), Rgb(40, 50, 60));
        EXPECT_EQ(pickerColor(d, "picTrack(1)"), zvLib::trackhilite) << "a system colour";
        EXPECT_EQ(pickerColor(d, "picLane(3)"), Rgb(200, 10, 20));
        EXPECT_EQ(shown(d, "picLane(3)"), QColor(200, 10, 20));
        EXPECT_EQ(child<QComboBox>(d, "cboLane").currentIndex(), 2);
        EXPECT_EQ(child<QScrollBar>(d, "hscGridWidth").value(), 250);
        EXPECT_EQ(child<QLineEdit>(d, "txtGridWidth").text(), "250 mm");
        EXPECT_EQ(child<QComboBox>(d, "cboGridStyle").currentIndex(), 2);
        child<QScrollBar>(d, "hscGridWidth").setValue(400);
        EXPECT_EQ(child<QLineEdit>(d, "txtGridWidth").text(), "400 mm");
        d.cmd_Click(99);
    });

    // Too fine a grid and the plain style open as the defaults and OK stores those; a lane
    // width the list lacks shows as the nearest.
    zvLib::GridWidth = cFixed(30);
    zvLib::GridStyle = 0;
    zvLib::LaneWidth = 7;
    openOptions([](frmOpt& d) {
        EXPECT_EQ(child<QScrollBar>(d, "hscGridWidth").value(), 100);
        EXPECT_EQ(child<QComboBox>(d, "cboGridStyle").currentIndex(), 1);
        EXPECT_EQ(child<QComboBox>(d, "cboLane").currentIndex(), 2);
        apptest::Click(d, "cmd(0)");
    });
    EXPECT_EQ(zvLib::GridWidth, cFixed(100));
    EXPECT_EQ(zvLib::GridStyle, 1);
    EXPECT_EQ(zvLib::LaneWidth, 3);
    EXPECT_EQ(setting("Options", "GridWidth"), "100");
    EXPECT_EQ(setting("Options", "GridStyle"), "1");
}

TEST_F(frmOptTest, ALaneColourChosenAndConfirmedIsSavedAndDrawn)
{
    click(pieceTool("CL32:AS1"));
    const QColor chosen(150, 100, 50);
    const std::int32_t value = Rgb(150, 100, 50);
    const std::int32_t hilite = zvLib::trackhilite;
    ASSERT_EQ(canvas_.Text().find("&H326496"), std::string::npos);
    canvas_.Clear();
    queueOptions([&](frmOpt& d) {
        clickPicker(d, "picLane(1)");
        EXPECT_EQ(shown(d, "picLane(1)"), chosen);
        EXPECT_EQ(pickerColor(d, "picLane(1)"), value);
        EXPECT_NE(zvLib::LaneColors[0], value) << "nothing in force before OK";
        apptest::Click(d, "cmd(0)");
    });
    chooseColour(chosen);
    runOptions();
    EXPECT_EQ(zvLib::LaneColors[0], value);
    EXPECT_EQ(zvLib::trackhilite, hilite) << "a system colour left alone stays one";
    EXPECT_EQ(setting("Colors", "Lane1"), std::to_string(value));
    EXPECT_EQ(setting("Colors", "Trackhilite"), std::to_string(hilite));
    EXPECT_NE(canvas_.Text().find("&H326496"), std::string::npos) << "the circuit redrawn";
}

TEST_F(frmOptTest, OkAtOnceLeavesEveryColourAsItWasSystemColoursIncluded)
{
    zvLib::LaneColors[7] = Rgb(1, 1, 1);
    zvLib::trackbanked = Rgb(255, 255, 254);
    const std::int32_t before[] = {zvLib::background,  zvLib::tracknormal, zvLib::trackhilite,
                                   zvLib::tracksketch, zvLib::trackbanked, zvLib::trackkerbs};
    const auto lanes = zvLib::LaneColors;
    openOptions([](frmOpt& d) { apptest::Click(d, "cmd(0)"); });
    const std::int32_t after[] = {zvLib::background,  zvLib::tracknormal, zvLib::trackhilite,
                                  zvLib::tracksketch, zvLib::trackbanked, zvLib::trackkerbs};
    EXPECT_TRUE(std::equal(std::begin(before), std::end(before), std::begin(after)));
    EXPECT_EQ(zvLib::LaneColors, lanes);
    EXPECT_LT(zvLib::trackkerbs, 0) << "the shadow colour is still a system colour";
    EXPECT_EQ(setting("Colors", "Trackkerbs"), std::to_string(zvLib::trackkerbs));
    EXPECT_EQ(setting("Colors", "Tracksketch"), std::to_string(zvLib::tracksketch));
    EXPECT_EQ(setting("Colors", "Lane8"), std::to_string(Rgb(1, 1, 1)));
}

TEST_F(frmOptTest, ApplyPutsValuesInForceWithoutSavingAndCancelKeepsThem)
{
    const std::int32_t lane2 = zvLib::LaneColors[1];
    const std::int32_t normal = zvLib::tracknormal;
    queueOptions([&](frmOpt& d) {
        clickPicker(d, "picBack");
        child<QComboBox>(d, "cboGridStyle").setCurrentIndex(3);
        apptest::Click(d, "cmd(1)");
        EXPECT_TRUE(d.isVisible()) << "apply leaves the dialog open";
        EXPECT_EQ(zvLib::background, Rgb(0, 0, 80));
        EXPECT_EQ(main().pic->Surface().BackColor(), Rgb(0, 0, 80)) << "the canvas in step";
        // Chosen but cancelled: neither this colour nor a dismissed chooser's counts.
        clickPicker(d, "picLane(2)");
        clickPicker(d, "picTrack(0)");
        EXPECT_EQ(pickerColor(d, "picTrack(0)"), normal);
        apptest::Click(d, "cmd(99)");
    });
    chooseColour(QColor(0, 0, 80));
    chooseColour(QColor(9, 9, 9));
    chooseColour(QColor(8, 8, 8), false);
    runOptions();
    EXPECT_EQ(zvLib::background, Rgb(0, 0, 80)) << "applied values stay";
    EXPECT_EQ(zvLib::GridStyle, 3);
    EXPECT_EQ(zvLib::LaneColors[1], lane2);
    EXPECT_EQ(zvLib::tracknormal, normal);
    EXPECT_EQ(setting("Colors", "Background"), "") << "the settings file untouched";
    EXPECT_EQ(setting("Options", "GridStyle"), "");

    // Closing by the window frame is a cancel too.
    openOptions([](frmOpt& d) {
        clickPicker(d, "picLane(4)");
        d.close();
    });
    EXPECT_EQ(zvLib::LaneColors[3], zvLib::Colors.ToRGB("#ffe44d"));
}

TEST_F(frmOptTest, DefaultColoursDropTheColourSectionAndKeepTheOtherOptions)
{
    writeSettings("[Options]\nGridwidth=300\n[Colors]\nLane1=123\nBackground=456\n"
                  "measure=789\n");
    zvLib::OptionsLoad();
    ASSERT_EQ(zvLib::LaneColors[0], 123);
    ASSERT_EQ(zvLib::GridWidth, cFixed(300));
    openOptions([](frmOpt& d) {
        EXPECT_EQ(pickerColor(d, "picLane(1)"), 123);
        child<QScrollBar>(d, "hscGridWidth").setValue(500);
        apptest::Click(d, "cmd(10)");
        EXPECT_EQ(pickerColor(d, "picLane(1)"), zvLib::Colors.ToRGB("Red"));
        EXPECT_EQ(pickerColor(d, "picBack"), zvLib::Colors.ToRGB("white"));
        EXPECT_EQ(child<QScrollBar>(d, "hscGridWidth").value(), 300) << "shown again as saved";
        apptest::Click(d, "cmd(99)");
    });
    EXPECT_EQ(zvLib::LaneColors[0], zvLib::Colors.ToRGB("Red")) << "defaults stay after cancel";
    EXPECT_EQ(zvLib::background, zvLib::Colors.ToRGB("white"));
    EXPECT_EQ(zvLib::measure, 0);
    EXPECT_EQ(zvLib::GridWidth, cFixed(300));
    EXPECT_EQ(setting("Colors", "Lane1"), "");
    EXPECT_EQ(setting("Colors", "measure"), "") << "the whole section went";
    EXPECT_EQ(setting("Options", "GridWidth"), "300");
}

TEST_F(frmOptTest, DefaultColoursLeaveTheViewSwitchesAsTheyAre)
{
    writeSettings("[Options]\nShowGrid=-1\nShowKerbs=-1\n[Colors]\nLane1=123\n");
    // As in the delivered program: kerbs off and their tool unchecked; the grid switched off.
    tool("tbr", "kerbs").Checked(false);
    zvLib::ShowKerbs = false;
    tool("tbr", "grid").Checked(true);
    run("VIEW.GRID");
    ASSERT_FALSE(zvLib::ShowGrid);
    openOptions([](frmOpt& d) {
        apptest::Click(d, "cmd(10)");
        EXPECT_EQ(pickerColor(d, "picLane(1)"), zvLib::Colors.ToRGB("Red"));
        apptest::Click(d, "cmd(0)");
    });
    EXPECT_FALSE(zvLib::ShowKerbs);
    EXPECT_FALSE(tool("tbr", "kerbs").Checked());
    EXPECT_FALSE(zvLib::ShowGrid);
    EXPECT_FALSE(tool("tbr", "grid").Checked());
}

TEST_F(frmOptTest, CaptionsComeFromTheLanguageTable)
{
    // The texts each language gives: caption, OK, default colours, lane 3, grid frame, style 2.
    struct Case {
        const char* language;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {"EN", {"Options", "OK", "&Default colours", "Lane 3", "Grid", "Dashes", "Background"}},
        {"IT",
         {"Opzioni", "OK", "Colori &predefiniti", "Corsia 3", "Griglia", "Trattini", "Sfondo"}},
    };
    for (const Case& c : cases) {
        useLanguage(c.language);
        openOptions([&](frmOpt& d) {
            const std::vector<std::string> texts = {
                d.windowTitle().toStdString(),
                child<QPushButton>(d, "cmd(0)").text().toStdString(),
                child<QPushButton>(d, "cmd(10)").text().toStdString(),
                child<QLabel>(d, "lblLane(3)").text().toStdString(),
                child<QGroupBox>(d, "fra(1)").title().toStdString(),
                child<QComboBox>(d, "cboGridStyle").itemText(2).toStdString(),
                child<QLabel>(d, "lblTrack(3)").text().toStdString(),
            };
            EXPECT_EQ(texts, c.texts) << c.language;
            d.cmd_Click(99);
        });
    }
}

TEST_F(frmOptTest, ThePlaceIsRememberedAndTheFirstOpeningIsCentred)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QSize s = screen->geometry().size();
    openOptions([&](frmOpt& d) {
        EXPECT_EQ(d.x(), ((s.width() * 15 - frmOpt::kDesignWidth) / 2 + 7) / 15);
        EXPECT_EQ(d.y(), ((s.height() * 15 - frmOpt::kDesignHeight) / 2 + 7) / 15);
        d.move(100, 80);
        d.cmd_Click(99);
    });
    EXPECT_EQ(setting(frmOpt::kLayoutSection, "left"), "1500");
    EXPECT_EQ(setting(frmOpt::kLayoutSection, "top"), "1200");
    EXPECT_EQ(setting(frmOpt::kLayoutSection, "width"), std::to_string(frmOpt::kDesignWidth));
    EXPECT_EQ(setting(frmOpt::kLayoutSection, "height"), std::to_string(frmOpt::kDesignHeight));
    openOptions([](frmOpt& d) {
        EXPECT_EQ(d.pos(), QPoint(100, 80));
        apptest::Click(d, "cmd(0)");
    });

    // A place off the screen is brought wholly onto the work area.
    zvLib::SaveSetting("Zorv", frmOpt::kLayoutSection, "left", "-90000");
    zvLib::SaveSetting("Zorv", frmOpt::kLayoutSection, "top", "100000");
    const QRect area = screen->availableGeometry();
    openOptions([&](frmOpt& d) {
        EXPECT_TRUE(area.contains(d.frameGeometry()))
            << d.frameGeometry().x() << "," << d.frameGeometry().y();
        d.cmd_Click(99);
    });
}

} // namespace
