// frmDXF: the background drawing's placement dialog, a development aid. Two scroll bars move
// the drawing on the canvas, a text box takes its scale factor on Enter; OK keeps what was
// done, cancel or the window frame puts the placement back as it was when the dialog opened.
#pragma once

#include <QDialog>

#include <memory>

class QLineEdit;
class QPushButton;
class cScrollBar;

class frmDXF : public QDialog {
    Q_OBJECT
  public:
    // The span of both offset bars, in circuit units.
    static constexpr int kOffsetMin = -16000;
    static constexpr int kOffsetMax = 16000;
    // The key code of Enter.
    static constexpr int kKeyEnter = 13;

    // The dialog with its controls as designed; neither loaded nor shown.
    explicit frmDXF(QWidget* parent = nullptr);

    // Shows the placement of the background drawing on the bars and in the text boxes and
    // remembers it for cancel.
    void Form_Load();
    // The offset bars: put their values in force.
    void scrX_Change();
    void scrY_Change();
    // The scale bar only shows the scale factor; moving it does nothing.
    void scrScale_Change();
    // Enter in the scale text box puts the typed scale factor in force.
    void txtScale_KeyDown(int keyCode);
    // The offsets from the bars in force, the circuit redrawn, the text boxes updated.
    void ApplyPlacement();

  protected:
    // Closing the window or Escape answers as cancel does.
    void reject() override;
    // Enter in the scale text box.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ShowTexts();
    static void Redraw();

    cScrollBar* scrScale_ = nullptr;
    cScrollBar* scrX_ = nullptr;
    cScrollBar* scrY_ = nullptr;
    QLineEdit* txtScale_ = nullptr;
    QLineEdit* txtOffset_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    bool loading_ = false;
    // The placement the dialog opened with (scale factor, offsets), put back by cancel.
    struct Placement;
    std::shared_ptr<Placement> saved_;
};

namespace zvLib {

// Opens the placement dialog modally on the background drawing (telling first what went wrong
// while it was read, unless that was told already) and unloads it when it closes;
// nothing outside development mode or while there is no background drawing.
void ShowDXFPlacement();

} // namespace zvLib
