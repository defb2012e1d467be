// cScrollBar: a flat scroll bar with 16-bit whole-number properties. Its minimum may lie above
// its maximum (the bar then counts down from its left or top end); a value outside the range
// or a step below 1 is refused with error 380, and only the user's scrolling raises Change.
#pragma once

#include <QScrollBar>

#include <cstdint>
#include <functional>

class cScrollBar : public QScrollBar {
    Q_OBJECT
  public:
    // A bar running from 0 to 32767 at value 0, steps 1 and 1.
    explicit cScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

    // The value at the left or top end; a value outside the new range moves to its nearer end.
    std::int16_t Min() const { return min_; }
    void Min(std::int16_t v);
    // The value at the right or bottom end; a value outside the new range moves likewise.
    std::int16_t Max() const { return max_; }
    void Max(std::int16_t v);
    // The position; error 380 when it lies outside the range between Min and Max.
    std::int16_t Value() const { return value_; }
    void Value(std::int16_t v);
    // The step of the arrows; error 380 below 1.
    std::int16_t SmallChange() const { return smallChange_; }
    void SmallChange(std::int16_t v);
    // The step of a click beside the thumb; error 380 below 1.
    std::int16_t LargeChange() const { return largeChange_; }
    void LargeChange(std::int16_t v);
    // Whether the user can scroll it.
    bool Enabled() const { return isEnabled(); }
    void Enabled(bool on) { setEnabled(on); }

    // Raised after the user moved the bar (arrows, track, thumb, keys, wheel); assigning a
    // property never raises it.
    std::function<void()> Change;

  private:
    // Shows the properties on the Qt bar, whose range always runs upwards.
    void sync();
    // The user moved the Qt bar to q.
    void moved(int q);

    std::int16_t min_ = 0;
    std::int16_t max_ = 32767;
    std::int16_t value_ = 0;
    std::int16_t smallChange_ = 1;
    std::int16_t largeChange_ = 1;
    bool syncing_ = false;
};
