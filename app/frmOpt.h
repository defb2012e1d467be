// frmOpt: the options dialog, opened modally by the Tools menu. It edits the colours of the
// canvas, the pieces and the eight lanes, the lane line width and the grid's spacing and style;
// apply puts them in force, OK also saves them, and the dialog remembers where it stood.
#pragma once

#include <QDialog>

#include <array>
#include <cstdint>

class QComboBox;
class QFrame;
class QLineEdit;
class QScrollBar;

class frmOpt : public QDialog {
    Q_OBJECT
  public:
    // The settings section of the dialog's place and size.
    static constexpr const char* kLayoutSection = "frmOpt\\layout";
    // The design width and height in twips.
    static constexpr int kDesignWidth = 7200;
    static constexpr int kDesignHeight = 6000;
    // The range of the grid width scroll bar, in millimetres.
    static constexpr int kGridWidthMin = 50;
    static constexpr int kGridWidthMax = 1000;

    // The dialog with its controls as designed; neither loaded nor shown.
    explicit frmOpt(QWidget* parent = nullptr);

    // Captions the dialog, puts it where it stood last and shows the current options.
    void Form_Load();
    // Saves the dialog's place and size.
    void Form_Unload();
    // The buttons: 0 OK, 1 apply, 10 default colours, 99 cancel.
    void cmd_Click(int index);
    // Shows the grid width scroll bar's value in its text box.
    void hscGridWidth_Change();
    // The colour pickers: the background, the pieces (0 to 4) and the lanes (1 to 8).
    void picBack_Click();
    void picTrack_Click(int index);
    void picLane_Click(int index);

    // The colour value a picker holds (system colours kept as such).
    std::int32_t PickerColor(const QFrame& picker) const;

  protected:
    // Closing the window or Escape answers as cancel does.
    void reject() override;
    // Clicks on the colour pickers.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The pickers in one array: the background, the five piece colours, the eight lanes.
    static constexpr int kTrackPickers = 5;
    static constexpr int kLanePickers = 8;
    static constexpr int kPickers = 1 + kTrackPickers + kLanePickers;
    static constexpr int kFirstTrack = 1;
    static constexpr int kFirstLane = kFirstTrack + kTrackPickers;

    void BuildControls();
    QWidget* BuildColours();
    QWidget* BuildGrid();
    QWidget* BuildButtons();
    void Translate();
    void RestoreLayout();
    void ShowValues();
    void ApplyValues();
    void ShowColor(int picker, std::int32_t value);
    void Pick(int picker);

    std::array<QFrame*, kPickers> pickers_{};
    std::array<std::int32_t, kPickers> colors_{};
    QComboBox* cboLane_ = nullptr;
    QComboBox* cboGridStyle_ = nullptr;
    QScrollBar* hscGridWidth_ = nullptr;
    QLineEdit* txtGridWidth_ = nullptr;
};

namespace zvLib {

// Opens the options dialog modally and unloads it when it closes.
void ShowOptions();

} // namespace zvLib
