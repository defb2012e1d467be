// frmMain: the main window's controls, its preparation at start-up, its two interface modes,
// the layout of the client area and the events of the toolbar control that turn tools into
// command strings for the dispatcher.
#include "view/frmMain.h"

#include "app/core/zvLib_options.h"
#include "app/core/zvLib_settings.h"
#include "app/core/zvLib_stock.h"
#include "app/zvIconFiles.h"
#include "app/zvLib_commands.h"
#include "app/zvLib_shell.h"
#include "app/zvQtUI.h"
#include "foundation/NUX_STD_system.h"
#include "foundation/cError.h"
#include "foundation/cFixed.h"
#include "foundation/zvLib_canvas.h"
#include "model/zvCircuit.h"
#include "platform/cBarWidget.h"
#include "platform/cQtConvert.h"
#include "view/frmTest.h"
#include "view/zvLang_forms.h"
#include "view/zvLib_view.h"
#include "view/zvMainItemBar.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QShowEvent>
#include <QToolBar>

#include <algorithm>
#include <cmath>
#include <optional>
#include <sstream>

using cQtConvert::PixelsToTwips;
using cQtConvert::TwipsToPixels;

namespace {

// The thickness of the scroll bars and the size of the corner button, in twips.
constexpr int kBar = 315;
// The smallest client area, in twips, that the canvas is laid out in; the window is never
// made smaller than that.
constexpr int kSmallest = 2000;
// The smallest client area in whole pixels: a pixel count that rounds up, so that the client
// area of a window at its smallest size still measures at least kSmallest twips.
constexpr int kSmallestPixels =
    (kSmallest + cQtConvert::kTwipsPerPixel - 1) / cQtConvert::kTwipsPerPixel;
static_assert(PixelsToTwips(kSmallestPixels) >= kSmallest);
// The width of the set chooser, in twips.
constexpr int kSetComboWidth = 1800;
// The character that stands for a dot inside a tool's name or tag in a command.
constexpr char kDotInName = '\x01';
// The share of the work area, in quarters, that the window takes when no place was saved.
constexpr int kDefaultQuarters = 3;

// Places a control in twips given relative to the client area's origin.
void Place(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                   TwipsToPixels(height));
}

std::string Upper(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

// The command a tool sends: its category, a dot and its name (its tag for a snippet tool),
// with every dot of that name or tag sent as character 1.
std::string CommandOf(const std::string& category, std::string name)
{
    std::replace(name.begin(), name.end(), '.', kDotInName);
    return category + "." + name;
}

// A saved layout value in twips; nothing when it is missing or not a usable number.
std::optional<int> LayoutTwips(const char* key)
{
    const std::string text = zvLib::GetSetting("Zorv", frmMain::kLayoutSection, key, "");
    const std::optional<cFixed> v = cFixed::parse(text);
    if (!v || std::abs(v->toDouble()) > 1e7) {
        return std::nullopt;
    }
    return static_cast<int>(std::lround(v->toDouble()));
}

// The window as the options see it.
class MainOptions : public zvOptionsHost {
  public:
    explicit MainOptions(frmMain& main) : main_(main) {}
    void ToolPressed(const std::string& tool, bool pressed) override
    {
        main_.ToolPressed(tool, pressed);
    }
    std::int32_t ItemBarWidth() const override { return main_.ItemBarWidth(); }
    void CanvasBackColor(std::int32_t color) override { main_.CanvasBackColor(color); }

  private:
    frmMain& main_;
};

} // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("frmMain");
    BuildBands();
    if (!zvLib::TempFolder.empty()) {
        DrawToolPictures(zvLib::TempFolder);
    }
    abrView_ = new cBarWidget(abr, *this);
    BuildControls();
    cBarEvents& e = abr.Events();
    e.ToolClick = [this](cBarTool& t) { abr_ToolClick(t); };
    e.ToolHoverEnter = [this](cBarTool& t) { abr_ToolHoverEnter(t); };
    e.ToolHoverLeave = [this](cBarTool& t) { abr_ToolHoverLeave(t); };
    e.ChildBandChange = [this](cBarBand& b, cBarBand& c) { abr_ChildBandChange(b, c); };
    e.Resize = [this] { abr_Resize(); };
    e.BandOpen = [this](cBarBand& b) { abr_BandOpen(b); };
    e.ComboSelChange = [this](cBarTool& t) { abr_ComboSelChange(t); };
    e.ToolTextChange = [this](cBarTool& t) { abr_ToolTextChange(t); };
    optionsHost_ = std::make_unique<MainOptions>(*this);
    zvLib::OptionsHost = optionsHost_.get();
    itemBar_ = std::make_shared<zvMainItemBar>(abr);
    zvLib::ItemBar = itemBar_;
    setAcceptDrops(true);
    zvLib::FormUnloader(zvForm::frmMain, [](QWidget& w) { static_cast<frmMain&>(w).SaveLayout(); });
    if (!zvLib::UI) {
        ui_ = std::make_shared<zvQtUI>();
        zvLib::UI = ui_;
    }
}

