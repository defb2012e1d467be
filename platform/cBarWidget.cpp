// cBarWidget: the Qt side of the toolbar and menu control. Each band gets one widget for its
// life; its tools are shown anew, on the next turn of the event loop or at the next refresh,
// whenever the band's tools change, and a tool's widget follows each property change at once.
#include "platform/cBarWidget.h"

#include "platform/cQtConvert.h"

#include <QAction>
#include <QComboBox>
#include <QCursor>
#include <QDockWidget>
#include <QEvent>
#include <QIcon>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScrollArea>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>

#include <algorithm>

using cQtConvert::ToQString;
using cQtConvert::TwipsToPixels;

namespace {

QKeySequence KeyOf(const std::string& key)
{
    return QKeySequence::fromString(ToQString(key), QKeySequence::PortableText);
}

// The icon of a tool from its picture files: state 0 normal, 1 disabled, 2 pointer over it;
// pixels of the mask colour are transparent.
QIcon MakeIcon(const cBarTool& tool)
{
    static const QIcon::Mode kModes[] = {QIcon::Normal, QIcon::Disabled, QIcon::Active};
    QIcon icon;
    for (int s = 0; s < cBarTool::kImageStates; ++s) {
        if (tool.Picture(s).empty()) {
            continue;
        }
        const QImage img(ToQString(tool.Picture(s)));
        if (img.isNull()) {
            continue;
        }
        QPixmap pm = QPixmap::fromImage(img);
        if (tool.MaskColor() >= 0) {
            pm.setMask(
                pm.createMaskFromColor(cQtConvert::ToQColor(tool.MaskColor()), Qt::MaskInColor));
        }
        icon.addPixmap(pm, kModes[s]);
    }
    return icon;
}

std::string IconKey(const cBarTool& tool)
{
    std::string key = std::to_string(tool.MaskColor());
    for (int s = 0; s < cBarTool::kImageStates; ++s) {
        key += "|" + tool.Picture(s);
    }
    return key;
}

// The toolbar of a child band: never smaller than all its tools, so that none goes into the
// toolbar's overflow menu (where a tool has neither caption nor tooltip nor hover); the tab
// page scrolls it instead.
class cBarPageToolBar : public QToolBar {
  public:
    using QToolBar::QToolBar;
    QSize minimumSizeHint() const override { return sizeHint(); }
};

} // namespace

cBarWidget::cBarWidget(cBarModel& model, QMainWindow& host)
    : QObject(&host), model_(model), host_(host)
{
    client_ = host_.centralWidget();
    if (client_ == nullptr) {
        client_ = new QWidget(&host_);
        host_.setCentralWidget(client_);
    }
    client_->installEventFilter(this);
    model_.Observer(this);
    for (int i = 0; i < model_.BandCount(); ++i) {
        ShowAnew(model_.Band(i));
    }
    Flush();
}

void cBarWidget::ShowAnew(cBarBand& band)
{
    BandToolsChanged(band);
    for (int i = 0; i < band.ChildBandCount(); ++i) {
        ShowAnew(band.ChildBand(i));
    }
}

cBarWidget::~cBarWidget()
{
    if (model_.Observer() == this) {
        model_.Observer(nullptr);
    }
}

QWidget* cBarWidget::BandWidget(const cBarBand& band)
{
    Flush();
    const auto it = bands_.find(&band);
    return it == bands_.end() ? nullptr : it->second.widget;
}

QAction* cBarWidget::ToolAction(const cBarTool& tool)
{
    Flush();
    const auto it = tools_.find(&tool);
    return it == tools_.end() ? nullptr : it->second.action;
}

QWidget* cBarWidget::ToolWidget(const cBarTool& tool)
{
    Flush();
    const auto it = tools_.find(&tool);
    return it == tools_.end() ? nullptr : it->second.widget;
}

QWidget* cBarWidget::ClientWidget() const
{
    return client_;
}

// ---- model changes ----

void cBarWidget::ToolChanged(cBarTool& tool)
{
    const auto it = tools_.find(&tool);
    if (it != tools_.end()) {
        SyncTool(it->second);
    }
}

void cBarWidget::BandChanged(cBarBand& band)
{
    ViewOf(band);
    SyncBand(band);
}

