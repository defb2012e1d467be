// frmMain: the program's main window. Its toolbar and menu control abr carries the menu bar,
// the menus, the standard toolbar, the status bar, the item bar, the canvas context menu and
// the view-mode bar; below it lie the canvas pic with its scroll bars and corner button, and
// the page container pag for the embedded report and piece editor windows.
#pragma once

#include "platform/cBarModel.h"
#include "platform/cPictureBox.h"
#include "platform/cScrollBar.h"

#include <QMainWindow>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class cBarWidget;
class zvItem;
class zvItemBar;
class zvOptionsHost;
class zvUI;

class frmMain : public QMainWindow {
    Q_OBJECT
  public:
    // The settings section of the window's place and size when it is not maximised.
    static constexpr const char* kLayoutSection = "frmMain\\Layout";

    // The window with its bands and controls as designed; not shown, not yet prepared.
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    // The toolbar and menu control.
    cBarModel abr;
    // The canvas: a picture box keeping its drawing, whose user scale is the visible part of
    // the world (mm, y up); its surface is zvLib::MainPic.
    cPictureBox* pic = nullptr;
    // The container of the embedded report and piece editor windows.
    QWidget* pag = nullptr;
    // The scroll bars of the canvas.
    cScrollBar* hsc = nullptr;
    cScrollBar* vsc = nullptr;
    // The square button in the corner between the scroll bars.
    QPushButton* cmd = nullptr;
    // The distance label of the ruler tool.
    QLabel* lblMeasure = nullptr;
    // True while the item bar's "draw" tab is the one shown.
    bool CurrentLayer = false;

    // The Qt widgets that show abr.
    cBarWidget& abrView() { return *abrView_; }

    // Lays the canvas, scroll bars, corner button and page container out over the client
    // area; a client area below 2000 twips in either direction is left alone. (It hides
    // QWidget::repaint, which the window never needs called by name.)
    void repaint();
    // Sets the interface mode, compared in upper case: "NEW" before the first circuit,
    // "DESIGN" afterwards; any other mode changes nothing.
    void setMode(const std::string& mode);
    // Prepares the toolbar control once, before the first mode is set and the window shown:
    // the set chooser, the captions, the development tools, the bands shown.
    void setUI();
    // Gives the window, before it is shown, its place and size for when it is not maximised:
    // the ones saved when it was last unloaded, else three quarters of the work area in its
    // middle; never smaller than the window's smallest usable size.
    void RestoreLayout();
    // Gives the window, before it is shown, the size asked for in pixels (the command line's),
    // kept within the work area as the restored layout is and never smaller than the window's
    // smallest usable size; its place is left as it is.
    void SizeWithin(int width, int height);
    // Once shown, keeps the window with its frame on the work area: when the window manager's
    // frame made it larger than the work area, the window gives up the frame's size and is
    // moved onto the work area.
    void KeepFrameOnWorkArea();
    // Saves the window's place and size when it is not maximised, once it has been shown.
    void SaveLayout();

    // A tool was clicked: its category, a dot and its name (a snippet tool's tag) go to the
    // dispatcher, every dot of the name or tag as character 1.
    void abr_ToolClick(cBarTool& tool);
    // The pointer entered a piece or snippet tool: its preview is asked for.
    void abr_ToolHoverEnter(cBarTool& tool);
    // The pointer left a piece or snippet tool: the preview is taken away.
    void abr_ToolHoverLeave(cBarTool& tool);
    // Another tab of the item bar was chosen: CurrentLayer says whether it is "draw".
    void abr_ChildBandChange(cBarBand& band, cBarBand& child);
    // The toolbar control changed size: the client area is laid out again.
    void abr_Resize();
    // A band is opening: the File menu shows the recent files.
    void abr_BandOpen(cBarBand& band);
    // An entry of the set chooser was chosen: that set is loaded into the item bar.
    void abr_ComboSelChange(cBarTool& tool);
    // The user changed a tool's text: with a background drawing, a number becomes its scale
    // factor (the set chooser's text never does; a text that is no number is refused).
    void abr_ToolTextChange(cBarTool& tool);
    // Files were dropped on the window or the canvas: the first one is opened as the File
    // menu's open does, the save prompt first (Cancel keeps the circuit).
    void Form_OLEDragDrop(const std::vector<std::string>& files);
    // The window is closing: cancel is set when the program is to go on.
    void Form_Unload(bool& cancel);
    // The window changed size after it was first shown: the view is fitted again, as the
    // program's own fit, which records no undo state. (The window's paint never fits: a fit
    // redraws, which would paint again.)
    void Form_Resize();
    // The canvas alone changed size: the circuit is redrawn at the same centre and width.
    void pic_Resize();
    // The corner button between the scroll bars: the view is fitted to the circuit; in
    // development mode the canvas test window is shown too (modeless).
    void cmd_Click();
    // The user moved the horizontal bar: the view is centred on its value, keeping the
    // present vertical centre, and redrawn; nothing without a circuit.
    void hsc_Change();
    // The user moved the vertical bar: the view is centred on its value, keeping the present
    // horizontal centre, and redrawn; nothing without a circuit.
    void vsc_Change();
    // A wheel notch: direction -1 zooms out, any other zooms in; only while the canvas is
    // shown (not under the report or editor page). The canvas test window (loaded hidden when
    // it is not) zooms along while it is visible.
    void mwh_MouseWheel(int direction);

