// frmEdit: the piece editor view. The user picks a set of the catalogue, sees its standard
// values and its piece types, and gets a preview of the chosen type built by the piece factory
// at the world origin; clicks collect point-set text, and the point sets can be replaced in
// the piece table (in memory only).
#pragma once

#include "platform/cGridModel.h"

#include <QWidget>

#include <string>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class cGridWidget;
class cPictureBox;

class frmEdit : public QWidget {
    Q_OBJECT
  public:
    // The window with its controls as designed; neither loaded nor shown.
    explicit frmEdit(QWidget* parent = nullptr);
    ~frmEdit() override;
    frmEdit(const frmEdit&) = delete;
    frmEdit& operator=(const frmEdit&) = delete;

    // The set's piece types: itemID with hand suffix, description, piece table index.
    cGridModel grd;
    // The Qt widget that shows grd.
    cGridWidget& grdView() { return *grdView_; }

    // The set chooser.
    QComboBox* cboID = nullptr;
    // The chosen set's description, track width, lanes gap and standard radius.
    QLineEdit* txtDesc = nullptr;
    QLineEdit* txtStdWidth = nullptr;
    QLineEdit* txtGap = nullptr;
    QLineEdit* txtR1 = nullptr;
    // The named point sets of the chosen piece type, editable.
    QPlainTextEdit* txtExtra = nullptr;
    // Stores txtExtra into the chosen record.
    QPushButton* cmdApply = nullptr;
    // The points collected by clicks in the preview.
    QPlainTextEdit* txtPts = nullptr;
    // The preview angle in degrees, its value as text and its reset button.
    QSlider* sldAngle = nullptr;
    QLineEdit* txtAngle = nullptr;
    QPushButton* cmdAngle = nullptr;
    // The preview width in millimetres.
    QSlider* sld = nullptr;
    // The preview; its surface is zvLib::EditPic while the window is loaded.
    cPictureBox* pic = nullptr;

    // The chosen set, piece key and piece table index.
    const std::string& ChosenSet() const { return set_; }
    const std::string& ChosenKey() const { return key_; }
    int ChosenIndex() const { return index_; }

    // Makes pic the editor's surface, fills the set chooser and shows an empty 2000 mm view.
    void Form_Load();
    // Places sld and pic over the window when it is large enough.
    void Form_Resize();
    // Fills the set chooser with the catalogue's set rows and selects the first.
    void loadDefID();
    // Shows the chosen set's values and lists its piece types in grd.
    void toGrid();
    // Rebuilds the preview of the chosen piece type.
    void doItem();
    // Clears the preview, gives it a world of the width in millimetres and draws the axes.
    void SetupView(double size);
    // A grid row (from 1) was chosen: its piece becomes the chosen one and is shown.
    void grd_RowChosen(int row);
    // Stores the trimmed point sets into the chosen record and rebuilds the preview.
    void cmdApply_Click();
    // Puts the angle slider back to 0.
    void cmdAngle_Click();
    // A click in the preview at world (x, y) appends the point to txtPts.
    void pic_MouseDown(double x, double y);
    // The pointer over the preview at world (x, y) is shown in the status line.
    void pic_MouseMove(double x, double y);
    // The preview changed size: its world is set up again at the new size and the piece shown
    // drawn again (the point sets being edited stay as they are).
    void pic_Resize();

  protected:
    // Every change of size runs Form_Resize.
    void resizeEvent(QResizeEvent* event) override;
    // A mouse button released over a slider rebuilds the preview.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    void ReleaseSurface();
    // Draws the preview: the world of the last width, the axes and the piece shown, if any,
    // at the angle it was built with.
    void DrawPreview();

    cGridWidget* grdView_ = nullptr;
    std::string set_;
    std::string key_;
    int index_ = 0;
    bool chosen_ = false;
    double viewSize_ = 2000; // the width of the preview's world
    int previewAngle_ = 0;   // the angle the piece shown was built with
};

namespace zvLib {

// The loaded piece editor window, loaded (hidden) when it is not.
frmEdit& EditWindow();

} // namespace zvLib