frmMain::~frmMain()
{
    if (zvLib::OptionsHost == optionsHost_.get()) {
        zvLib::OptionsHost = nullptr;
    }
    if (zvLib::ItemBar == itemBar_) {
        zvLib::ItemBar.reset();
    }
    if (ui_ && zvLib::UI == ui_) {
        zvLib::UI.reset();
    }
    if (zvLib::MainPic == &pic->Surface()) {
        zvLib::MainPic = nullptr;
    }
    if (zvLib::HScroll == hsc) {
        zvLib::HScroll = nullptr;
        zvLib::VScroll = nullptr;
    }
    abr.Events() = cBarEvents();
    delete abrView_;
}

void frmMain::BuildControls()
{
    QWidget* client = abrView_->ClientWidget();
    // The window is never made so small that the canvas cannot be laid out.
    client->setMinimumSize(kSmallestPixels, kSmallestPixels);
    pic = new cPictureBox(client);
    pic->setObjectName("pic");
    // The editing keys belong to the canvas: it takes the focus when clicked.
    pic->setFocusPolicy(Qt::StrongFocus);
    pag = new QWidget(client);
    pag->setObjectName("pag");
    pag->hide();
    hsc = new cScrollBar(Qt::Horizontal, client);
    hsc->setObjectName("hsc");
    vsc = new cScrollBar(Qt::Vertical, client);
    vsc->setObjectName("vsc");
    cmd = new QPushButton(client);
    cmd->setObjectName("cmd");
    lblMeasure = new QLabel(client);
    lblMeasure->setObjectName("lblMeasure");
    lblMeasure->hide();
    InstallCanvas();
    // The piece icons are shown at their own size.
    if (auto* items = qobject_cast<QToolBar*>(abrView_->BandWidget(abr.Band("ibr").ChildBand("items")))) {
        items->setIconSize(QSize(zvIconFiles::kSide, zvIconFiles::kSide));
    }
    // The item bar's title would only repeat what its tabs say.
    if (QWidget* tabs = abrView_->BandWidget(abr.Band("ibr"))) {
        if (auto* dock = qobject_cast<QDockWidget*>(tabs->parentWidget())) {
            dock->setTitleBarWidget(new QWidget(dock));
        }
    }
}

void frmMain::InstallCanvas()
{
    // Edges are drawn unsmoothed, as on a picture box: a full redraw of a large circuit then
    // stays within a frame, and a one-pixel line lands on exactly the pixels its scale gives.
    pic->Surface().Antialiasing(false);
    zvLib::MainPic = &pic->Surface();
    zvLib::HScroll = hsc;
    zvLib::VScroll = vsc;
    pic->Resize = [this] { pic_Resize(); };
    pic->MouseWheel = [this](int direction) { mwh_MouseWheel(direction); };
    pic->MouseDown = [this](int b, int s, double x, double y) { pic_MouseDown(b, s, x, y); };
    pic->MouseMove = [this](int b, int s, double x, double y) { pic_MouseMove(b, s, x, y); };
    pic->MouseUp = [this](int b, int s, double x, double y) { pic_MouseUp(b, s, x, y); };
    hsc->Change = [this] { hsc_Change(); };
    vsc->Change = [this] { vsc_Change(); };
    connect(cmd, &QPushButton::clicked, this, [this] { cmd_Click(); });
}

void frmMain::Send(const char* command)
{
    std::string c = command;
    zvLib::ExecCommand(c);
}

void frmMain::repaint()
{
    const cBarRect area = abr.ClientArea();
    const int W = area.width;
    const int H = area.height;
    if (H < kSmallest || W < kSmallest) {
        return;
    }
    // The controls are children of the client area, so its left and top are their origin.
    Place(hsc, 0, H - kBar, W - kBar, kBar);
    Place(vsc, W - kBar, 0, kBar, H - kBar);
    Place(pic, 0, 0, W - kBar, H - kBar);
    Place(pag, 0, 0, W, H);
    Place(cmd, W - kBar, H - kBar, kBar, kBar);
}