void cBarWidget::BandToolsChanged(cBarBand& band)
{
    DropTools(ViewOf(band));
    if (std::find(pending_.begin(), pending_.end(), &band) == pending_.end()) {
        pending_.push_back(&band);
    }
    if (!flushQueued_) {
        flushQueued_ = true;
        QTimer::singleShot(0, this, [this] { Flush(); });
    }
}

void cBarWidget::BandRefresh(cBarBand& band)
{
    Flush();
    if (QWidget* w = ViewOf(band).widget) {
        w->repaint();
    }
}

void cBarWidget::BandPopup(cBarBand& band)
{
    Flush();
    if (auto* menu = qobject_cast<QMenu*>(ViewOf(band).widget)) {
        menu->popup(QCursor::pos());
    }
}

void cBarWidget::LayoutAll()
{
    Flush();
    for (auto& [band, view] : bands_) {
        SyncBand(*const_cast<cBarBand*>(band));
        if (view.widget != nullptr) {
            view.widget->updateGeometry();
            view.widget->update();
        }
    }
    if (host_.layout() != nullptr) {
        host_.layout()->activate();
    }
}

void cBarWidget::Flush()
{
    flushQueued_ = false;
    while (!pending_.empty()) {
        cBarBand* band = pending_.front();
        pending_.erase(pending_.begin());
        FillBand(*band);
        SyncBand(*band);
        if (band->ChildBandCount() > 0) {
            SyncTabs(*band);
        }
        if (band->Parent() != nullptr) {
            SyncTabs(*band->Parent());
        }
    }
    SyncShortcuts();
}

// ---- bands ----

cBarWidget::BandView& cBarWidget::ViewOf(cBarBand& band)
{
    auto it = bands_.find(&band);
    if (it == bands_.end()) {
        it = bands_.emplace(&band, BandView{}).first;
        CreateBandWidget(band, it->second);
        ResyncSubMenus();
    }
    return it->second;
}

void cBarWidget::CreateBandWidget(cBarBand& band, BandView& view)
{
    const QString caption = ToQString(band.Caption());
    if (band.Parent() != nullptr) {
        auto* tabs = qobject_cast<QTabWidget*>(ViewOf(*band.Parent()).widget);
        auto* page = new QScrollArea(tabs);
        page->setFrameShape(QFrame::NoFrame);
        page->setWidgetResizable(true);
        page->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        auto* tb = new cBarPageToolBar(caption, page);
        tb->setOrientation(Qt::Vertical);
        page->setWidget(tb);
        view.widget = tb;
        view.page = page;
        return;
    }
    switch (band.Type()) {
    case cBarBandType::MenuBar:
        view.widget = new QMenuBar(&host_);
        host_.setMenuBar(static_cast<QMenuBar*>(view.widget));
        break;
    case cBarBandType::Popup: {
        auto* menu = new QMenu(caption, &host_);
        connect(menu, &QMenu::aboutToShow, this, [this, &band] { model_.OpenBand(band); });
        connect(menu, &QMenu::hovered, this, &cBarWidget::OnMenuHover);
        connect(menu, &QMenu::aboutToHide, this, &cBarWidget::LeaveMenuHover);
        view.widget = menu;
        break;
    }
    case cBarBandType::StatusBar:
        view.widget = new QStatusBar(&host_);
        host_.setStatusBar(static_cast<QStatusBar*>(view.widget));
        break;
    case cBarBandType::ChildBands: {
        view.dock = new QDockWidget(caption, &host_);
        view.dock->setObjectName(ToQString(band.Name()));
        view.dock->setFeatures(QDockWidget::DockWidgetMovable);
        auto* tabs = new QTabWidget(view.dock);
        // Every tab shows its whole caption: the bar is at least as wide as its tabs.
        tabs->setUsesScrollButtons(false);
        tabs->setElideMode(Qt::ElideNone);
        view.dock->setWidget(tabs);
        host_.addDockWidget(Qt::LeftDockWidgetArea, view.dock);
        view.dock->installEventFilter(this);
        connect(tabs, &QTabWidget::currentChanged, this, [this, &band](int index) {
            if (!syncing_) {
                model_.ChangeChildBand(band, index);
            }
        });
        view.widget = tabs;
        break;
    }
    case cBarBandType::Toolbar: {
        auto* tb = new QToolBar(caption, &host_);
        tb->setObjectName(ToQString(band.Name()));
        host_.addToolBar(Qt::TopToolBarArea, tb);
        view.widget = tb;
        break;
    }
    }
}

