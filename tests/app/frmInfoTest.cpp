// The info panels and the info window: the length and size texts, the lanes grid with its lane
// colours and units, the window's default place beside the main window, its size limits, the
// layout and column widths it saves and restores, and its toolbar tool.
#include "view/frmInfo.h"

#include "DispatchFixture.h"
#include "app/core/zvLib_settings.h"
#include "model/zvLib_globals.h"
#include "platform/cBarWidget.h"
#include "platform/cGridWidget.h"
#include "reports/frmReport.h"
#include "view/frmTest.h"
#include "view/zvLang_forms.h"
#include "view/zvLib_info.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>

using apptest::DispatchFixture;

namespace {

class InfoTest : public DispatchFixture {
  protected:
    frmInfo* loaded() { return qobject_cast<frmInfo*>(zvLib::Form(zvForm::frmInfo)); }
    std::string layout(const char* key)
    {
        return zvLib::GetSetting("Zorv", frmInfo::kLayoutSection, key);
    }
    void storeLayout(const char* key, const std::string& value)
    {
        zvLib::SaveSetting("Zorv", frmInfo::kLayoutSection, key, value);
    }
    // Puts the main window at the left top of the screen, 700 pixels wide, and starts from
    // an info window not loaded and no saved layout (the new size's fit refreshes the info,
    // which loads the window hidden).
    void placeMainWindow()
    {
        main().setGeometry(0, 0, 700, 500);
        main().move(0, 0);
        QCoreApplication::processEvents();
        unloadInfo();
        zvLib::DeleteSetting("Zorv", frmInfo::kLayoutSection, "");
    }
    // VIEW.INFO, then the window goes as Unload leaves it. The command's refresh of the
    // panels loads it again, hidden, with the layout just saved.
    void closeInfo()
    {
        run("VIEW.INFO");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_TRUE(loaded() == nullptr || !loaded()->isVisible());
    }
    // Unloads the window without any refresh after it.
    void unloadInfo()
    {
        zvLib::Unload(zvForm::frmInfo);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Where a window of that width goes by default: its right edge on the main window's, in
    // twips.
    int defaultLeft(int width)
    {
        const QRect frame = main().frameGeometry();
        return (frame.x() + frame.width()) * 15 - width;
    }
};

TEST_F(InfoTest, StatusPanelsShowLengthAndSize)
{
    EXPECT_EQ(zvLib::LengthText(12345.6, 32), "12.35m  (0.395 km)");
    EXPECT_EQ(zvLib::SizeText(3200, 1750), "3.20 X 1.75 m.");
    EXPECT_EQ(zvLib::SizeText(0.0009, -5), "0.00 X 0.00 m.");
    setenv("LC_ALL", "it_IT.UTF-8", 1);
    EXPECT_EQ(zvLib::LengthText(12345.6, 32), "12,35m  (0,395 km)") << "the user's decimal sign";
    setenv("LC_ALL", "C", 1);

    for (const char* def : {"CL32:AS1", "CL32:AS1", "CL32:AC1-90(R)"}) {
        click(pieceTool(def));
    }
    const auto extent = circuit().GetExtent();
    EXPECT_EQ(tool("sbr", "pnlinfo_2").Caption(),
              zvLib::LengthText(circuit().GetLength(), zvLib::SetScale));
    EXPECT_EQ(tool("sbr", "pnlinfo_3").Caption(),
              zvLib::SizeText(extent[4].toDouble(), extent[5].toDouble()));
    EXPECT_EQ(tool("sbr", "pnlinfo_2").Caption().rfind(
                  zvLib::LengthText(circuit().GetLength(), 32).substr(0, 4), 0),
              0u);
}

TEST_F(InfoTest, TheGridListsEveryLaneInItsColourWithUnitsOnce)
{
    newCircuit(4);
    click(pieceTool("CL32:AS1"));
    frmInfo* info = loaded();
    ASSERT_NE(info, nullptr) << "the refresh loads the window";
    EXPECT_FALSE(info->isVisible()) << "without showing it";
    zvLib::UpdateInfo();
    cGridModel& grd = info->grd;
    zvTextTable lanes;
    circuit().GetLanes(lanes);
    ASSERT_EQ(lanes.size(), 4u);
    ASSERT_EQ(grd.RowCount(), 4) << "every lane of both tracks";
    for (int i = 1; i <= 4; ++i) {
        const auto row = static_cast<std::size_t>(i - 1);
        EXPECT_EQ(grd.CellLook(i, 1).BackColor(), zvLib::LaneColors[row]);
        EXPECT_EQ(grd.CellLook(i, 3).BackColor(), zvLib::LaneColors[row]);
        EXPECT_EQ(grd.CellLook(i, 5).BackColor(), static_cast<std::int32_t>(0x80000005u))
            << "the gaps stay on the window colour";
        EXPECT_EQ(grd.Value(i - 1, 0), lanes[row][0]);
        EXPECT_EQ(grd.Value(i - 1, 1), lanes[row][1] + " m.");
        EXPECT_EQ(grd.Value(i - 1, 2), lanes[row][2] + " km");
        EXPECT_EQ(grd.Value(i - 1, 5), lanes[row][5]);
        EXPECT_EQ(grd.CellLook(i, 4).TextAlignment(), 6);
        EXPECT_EQ(grd.CellLook(i, 6).Bold(), false);
    }
    EXPECT_EQ(grd.Column("Field5").Style().BackColor(), static_cast<std::int32_t>(0x80000005u));
}

TEST_F(InfoTest, TheWindowOpensBesideTheMainWindowWithinItsLimits)
{
    placeMainWindow();
    run("VIEW.INFO");
    frmInfo* info = loaded();
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->isVisible());
    EXPECT_TRUE(tool("tbr", "info").Checked());
    EXPECT_EQ(info->windowTitle().toStdString(), "Lanes");
    EXPECT_EQ(info->grd.Column(1).Caption(), "Lane");
    EXPECT_EQ(info->grd.Column(6).Caption(), "Delta \xC2\xBB");
    // As designed, or wider where the columns need it to show their texts whole.
    const int width = info->WidthTwips();
    EXPECT_GE(width, 6000);
    EXPECT_GE(info->grdView().Table()->viewport()->width(),
              info->grdView().Table()->horizontalHeader()->length());
    EXPECT_EQ(info->LeftTwips(), defaultLeft(width));
    EXPECT_EQ(info->TopTwips(), 900);
    EXPECT_EQ(info->HeightTwips(), 2700) << "the designed 3000 is cut to the ceiling";

