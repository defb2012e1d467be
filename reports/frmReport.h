// frmReport: the report view of the current circuit: its name and description (editable), the
// sets, scale, average length and required room, the lanes grid, and the bill of materials
// set against the user's stock, whose stock counts the user edits and the user file keeps.
#pragma once

#include "platform/cGridModel.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class QLabel;
class cGridWidget;

class frmReport : public QWidget {
    Q_OBJECT
  public:
    // The indexes of the text boxes: name, description, sets, scale, average length, size.
    static constexpr int kName = 0;
    static constexpr int kDescription = 1;
    static constexpr int kSets = 2;
    static constexpr int kScale = 3;
    static constexpr int kLength = 4;
    static constexpr int kRoom = 5;
    // The system colours of an active title bar and of its text, for the grids' caption bars.
    static constexpr std::int32_t kCaptionBack = static_cast<std::int32_t>(0x80000002u);
    static constexpr std::int32_t kCaptionText = static_cast<std::int32_t>(0x80000009u);
    // The text colour of a shortage in the bill of materials (pure red).
    static constexpr std::int32_t kWarnColor = 255;

    // The window with its controls as designed; neither loaded nor shown.
    explicit frmReport(QWidget* parent = nullptr);
    ~frmReport() override;
    frmReport(const frmReport&) = delete;
    frmReport& operator=(const frmReport&) = delete;

    // The grid used for its caption bar over the circuit's boxes.
    cGridModel grdFake;
    // The lanes: lane, length, full-scale length (end gaps and heading hidden).
    cGridModel grdLanes;
    // The bill of materials against the stock: Set, Reference, Desc, Qty, Stock, Delta, fill.
    cGridModel grdBOM;

    // The Qt widget that shows a grid.
    cGridWidget& grdFakeView() { return *views_[0]; }
    cGridWidget& grdLanesView() { return *views_[1]; }
    cGridWidget& grdBOMView() { return *views_[2]; }

    // The text of a box (kName to kRoom); the description breaks its lines with CR LF, as the
    // program's texts do, though the box shows them as plain line breaks.
    std::string Text(int index) const;
    // Sets the text of a box.
    void Text(int index, const std::string& text);
    // A box (kName to kRoom) and a label (0 to 5) as Qt widgets.
    QWidget* txt(int index) const;
    QLabel* lbl(int index) const;

    // Captions the window and fills it from the current circuit.
    void Form_Load();
    // Lays the grids out over the window's size.
    void Form_Resize();
    // Builds the stock table for the circuit's sets, puts the used counts in and loads it into
    // the bill-of-materials grid, then recalculates.
    void grdBomLoad();
    // Makes every Qty and Stock cell a whole number, works out Delta and writes every row's
    // stock to the user file; false when the user file could not be written (the grid keeps
    // the counts all the same).
    bool grdBomRecalc();
    // The user is committing a stock count: a count beyond the 32-bit range is refused with a
    // message, and the cell keeps the count it had.
    bool grdBOM_ValidateEdit(int row, int column, const std::string& text);
    // The user changed a cell of the bill of materials: a count that cannot be written to
    // the user file is said, and stays in the grid as typed.
    void grdBOM_AfterEdit(int row, int column);
    // The name or description typed here: the circuit takes it as it changes.
    void txt_Change(int index);
    // Ends an edit of the name or description: one undo state is recorded when the circuit
    // differs from its current state (so the change counts for the save prompt). Run when a
    // box is left, when the window is unloaded and before a save or the save prompt.
    void CommitTexts();

  protected:
    // Every change of size runs Form_Resize.
    void resizeEvent(QResizeEvent* event) override;
    // Leaving the description box ends its edit.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // A table (row first, as zvTextTable) as a grid loads it: one array per field, each
    // holding the rows.
    static cGridArray FieldsByRow(const std::vector<std::array<std::string, 6>>& table);
    void BuildControls();
    void BuildGrids();
    void Translate();
    // Widens each caption that its text would overflow, towards its box.
    void FitLabels();
    void FillBoxes();
    void FillLanes();

    std::array<QLabel*, 6> lbl_{};
    std::array<QWidget*, 6> txt_{};
    std::array<cGridWidget*, 3> views_{};
    bool filling_ = false; // the program, not the user, is setting a box's text
};

namespace zvLib {

// The loaded report window, loaded (hidden) when it is not.
frmReport& ReportWindow();

// The whole number at the start of a text (blanks before it and a sign allowed, a fraction
// rounded halves to even); 0 when the text does not begin with a number or the number lies
// beyond 32 bits.
std::int32_t LeadingCount(const std::string& text);

// False when the text begins with a number that lies beyond 32 bits once rounded; true for any
// other text (one without a leading number counts as 0).
bool LeadingCountFits(const std::string& text);

} // namespace zvLib