void cBarWidget::SyncBand(cBarBand& band)
{
    BandView& view = ViewOf(band);
    const QString caption = ToQString(band.Caption());
    if (band.Parent() != nullptr) {
        SyncTabs(*band.Parent());
        return;
    }
    if (auto* menu = qobject_cast<QMenu*>(view.widget)) {
        // A menu opened by a tool (a menu bar entry) shows that tool's caption: the tool's
        // action stands for the menu, so the band's title must not overwrite it.
        if (toolOf_.count(menu->menuAction()) == 0) {
            menu->setTitle(caption);
        }
        return; // a menu shows when opened
    }
    if (band.ChildBandCount() > 0) {
        SyncTabs(band);
    }
    QWidget* shown = view.dock != nullptr ? static_cast<QWidget*>(view.dock) : view.widget;
    shown->setWindowTitle(caption);
    shown->setVisible(band.Visible());
    if (view.dock != nullptr && band.Width() > 0 && !syncing_) {
        syncing_ = true;
        host_.resizeDocks({view.dock}, {TwipsToPixels(band.Width())}, Qt::Horizontal);
        syncing_ = false;
    }
}

void cBarWidget::SyncTabs(cBarBand& band)
{
    auto* tabs = qobject_cast<QTabWidget*>(ViewOf(band).widget);
    if (tabs == nullptr) {
        return;
    }
    const bool wasSyncing = syncing_;
    syncing_ = true;
    for (int i = 0; i < band.ChildBandCount(); ++i) {
        cBarBand& child = band.ChildBand(i);
        QWidget* page = ViewOf(child).page;
        if (tabs->indexOf(page) < 0) {
            tabs->insertTab(i, page, QString());
        }
        const int at = tabs->indexOf(page);
        tabs->setTabText(at, ToQString(child.Caption()));
        tabs->setTabVisible(at, child.Visible());
    }
    if (band.ActiveChildBand() >= 0) {
        tabs->setCurrentIndex(band.ActiveChildBand());
    }
    syncing_ = wasSyncing;
}

// ---- tools ----

void cBarWidget::DropTools(BandView& view)
{
    for (const cBarTool* t : view.tools) {
        const auto it = tools_.find(t);
        if (it == tools_.end()) {
            continue;
        }
        if (menuHover_ == t) {
            menuHover_ = nullptr;
        }
        ToolView& tv = it->second;
        toolOf_.erase(tv.action);
        toolOf_.erase(tv.widget);
        if (tv.action != nullptr) {
            view.widget->removeAction(tv.action);
            tv.action->deleteLater();
        } else if (tv.widget != nullptr) {
            if (auto* sb = qobject_cast<QStatusBar*>(view.widget)) {
                sb->removeWidget(tv.widget);
            }
            tv.widget->deleteLater();
        }
        tools_.erase(it);
    }
    view.tools.clear();
}

void cBarWidget::FillBand(cBarBand& band)
{
    BandView& view = ViewOf(band);
    DropTools(view);
    if (band.Type() == cBarBandType::ChildBands && band.Parent() == nullptr) {
        return; // the tools live in the child bands
    }
    for (int i = 0; i < band.ToolCount(); ++i) {
        AddTool(band, view, band.Tool(i));
    }
}