void frmMain::setMode(const std::string& mode)
{
    const std::string m = Upper(mode);
    if (m == "NEW") {
        EnableTools("mnuFile", "new;open;exit", true);
        EnableTools("mnuFile", "save;saveas;print", false);
        EnableTools("mnuEdit", "*", false);
        EnableTools("mnuView", "*", false);
    } else if (m == "DESIGN") {
        EnableTools("mnuFile", "*", true);
        EnableTools("mnuEdit", "*", true);
        EnableTools("mnuView", "*", true);
        abr.Band("vbr").Tool("design").Checked(true);
    }
}

void frmMain::EnableTools(const std::string& band, const std::string& tools, bool enabled)
{
    cBarBand& b = abr.Band(band);
    if (tools == "*") {
        for (int i = 0; i < b.ToolCount(); ++i) {
            b.Tool(i).Enabled(enabled);
        }
        return;
    }
    std::stringstream names(tools);
    for (std::string name; std::getline(names, name, ';');) {
        b.Tool(name).Enabled(enabled);
    }
}

void frmMain::setUI()
{
    cBarTool& sets = abr.Band("tbr").Tool("cboSet");
    sets.ControlType(cBarToolType::Combo);
    sets.Clear();
    sets.Width(kSetComboWidth);
    std::stringstream list(zvLib::GetSetList());
    for (std::string code; std::getline(list, code, ';');) {
        if (!code.empty()) {
            sets.AddItem(code);
        }
    }
    sets.Visible(true);
    zvLang::TranslateForm(*this);
    abr.Band("vbr").Tool("editor").Visible(NUX_STD_library::IsInIDE());
    abr.Band("tbr").Tool("ruler").Visible(NUX_STD_library::IsInIDE());
    abr.Band("tbr").Refresh();
    abr.Band("vbr").Refresh();
    abr.Band("ibr").Visible(false);
    abr.RecalcLayout();
    pag->setPalette(QPalette(cQtConvert::ToQColor(static_cast<std::int32_t>(0x8000000Fu))));
    pag->setAutoFillBackground(true);
}

void frmMain::RestoreLayout()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    const std::optional<int> width = LayoutTwips("Width");
    const std::optional<int> height = LayoutTwips("Height");
    const QSize size = FitToArea(width && height
                                     ? QSize(TwipsToPixels(*width), TwipsToPixels(*height))
                                     : QSize(area.width() * kDefaultQuarters / 4,
                                             area.height() * kDefaultQuarters / 4),
                                 area.size());
    const std::optional<int> left = LayoutTwips("Left");
    const std::optional<int> top = LayoutTwips("Top");
    QPoint at = left && top ? QPoint(TwipsToPixels(*left), TwipsToPixels(*top))
                            : area.topLeft() + QPoint((area.width() - size.width()) / 2,
                                                      (area.height() - size.height()) / 2);
    // A place saved on another screen or beyond this one comes back inside the work area.
    at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - size.width())));
    at.setY(std::max(area.top(), std::min(at.y(), area.bottom() + 1 - size.height())));
    setGeometry(QRect(at, size));
}

void frmMain::SizeWithin(int width, int height)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize wanted(width, height);
    resize(screen != nullptr ? FitToArea(wanted, screen->availableGeometry().size()) : wanted);
}

void frmMain::KeepFrameOnWorkArea()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    // The window manager frames the window once it is shown.
    QApplication::processEvents();
    const QRect area = screen->availableGeometry();
    const QRect frame = frameGeometry();
    if (area.contains(frame)) {
        return;
    }
    const QSize margins = frame.size() - size();
    resize(FitToArea(size(), area.size() - margins));
    const QSize outer = size() + margins;
    move(std::max(area.left(), std::min(frame.x(), area.right() + 1 - outer.width())),
         std::max(area.top(), std::min(frame.y(), area.bottom() + 1 - outer.height())));
}

QSize frmMain::FitToArea(QSize wanted, QSize area)
{
    // The bands as they will be shown give the window its smallest size.
    abrView_->Flush();
    if (layout() != nullptr) {
        layout()->activate();
    }
    return wanted.boundedTo(area).expandedTo(minimumSizeHint());
}

void frmMain::SaveLayout()
{
    if (!shown_) {
        return;
    }
    const QRect normal = normalGeometry();
    zvLib::SaveSettings(kLayoutSection,
                        {{"Top", std::to_string(PixelsToTwips(normal.y()))},
                         {"Left", std::to_string(PixelsToTwips(normal.x()))},
                         {"Width", std::to_string(PixelsToTwips(normal.width()))},
                         {"Height", std::to_string(PixelsToTwips(normal.height()))}});
}

void frmMain::abr_ToolClick(cBarTool& tool)
{
    const std::string& category = tool.Category();
    std::string command =
        CommandOf(category, category == "snippet.append" ? tool.Tag() : tool.Name());
    zvLib::ExecCommand(command);
}

