// frmTest: the developer's test bench for the drawing canvas: a picture box with a canvas bound
// to it, buttons that move and zoom the view, options that pick the canvas's tool and a box
// showing the mouse position. Shown from the main window in development mode only.
#pragma once

// moc cannot read some standard headers the canvas uses, and needs nothing of it.
#ifndef Q_MOC_RUN
#include "app/core/cCanvas.h"
#endif

#include <QWidget>

#include <array>
#include <string>

class QLineEdit;
class QPushButton;
class QRadioButton;
class cPictureBox;

class frmTest : public QWidget {
    Q_OBJECT
  public:
    // Move and zoom amounts of the buttons.
    static constexpr int kMoveStep = 100;
    static constexpr double kZoomFactor = 1.2;
    // The client size below which a resize leaves the controls where they are, in twips.
    static constexpr int kMinLayoutTwips = 4000;

    // The window with its controls at their design places; not loaded, not shown.
    explicit frmTest(QWidget* owner = nullptr);
    ~frmTest() override;
    frmTest(const frmTest&) = delete;
    frmTest& operator=(const frmTest&) = delete;

    // The canvas, bound to pic once the window is loaded.
    cCanvas cnv;
    // The mouse position text.
    QLineEdit* txtXY = nullptr;
    // "<", ">", "^", "v", "+", "-".
    std::array<QPushButton*, 6> cmd{};
    // "View", "Line", "Point", "Meas" by index.
    std::array<QRadioButton*, 4> opt{};
    // The canvas's surface.
    cPictureBox* pic = nullptr;
    // An input line with no behaviour of its own.
    QLineEdit* txtInput = nullptr;

    // Binds the canvas, sets its colours and label font and draws the first view.
    void Form_Load();
    // Places pic and txtInput by the client size (only from 4000 by 4000 twips).
    void Form_Resize();
    // Moves (0 to 3) or zooms (4, 5) the view.
    void cmd_Click(int index);
    // Sets the canvas's tool: "measure" for option 3 when it is selected, none otherwise.
    void opt_Click(int index);
    // Shows the canvas's mouse position text.
    void cnv_MousePosition(cFixed x, cFixed y, const std::string& text);
    // A change of tool: nothing to do.
    void cnv_ActionChange(const std::string& previous, const std::string& next);

  protected:
    // Every change of size runs Form_Resize.
    void resizeEvent(QResizeEvent* event) override;
    // Key releases over the picture reach the canvas.
    bool eventFilter(QObject* watched, QEvent* event) override;
};

namespace zvLib {

// The loaded canvas test window, loaded (hidden) when it is not.
frmTest& TestWindow();

} // namespace zvLib