void cBarWidget::AddTool(cBarBand& band, BandView& view, cBarTool& tool)
{
    ToolView tv;
    tv.tool = &tool;
    if (auto* sb = qobject_cast<QStatusBar*>(view.widget)) {
        if (tool.ControlType() == cBarToolType::Separator) {
            return;
        }
        auto* label = new QLabel(sb);
        label->setFrameShape(QFrame::StyledPanel);
        sb->addWidget(label, tool.Width() > 0 ? 0 : 1);
        tv.widget = label;
    } else if (tool.ControlType() == cBarToolType::Combo) {
        auto* wa = new QWidgetAction(view.widget);
        tv.widget = MakeCombo();
        wa->setDefaultWidget(tv.widget);
        tv.action = wa;
        view.widget->addAction(wa);
    } else {
        tv.action = MakeAction(band, tool);
        view.widget->addAction(tv.action);
        if (auto* tb = qobject_cast<QToolBar*>(view.widget)) {
            tv.widget = tb->widgetForAction(tv.action);
            if (tv.widget != nullptr) {
                tv.widget->installEventFilter(this);
            }
        }
    }
    if (tv.action != nullptr) {
        toolOf_[tv.action] = &tool;
    }
    if (tv.widget != nullptr) {
        toolOf_[tv.widget] = &tool;
    }
    view.tools.push_back(&tool);
    SyncTool(tools_[&tool] = tv);
}

QAction* cBarWidget::MakeAction(cBarBand& band, cBarTool& tool)
{
    auto* a = new QAction(ViewOf(band).widget);
    if (tool.ControlType() == cBarToolType::Separator) {
        a->setSeparator(true);
        return a;
    }
    connect(a, &QAction::triggered, this, [this, a] { OnTriggered(a); });
    return a;
}

QWidget* cBarWidget::MakeCombo()
{
    // A list to pick from: it takes no typed text, so the editing keys it is given (Delete,
    // Ctrl+Z, Shift+Insert, ...) stay the menus' shortcuts.
    auto* combo = new QComboBox;
    combo->setEditable(false);
    connect(combo, &QComboBox::activated, this, [this, combo](int index) {
        const auto it = toolOf_.find(combo);
        if (it != toolOf_.end() && !syncing_) {
            model_.ChooseComboEntry(*it->second, index);
        }
    });
    return combo;
}

void cBarWidget::SyncTool(ToolView& tv)
{
    const cBarTool& tool = *tv.tool;
    if (auto* label = qobject_cast<QLabel*>(tv.widget)) {
        label->setText(ToQString(tool.Caption()));
        label->setToolTip(ToQString(tool.ToolTipText()));
        label->setEnabled(tool.Enabled());
        label->setVisible(tool.Visible());
        // A panel's width is its least: a longer text widens it (taken from the panel that
        // stretches), so that the text is never cut.
        if (tool.Width() > 0) {
            label->setMinimumWidth(TwipsToPixels(tool.Width()));
        }
        return;
    }
    if (tool.ControlType() == cBarToolType::Combo) {
        SyncCombo(tv);
    } else {
        SyncAction(tv);
    }
    if (tv.action != nullptr) {
        tv.action->setVisible(tool.Visible());
        tv.action->setEnabled(tool.Enabled());
    }
}

void cBarWidget::SyncAction(ToolView& tv)
{
    const cBarTool& tool = *tv.tool;
    QAction* a = tv.action;
    if (a == nullptr || a->isSeparator()) {
        return;
    }
    const QString caption = ToQString(tool.Caption());
    const cBarBand& band = tool.Band();
    QString text = caption;
    if (band.Type() == cBarBandType::Popup && !tool.ShortcutKey(0).empty()) {
        text += "\t" + KeyOf(tool.ShortcutKey(0)).toString(QKeySequence::NativeText);
    }
    a->setText(text);
    a->setIconText(QString(caption).remove('&'));
    a->setToolTip(ToQString(tool.ToolTipText()));
    a->setCheckable(tool.Checked());
    a->setChecked(tool.Checked());
    const std::string key = IconKey(tool);
    if (key != tv.iconKey) {
        tv.iconKey = key;
        a->setIcon(MakeIcon(tool));
    }
    if (cBarBand* sub = tool.SubBand().empty() ? nullptr : model_.FindBand(tool.SubBand())) {
        auto it = bands_.find(sub);
        a->setMenu(it == bands_.end() ? nullptr : qobject_cast<QMenu*>(it->second.widget));
    }
    if (auto* button = qobject_cast<QToolButton*>(tv.widget)) {
        const bool picture = !a->icon().isNull();
        button->setToolButtonStyle(tool.Style() == 1   ? Qt::ToolButtonTextOnly
                                   : tool.Style() == 2 ? Qt::ToolButtonIconOnly
                                   : picture           ? Qt::ToolButtonIconOnly
                                                       : Qt::ToolButtonTextOnly);
        if (tool.Width() > 0) {
            button->setFixedWidth(TwipsToPixels(tool.Width()));
        }
    }
}

