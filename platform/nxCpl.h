// nxCpl: the button panel: a strip of fixed height along a window's edge that places the
// command buttons it holds in fixed slots by its Mode and their indices, and paints one of
// six background styles. Lengths are in twips, as the panel's geometry was designed.
#pragma once

#include <QVariantMap>
#include <QWidget>

#include <cstdint>

class QPushButton;

class nxCpl : public QWidget {
    Q_OBJECT
  public:
    // Slot values: a number from 0 is the n-th slot from the left.
    static constexpr int kHidden = -1000; // not shown, placed beyond the right edge
    static constexpr int kR1 = -99;       // the first slot from the right
    static constexpr int kR2 = -98;       // the second slot from the right
    static constexpr int kR3 = -97;       // the third slot from the right
    // The mode that lays nothing out.
    static constexpr int kModeNone = 99;
    // The panel's height and the buttons' top, width and height, in twips.
    static constexpr int kPanelHeight = 465;
    static constexpr int kButtonTop = 45;
    static constexpr int kButtonWidth = 1215;
    static constexpr int kButtonHeight = 375;

    // A panel with Mode 0 and Style 4.
    explicit nxCpl(QWidget* parent = nullptr);

    // The panel's window handle.
    std::intptr_t HWND();
    // Which buttons are shown and where; 99 lays nothing out. Setting it lays the panel out.
    int Mode() const { return mode_; }
    void Mode(int v);
    // Usable or greyed, with everything in it.
    bool Enabled() const { return isEnabled(); }
    void Enabled(bool v) { setEnabled(v); }
    // The background style, 0 to 5; another value keeps the look. Setting it lays the panel
    // out.
    int Style() const { return style_; }
    void Style(int v);

    // Places a command button in the panel with its index in the panel's button array; a
    // button without an index is never shown.
    void AddButton(QPushButton* button, int index);
    // Places the record navigator in the panel (one slot wide, shown in modes 0, 1, 10, 11).
    void AddNavigator(QWidget* navigator);

    // Reads "Enabled" (default true), "Mode" (default 0) and "Style" (default 4) from the
    // window's stored properties, then lays the panel out.
    void ReadProperties(const QVariantMap& bag);
    // Writes the three properties; a value equal to its default is left out.
    void WriteProperties(QVariantMap& bag) const;

    // The slot of the button of an index in a mode.
    static int ButtonSlot(int mode, int index);
    // The slot of the navigator in a mode; kHidden when it is not shown.
    static int NavigatorSlot(int mode);
    // The Left in twips of a slot in a panel of a width in twips. A right-hand slot is
    // turned into its count from the right (R1 gives 0).
    static int ButtonLeft(int& slot, int panelWidth);

  protected:
    // Keeps the height and lays the panel out.
    void resizeEvent(QResizeEvent* event) override;
    // Paints the background of the style.
    void paintEvent(QPaintEvent* event) override;
    // Lays out again when the container's look changes.
    void changeEvent(QEvent* event) override;

  private:
    void LayoutPanel();
    void PlaceChild(QWidget* child, int slot, bool button);

    int mode_ = 0;
    int style_ = 4;
    int look_ = 4; // the last style that had a look
};