    // The canvas's mouse events: the button (1 left, 2 right), the keys held (1 Shift, 2 Ctrl,
    // 4 Alt) and the pointer in world mm. A press of the left button starts the ruler (while
    // it is the tool, in development mode) or the zoom window.
    void pic_MouseDown(int button, int shift, double x, double y);
    // Drags the tool of the left button, shows the pointer's position and names the piece
    // under it in the status bar (the last name stays while no piece is under it).
    void pic_MouseMove(int button, int shift, double x, double y);
    // Ends the drag of the left button, a release without a zoom being a click; a right click
    // selects and opens the piece menu while the current track has a selection.
    void pic_MouseUp(int button, int shift, double x, double y);
    // Applies a click at world (x, y): the selection rules of plain, Shift, Ctrl and right
    // clicks, the selection named in the status bar, the circuit redrawn. Nothing while the
    // layer flag is set or without a circuit.
    void utlClick(int button, int shift, double x, double y, bool layerFlag);

    // Presses or releases a view toggle of the standard toolbar (the options loaded).
    void ToolPressed(const std::string& tool, bool pressed);
    // The item bar's width in twips (saved with the options).
    std::int32_t ItemBarWidth() const;
    // The canvas colour (the options loaded).
    void CanvasBackColor(std::int32_t color);

  protected:
    // Asks the program to end (Form_Unload) and closes only when it agrees.
    void closeEvent(QCloseEvent* event) override;
    // Files dragged over the window are welcome; a drop hands them to Form_OLEDragDrop.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // The first show fits the view to the circuit.
    void showEvent(QShowEvent* event) override;
    // A real change of the window's size runs Form_Resize.
    void resizeEvent(QResizeEvent* event) override;

  private:
    void BuildBands();
    // The size kept within the area's size and no smaller than the window's smallest usable
    // size, the bands laid out as they will be shown.
    QSize FitToArea(QSize wanted, QSize area);
    // Fits the view to the circuit without recording an undo state.
    static void FitView();
    void BuildControls();
    // Draws the pictures of the toolbar tools into the folder and gives them to the tools.
    void DrawToolPictures(const std::string& folder);
    // Enables or disables the tools of a band: "*" for all, else names separated by ";".
    void EnableTools(const std::string& band, const std::string& tools, bool enabled);
    // Connects the canvas, the scroll bars and the corner button to their event procedures and
    // makes them the surfaces and bars the view works on.
    void InstallCanvas();
    // True while the left button belongs to the ruler rather than the zoom window.
    static bool RulerActive();
    // Selects the pieces of the hit piece's track from the anchor's key number to the hit's.
    void SelectRange(const std::shared_ptr<zvItem>& hit);
    // Names the current track's selection in the status bar after a click.
    void ShowSelection();
    // Hands a command of the window's own to the dispatcher.
    static void Send(const char* command);

    cBarWidget* abrView_ = nullptr;
    std::unique_ptr<zvOptionsHost> optionsHost_; // installed while the window lives
    std::shared_ptr<zvItemBar> itemBar_;         // installed while the window lives
    std::shared_ptr<zvUI> ui_;                   // the model's user interface, when ours
    bool shown_ = false;                         // the window has been shown once
    // The piece that last became selected by a plain, Ctrl or right click; kept when the
    // selection is cleared or another circuit is loaded.
    std::shared_ptr<zvItem> SelectionAnchor;
};