void cBarWidget::SyncCombo(ToolView& tv)
{
    const cBarTool& tool = *tv.tool;
    auto* combo = qobject_cast<QComboBox*>(tv.widget);
    if (combo == nullptr) {
        return;
    }
    const bool wasSyncing = syncing_;
    syncing_ = true;
    combo->blockSignals(true);
    combo->clear();
    for (int i = 0; i < tool.ListCount(); ++i) {
        combo->addItem(ToQString(tool.List(i)));
    }
    combo->setCurrentIndex(tool.ListIndex());
    combo->blockSignals(false);
    combo->setToolTip(ToQString(tool.ToolTipText()));
    combo->setEnabled(tool.Enabled());
    if (tool.Width() > 0) {
        combo->setFixedWidth(TwipsToPixels(tool.Width()));
    }
    syncing_ = wasSyncing;
}

void cBarWidget::ResyncSubMenus()
{
    for (auto& [tool, tv] : tools_) {
        if (!tool->SubBand().empty()) {
            SyncAction(tv);
        }
    }
}

void cBarWidget::SyncShortcuts()
{
    const std::vector<std::string> keys = model_.ShortcutKeys();
    for (auto it = shortcuts_.begin(); it != shortcuts_.end();) {
        if (std::find(keys.begin(), keys.end(), it->first) == keys.end()) {
            delete it->second.data();
            it = shortcuts_.erase(it);
        } else {
            ++it;
        }
    }
    for (const std::string& key : keys) {
        if (shortcuts_.count(key) != 0) {
            continue;
        }
        auto* sc = new QShortcut(KeyOf(key), &host_);
        sc->setContext(Qt::WindowShortcut);
        connect(sc, &QShortcut::activated, this, [this, key] { model_.PressShortcut(key); });
        shortcuts_[key] = sc;
    }
}

// ---- user actions ----

void cBarWidget::OnTriggered(QAction* action)
{
    const auto it = toolOf_.find(action);
    if (it == toolOf_.end()) {
        return;
    }
    model_.ClickTool(*it->second);
    // Qt toggles a checkable action by itself; the model decides the checked state.
    const auto again = toolOf_.find(action);
    if (again != toolOf_.end()) {
        action->setChecked(again->second->Checked());
    }
}

void cBarWidget::OnMenuHover(QAction* action)
{
    const auto it = toolOf_.find(action);
    cBarTool* tool = it == toolOf_.end() ? nullptr : it->second;
    if (tool == menuHover_) {
        return;
    }
    LeaveMenuHover();
    menuHover_ = tool;
    if (tool != nullptr) {
        model_.EnterTool(*tool);
    }
}

void cBarWidget::LeaveMenuHover()
{
    if (cBarTool* t = menuHover_) {
        menuHover_ = nullptr;
        model_.LeaveTool(*t);
    }
}

void cBarWidget::ReportClientArea()
{
    const QRect r = client_->geometry();
    model_.Resized({cQtConvert::PixelsToTwips(r.left()), cQtConvert::PixelsToTwips(r.top()),
                    cQtConvert::PixelsToTwips(r.width()), cQtConvert::PixelsToTwips(r.height())});
}

bool cBarWidget::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == client_) {
        if (type == QEvent::Resize || type == QEvent::Move) {
            ReportClientArea();
        }
        return false;
    }
    if (type == QEvent::Enter || type == QEvent::Leave) {
        const auto it = toolOf_.find(watched);
        if (it != toolOf_.end()) {
            if (type == QEvent::Enter) {
                model_.EnterTool(*it->second);
            } else {
                model_.LeaveTool(*it->second);
            }
        }
        return false;
    }
    if (type == QEvent::Resize && !syncing_ && host_.isVisible()) {
        for (auto& [band, view] : bands_) {
            if (view.dock == watched) {
                syncing_ = true;
                const_cast<cBarBand*>(band)->Width(cQtConvert::PixelsToTwips(view.dock->width()));
                syncing_ = false;
            }
        }
    }
    return false;
}
