// cBarWidget: shows a cBarModel in a main window with Qt widgets (menu bar, menus, toolbars,
// status bar, a docked tabbed bar for the band with child bands) and keeps them in step with
// the model; clicks, pointer moves, combo choices, menu openings, tab changes, shortcut keys
// and size changes go back to the model, which raises its events.
#pragma once

#include "platform/cBarModel.h"

#include <QObject>
#include <QPointer>

#include <map>
#include <string>
#include <vector>

class QAction;
class QDockWidget;
class QMainWindow;
class QMenu;
class QShortcut;
class QTabWidget;
class QWidget;

class cBarWidget : public QObject, private cBarObserver {
    Q_OBJECT
  public:
    // Shows the model's bands in the host window; the binding is the model's observer while
    // it lives. The host gets a central widget when it has none: the free client area.
    cBarWidget(cBarModel& model, QMainWindow& host);
    ~cBarWidget() override;
    cBarWidget(const cBarWidget&) = delete;
    cBarWidget& operator=(const cBarWidget&) = delete;

    // The widget that shows a band: QMenuBar, QMenu, QToolBar, QStatusBar, or the QTabWidget
    // of a band with child bands (a child band gives the QToolBar its tab page scrolls, so
    // that every tool stays a button however many there are); null when none.
    QWidget* BandWidget(const cBarBand& band);
    // The action of a menu entry or toolbar tool; null for other tools.
    QAction* ToolAction(const cBarTool& tool);
    // The widget of a tool: its combo box, its status panel label or its toolbar button;
    // null when it has none.
    QWidget* ToolWidget(const cBarTool& tool);
    // Shows at once the tools of every band whose tools changed (otherwise done on the next
    // turn of the event loop, or by a band refresh or a layout of all bands).
    void Flush();
    // The free area of the window the docked bands leave (the host's central widget).
    QWidget* ClientWidget() const;

  protected:
    // Pointer entering and leaving toolbar buttons; size changes of the client area and of
    // the docked bar.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct ToolView {
        cBarTool* tool = nullptr;
        QAction* action = nullptr;
        QWidget* widget = nullptr; // combo box, status label or toolbar button
        std::string iconKey;       // the pictures the icon was made from
    };
    struct BandView {
        QWidget* widget = nullptr;   // what shows the band
        QDockWidget* dock = nullptr; // the dock of a band with child bands
        QWidget* page = nullptr;     // the tab page of a child band: its toolbar, scrolled
        std::vector<const cBarTool*> tools;
    };

    // cBarObserver
    void ToolChanged(cBarTool& tool) override;
    void BandChanged(cBarBand& band) override;
    void BandToolsChanged(cBarBand& band) override;
    void BandRefresh(cBarBand& band) override;
    void BandPopup(cBarBand& band) override;
    void LayoutAll() override;

    void ShowAnew(cBarBand& band);
    BandView& ViewOf(cBarBand& band);
    void CreateBandWidget(cBarBand& band, BandView& view);
    void FillBand(cBarBand& band);
    void DropTools(BandView& view);
    void AddTool(cBarBand& band, BandView& view, cBarTool& tool);
    QAction* MakeAction(cBarBand& band, cBarTool& tool);
    QWidget* MakeCombo();
    void SyncTool(ToolView& tv);
    void SyncAction(ToolView& tv);
    void SyncCombo(ToolView& tv);
    void SyncTabs(cBarBand& band);
    void SyncBand(cBarBand& band);
    void SyncShortcuts();
    void ResyncSubMenus();
    void OnTriggered(QAction* action);
    void OnMenuHover(QAction* action);
    void LeaveMenuHover();
    void ReportClientArea();

    cBarModel& model_;
    QMainWindow& host_;
    QWidget* client_ = nullptr;
    std::map<const cBarBand*, BandView> bands_;
    std::map<const cBarTool*, ToolView> tools_;
    std::map<const QObject*, cBarTool*> toolOf_; // actions, buttons and combos to their tool
    std::map<const QObject*, cBarBand*> bandOf_; // menus, tab widgets and docks to their band
    std::map<std::string, QPointer<QShortcut>> shortcuts_;
    std::vector<cBarBand*> pending_; // bands whose tools are to be shown anew
    bool flushQueued_ = false;
    cBarTool* menuHover_ = nullptr;
    bool syncing_ = false;
};