    info->resize(100, 100);
    EXPECT_EQ(info->WidthTwips(), frmInfo::kMinWidth);
    EXPECT_EQ(info->HeightTwips(), 1500) << "a lower window is allowed";
    info->resize(400, 600);
    EXPECT_EQ(info->HeightTwips(), frmInfo::kMaxHeight);
    EXPECT_EQ(info->grdView().geometry(), info->rect()) << "the grid fills the window";

    closeInfo();
    EXPECT_FALSE(tool("tbr", "info").Checked());
    EXPECT_EQ(layout("Left"), std::to_string(defaultLeft(width)));
    EXPECT_EQ(layout("Top"), "900");
    EXPECT_EQ(layout("Width"), "6000");
    EXPECT_EQ(layout("Height"), "2700");
    EXPECT_EQ(layout("Columns"), "600;1005;1005;1005;1005;1200;");
}

TEST_F(InfoTest, TheSavedLayoutComesBackOnTheScreen)
{
    placeMainWindow();
    storeLayout("Left", "1500");
    storeLayout("Top", "45000");
    storeLayout("Width", "4500");
    storeLayout("Height", "2100");
    storeLayout("columns", "800;;x;1500;");
    run("VIEW.INFO");
    frmInfo* info = loaded();
    ASSERT_NE(info, nullptr);
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(info->LeftTwips(), 1500);
    EXPECT_TRUE(screen->availableGeometry().contains(info->frameGeometry()))
        << "a top below the screen is brought onto it: " << info->TopTwips();
    EXPECT_EQ(info->WidthTwips(), 4500);
    EXPECT_EQ(info->HeightTwips(), 2100);
    EXPECT_EQ(info->ColumnWidths(), "800;1005;1005;1500;1005;1200;");
    EXPECT_EQ(info->grdView().Table()->columnWidth(3), 100);
    // A column the user drags wider is saved with its new width.
    info->grdView().Table()->setColumnWidth(1, 90);
    closeInfo();
    EXPECT_EQ(layout("Columns"), "800;1350;1005;1500;1005;1200;");
    unloadInfo();

    storeLayout("Left", std::to_string(screen->geometry().width() * 15 + 15));
    storeLayout("Top", "not a number");
    run("VIEW.INFO");
    ASSERT_NE(loaded(), nullptr);
    EXPECT_EQ(loaded()->LeftTwips(), defaultLeft(4500))
        << "beyond the screen: beside the main window";
    EXPECT_EQ(loaded()->TopTwips(), 900) << "an unreadable value: the default";
}

TEST_F(InfoTest, CaptionsAndValuesAreWholeInEveryLanguage)
{
    circuit().CurTrack()->append("CL32:AS1;CL32:AC1-90(L);CL32:ASF;", circuit().CurItem());
    run("VIEW.DESIGN"); // the item bar is shown
    // Every shown column of a grid is as wide as its caption and each of its cells, in the
    // fonts they are shown in, with the margins the style draws around them.
    const auto wholeGrid = [](const QTableWidget& t, const std::string& what) {
        const QStyle* style = t.style();
        const int headerMargins = 2 * style->pixelMetric(QStyle::PM_HeaderMargin);
        const int cellMargins = 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
        const QFontMetrics header(t.horizontalHeader()->font());
        for (int c = 0; c < t.columnCount(); ++c) {
            if (t.isColumnHidden(c)) {
                continue;
            }
            const QString caption = t.horizontalHeaderItem(c)->text();
            EXPECT_GE(t.columnWidth(c), header.horizontalAdvance(caption) + headerMargins)
                << what << ": the caption " << caption.toStdString() << " is cut";
            for (int r = 0; r < t.rowCount(); ++r) {
                const QTableWidgetItem* cell = t.item(r, c);
                EXPECT_GE(t.columnWidth(c),
                          QFontMetrics(cell->font()).horizontalAdvance(cell->text()) + cellMargins)
                    << what << ": " << cell->text().toStdString() << " does not fit its column";
            }
        }
    };
    for (const char* language : {"EN", "IT", "FR", "ES"}) {
        useLanguage(language);
        zvLang::TranslateForm(main());
        unloadInfo();
        zvLib::UpdateInfo();
        wholeGrid(*zvLib::InfoWindow().grdView().Table(), language + std::string(" info window"));

        run("VIEW.REPORT");
        auto* report = qobject_cast<frmReport*>(zvLib::Form(zvForm::frmReport));
        ASSERT_NE(report, nullptr);
        wholeGrid(*report->grdLanesView().Table(), language + std::string(" report lanes"));
        run("VIEW.DESIGN");
        QCoreApplication::processEvents();

        auto* tabs = qobject_cast<QTabWidget*>(main().abrView().BandWidget(main().abr.Band("ibr")));
        ASSERT_NE(tabs, nullptr);
        const QTabBar* bar = tabs->tabBar();
        for (int i = 0; i < bar->count(); ++i) {
            EXPECT_TRUE(bar->rect().contains(bar->tabRect(i)))
                << language << ": the tab " << bar->tabText(i).toStdString() << " is not whole";
            EXPECT_GE(bar->tabRect(i).width(),
                      bar->fontMetrics().horizontalAdvance(bar->tabText(i)))
                << language << ": " << bar->tabText(i).toStdString();
        }

        // The pointer over the start/finish straight names it in the piece panel of the status bar.
        const zvItem& startFinish = *circuit().CurTrack()->items().Last();
        main().pic_MouseMove(0, 0, startFinish.X0().toDouble(), startFinish.Y0().toDouble());
        QCoreApplication::processEvents();
        auto* panel = qobject_cast<QLabel*>(
            main().abrView().ToolWidget(main().abr.Band("sbr").Tool("pnlinfo_1")));
        ASSERT_NE(panel, nullptr);
        ASSERT_NE(panel->text().indexOf("ASF"), -1) << panel->text().toStdString();
        EXPECT_GE(panel->contentsRect().width(),
                  panel->fontMetrics().horizontalAdvance(panel->text()))
            << language << ": the piece panel cuts " << panel->text().toStdString();
    }

    // The options of the canvas test window (development mode) are whole and apart.
    const frmTest& test = zvLib::TestWindow();
    const QStyle* style = test.style();
    const int box = style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                    style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    for (const QRadioButton* o : test.opt) {
        EXPECT_GE(o->width(), box + o->fontMetrics().horizontalAdvance(o->text()))
            << "the option " << o->text().toStdString() << " is cut";
        for (const QRadioButton* other : test.opt) {
            EXPECT_TRUE(o == other || !o->geometry().intersects(other->geometry()))
                << o->text().toStdString() << " covers " << other->text().toStdString();
        }
    }
}

TEST_F(InfoTest, TheCloseBoxReleasesTheToolSoTheCommandShowsItAgain)
{
    run("VIEW.INFO");
    ASSERT_NE(loaded(), nullptr);
    loaded()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(loaded(), nullptr) << "the close box unloads it";
    EXPECT_FALSE(tool("tbr", "info").Checked());
    EXPECT_FALSE(layout("Width").empty()) << "the layout was saved";
    run("VIEW.INFO");
    ASSERT_NE(loaded(), nullptr);
    EXPECT_TRUE(loaded()->isVisible());
    EXPECT_TRUE(tool("tbr", "info").Checked());
}

} // namespace
