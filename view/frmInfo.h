// frmInfo: the small floating window that lists the lanes of the current circuit (number,
// length, scale length, end gaps and change of heading) in one grid. It restores its place,
// size and column widths from the settings file when it loads and saves them when it unloads.
#pragma once

#include "platform/cGridModel.h"

#include <QWidget>

#include <string>

class cGridWidget;
class frmMain;

class frmInfo : public QWidget {
    Q_OBJECT
  public:
    // The settings section of the window's layout.
    static constexpr const char* kLayoutSection = "frmInfo\\Layout";
    // The design width and height, the narrowest width and the tallest height, in twips.
    static constexpr int kDesignWidth = 6000;
    static constexpr int kDesignHeight = 3000;
    static constexpr int kMinWidth = 3495;
    static constexpr int kMaxHeight = 2700;

    // The window with its grid as designed, owned by the main window when there is one; it
    // is neither loaded nor shown.
    explicit frmInfo(QWidget* owner = nullptr);
    ~frmInfo() override;
    frmInfo(const frmInfo&) = delete;
    frmInfo& operator=(const frmInfo&) = delete;

    // The lanes grid: columns "Lane", "Len1", "Len2", "Field3", "Field4", "Field5".
    cGridModel grd;
    // The Qt widget that shows grd.
    cGridWidget& grdView() { return *grdView_; }

    // Captions the window, restores its layout and fills the grid from the circuit.
    void Form_Load();
    // Keeps the size within its limits and fits the grid to the window.
    void Form_Resize();
    // Saves the layout and releases the toolbar's info tool.
    void Form_Unload();

    // The window's place and size in twips.
    int TopTwips() const;
    int LeftTwips() const;
    int WidthTwips() const;
    int HeightTwips() const;
    // The column widths as saved: each width in twips followed by ";".
    std::string ColumnWidths();
    // Applies saved column widths; entries that are empty, not numbers, or beyond the last
    // column are passed over.
    void ColumnWidths(const std::string& text);

  protected:
    // Every change of size runs Form_Resize.
    void resizeEvent(QResizeEvent* event) override;
    // The close box unloads the window.
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildGrid();
    // Captions from the language table.
    void Translate();
    void RestoreLayout();
    // The width, in twips, that shows every column of the grid whole, the grid shown anew.
    int GridWidthTwips();
    // The width, in pixels, that shows every column of the grid as it is shown now.
    int GridWidthPixels() const;
    // A window of the default width grows, within the screen, to show columns that have grown.
    void FitDefaultWidth();

    cGridWidget* grdView_ = nullptr;
    bool defaultWidth_ = false; // no width was saved: the window follows its columns
    bool fitQueued_ = false;
};

namespace zvLib {

// The loaded info window, loaded (hidden) when it is not.
frmInfo& InfoWindow();

} // namespace zvLib
