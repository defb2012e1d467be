// cScrollBar: the flat scroll bar's properties kept as the program sets them and shown on a
// QScrollBar, whose range must run upwards: a bar counting down is shown mirrored, so that
// its Min still sits at the left or top end.
#include "platform/cScrollBar.h"

#include "foundation/cError.h"

#include <algorithm>

namespace {

[[noreturn]] void Refuse()
{
    throw cError(380, "cScrollBar", "Invalid property value");
}

} // namespace

cScrollBar::cScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent)
{
    connect(this, &QAbstractSlider::valueChanged, this, [this](int q) { moved(q); });
    sync();
}

void cScrollBar::Min(std::int16_t v)
{
    min_ = v;
    value_ = std::clamp(value_, std::min(min_, max_), std::max(min_, max_));
    sync();
}

void cScrollBar::Max(std::int16_t v)
{
    max_ = v;
    value_ = std::clamp(value_, std::min(min_, max_), std::max(min_, max_));
    sync();
}

void cScrollBar::Value(std::int16_t v)
{
    if (v < std::min(min_, max_) || v > std::max(min_, max_)) {
        Refuse();
    }
    value_ = v;
    sync();
}

void cScrollBar::SmallChange(std::int16_t v)
{
    if (v < 1) {
        Refuse();
    }
    smallChange_ = v;
    sync();
}

void cScrollBar::LargeChange(std::int16_t v)
{
    if (v < 1) {
        Refuse();
    }
    largeChange_ = v;
    sync();
}

void cScrollBar::sync()
{
    const int lo = std::min(min_, max_);
    const int hi = std::max(min_, max_);
    syncing_ = true;
    setRange(lo, hi);
    setSingleStep(smallChange_);
    setPageStep(largeChange_);
    setValue(min_ <= max_ ? value_ : lo + hi - value_);
    syncing_ = false;
}

void cScrollBar::moved(int q)
{
    if (syncing_) {
        return;
    }
    const int lo = minimum();
    const int hi = maximum();
    value_ = static_cast<std::int16_t>(min_ <= max_ ? q : lo + hi - q);
    if (Change) {
        Change();
    }
}