void frmMain::abr_ToolHoverEnter(cBarTool& tool)
{
    const std::string& category = tool.Category();
    if (category != "item.append" && category != "snippet.append") {
        return;
    }
    std::string command =
        CommandOf("item.sketch", category == "item.append" ? tool.Name() : tool.Tag());
    zvLib::ExecCommand(command);
}

void frmMain::abr_ToolHoverLeave(cBarTool& tool)
{
    const std::string& category = tool.Category();
    if (category == "item.append" || category == "snippet.append") {
        std::string command = "item.sketch.undo";
        zvLib::ExecCommand(command);
    }
}

void frmMain::abr_ChildBandChange(cBarBand&, cBarBand& child)
{
    CurrentLayer = Upper(child.Name()) == "DRAW";
    if (const auto circuit = zvLib::Circuit(); circuit && zvLib::MainPic != nullptr) {
        circuit->Draw();
    }
}

void frmMain::abr_Resize()
{
    repaint();
}

void frmMain::abr_BandOpen(cBarBand& band)
{
    if (Upper(band.Name()) == "MNUFILE") {
        zvLib::MRUShow();
    }
}

void frmMain::Form_Unload(bool& cancel)
{
    cancel = !zvLib::AppExit(false);
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (zvLib::ProgramEnded()) {
        event->accept();
        return;
    }
    bool cancel = false;
    Form_Unload(cancel);
    if (cancel) {
        event->ignore();
    } else {
        event->accept();
    }
}

void frmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!shown_ && !event->spontaneous()) {
        shown_ = true;
        FitView();
    }
}

void frmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // A window restored to a place saved before its bands grew still gets its smallest usable
    // size, whether or not the window manager keeps to it.
    if (windowState() == Qt::WindowNoState && isVisible()) {
        const QSize least = size().expandedTo(minimumSize());
        if (least != size()) {
            resize(least);
            return;
        }
    }
    if (event->size() != event->oldSize()) {
        Form_Resize();
    }
}

void frmMain::Form_Resize()
{
    if (shown_) {
        FitView();
    }
}

void frmMain::pic_Resize()
{
    // The canvas alone changed size (the item bar's edge, a view switch): the same centre and
    // width at the canvas's new proportions. Not while a circuit is being opened.
    if (zvLib::Circuit() && pic->isEnabled() && pic->isVisible()) {
        zvLib::ZoomBy(cFixed());
    }
}

void frmMain::FitView()
{
    // The program's own fit: the view is no change of the circuit, so no undo state. A fit
    // that cannot be made leaves the view as it was.
    try {
        zvLib::ZoomExtents();
    } catch (const cError&) {
    }
}

void frmMain::cmd_Click()
{
    Send("VIEW.FIT");
    if (NUX_STD_library::IsInIDE()) {
        frmTest& test = zvLib::TestWindow();
        test.show();
        test.raise();
    }
}

void frmMain::hsc_Change()
{
    if (!zvLib::Circuit()) {
        return;
    }
    const zvViewRect v = zvLib::ViewRect();
    zvLib::CenterView(hsc->Value(), v.ScaleTop + v.ScaleHeight / 2);
    zvLib::Circuit()->Draw();
}

void frmMain::vsc_Change()
{
    if (!zvLib::Circuit()) {
        return;
    }
    const zvViewRect v = zvLib::ViewRect();
    zvLib::CenterView(v.ScaleLeft + v.ScaleWidth / 2, vsc->Value());
    zvLib::Circuit()->Draw();
}

void frmMain::mwh_MouseWheel(int direction)
{
    if (pic->isHidden() || !pag->isHidden()) {
        return;
    }
    Send(direction == -1 ? "VIEW.ZOOM-" : "VIEW.ZOOM+");
    // The canvas test window follows the wheel while it is shown (development mode).
    frmTest& test = zvLib::TestWindow();
    if (test.isVisible()) {
        const double w = test.cnv.Width().toDouble();
        test.cnv.ViewPort(direction == 1 ? w / frmTest::kZoomFactor : w * frmTest::kZoomFactor);
        test.pic->update();
    }
}

void frmMain::ToolPressed(const std::string& tool, bool pressed)
{
    abr.Band("tbr").Tool(tool).Checked(pressed);
}

std::int32_t frmMain::ItemBarWidth() const
{
    return abr.Band("ibr").Width();
}

void frmMain::CanvasBackColor(std::int32_t color)
{
    // As on a picture box, a new back colour clears the canvas.
    pic->Surface().BackColor(color);
    pic->Surface().Cls();
}
