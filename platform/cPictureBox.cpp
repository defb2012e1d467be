// cPictureBox: the kept picture is a cQtSurface over its own image; every drawing call on it
// asks the widget to show the image again, and the widget's paint event only copies the image
// to the screen.
#include "platform/cPictureBox.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>

namespace {

// One notch of an ordinary mouse wheel, in eighths of a degree.
constexpr int kNotch = 120;

int ButtonOf(Qt::MouseButton b)
{
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

int ShiftOf(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
           (m & Qt::AltModifier ? 4 : 0);
}

int ButtonsHeld(Qt::MouseButtons b)
{
    return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) |
           (b & Qt::MiddleButton ? 4 : 0);
}

} // namespace

// The box's surface: drawing goes to the image as on any own-image surface, and each call
// schedules a repaint of the widget (Qt folds them into one).
class cPictureBox::Picture : public cQtSurface {
  public:
    Picture(QWidget& box, int width, int height) : cQtSurface(width, height), box_(box) {}
    // The widget has shown the image: the next drawing call asks for a repaint again.
    void shown() { pending_ = false; }

  protected:
    void doCls() override
    {
        cQtSurface::doCls();
        changed();
    }
    void doLine(double x1, double y1, double x2, double y2, std::int32_t color) override
    {
        cQtSurface::doLine(x1, y1, x2, y2, color);
        changed();
    }
    void doBox(double x1, double y1, double x2, double y2, std::int32_t color,
               bool filled) override
    {
        cQtSurface::doBox(x1, y1, x2, y2, color, filled);
        changed();
    }
    void doCircle(double x, double y, double radius, std::int32_t color) override
    {
        cQtSurface::doCircle(x, y, radius, color);
        changed();
    }
    void doArc(double x, double y, double radius, std::int32_t color, double start,
               double end) override
    {
        cQtSurface::doArc(x, y, radius, color, start, end);
        changed();
    }
    void doPSet(double x, double y, std::int32_t color) override
    {
        cQtSurface::doPSet(x, y, color);
        changed();
    }
    void doPrint(double x, double y, const std::string& text) override
    {
        cQtSurface::doPrint(x, y, text);
        changed();
    }
    void doLineToPx(int x, int y) override
    {
        cQtSurface::doLineToPx(x, y);
        changed();
    }
    void doAngleArc(int x, int y, int radius, float start, float sweep) override
    {
        cQtSurface::doAngleArc(x, y, radius, start, sweep);
        changed();
    }
    void doPolygon(const std::vector<cPixel>& points) override
    {
        cQtSurface::doPolygon(points);
        changed();
    }
    void doInvert(double x1, double y1, double x2, double y2, bool box) override
    {
        cQtSurface::doInvert(x1, y1, x2, y2, box);
        changed();
    }
    void doStrokeAndFillPath() override
    {
        cQtSurface::doStrokeAndFillPath();
        changed();
    }

  private:
    void changed()
    {
        if (!pending_) {
            pending_ = true;
            box_.update();
        }
    }

    QWidget& box_;
    bool pending_ = false;
};

cPictureBox::cPictureBox(QWidget* parent)
    : QWidget(parent), picture_(std::make_unique<Picture>(*this, width(), height()))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

cPictureBox::~cPictureBox() = default;

cQtSurface& cPictureBox::Surface()
{
    return *picture_;
}

void cPictureBox::paintEvent(QPaintEvent* event)
{
    picture_->shown();
    const QImage& image = picture_->Image();
    QPainter p(this);
    p.drawImage(event->rect(), image, event->rect());
    // Area the image does not cover yet is shown in the background colour.
    p.fillRect(QRect(image.width(), 0, width() - image.width(), height()),
               cQtSurface::ToQColor(picture_->BackColor()));
    p.fillRect(QRect(0, image.height(), image.width(), height() - image.height()),
               cQtSurface::ToQColor(picture_->BackColor()));
}

void cPictureBox::resizeEvent(QResizeEvent* event)
{
    if (event->size() == event->oldSize()) {
        return;
    }
    picture_->Resize(width(), height());
    // A scale in units of the device follows the new size; a user scale keeps its four values.
    if (picture_->ScaleMode() != 0) {
        picture_->ScaleMode(picture_->ScaleMode());
    }
    if (Resize) {
        Resize();
    }
}

void cPictureBox::wheelEvent(QWheelEvent* event)
{
    wheelRest_ += event->angleDelta().y();
    event->accept();
    while (wheelRest_ >= kNotch || wheelRest_ <= -kNotch) {
        const int direction = wheelRest_ > 0 ? 1 : -1;
        wheelRest_ -= direction * kNotch;
        if (MouseWheel) {
            MouseWheel(direction);
        }
    }
}

void cPictureBox::raise(const MouseHandler& handler, QMouseEvent* event, int button)
{
    if (!handler) {
        return;
    }
    const cQtSurface& s = *picture_;
    const QPointF p = event->position();
    const double x = s.ScaleLeft() + p.x() * s.ScaleWidth() / std::max(1, width());
    const double y = s.ScaleTop() + p.y() * s.ScaleHeight() / std::max(1, height());
    handler(button, ShiftOf(event->modifiers()), x, y);
}

void cPictureBox::mousePressEvent(QMouseEvent* event)
{
    raise(MouseDown, event, ButtonOf(event->button()));
}

void cPictureBox::mouseMoveEvent(QMouseEvent* event)
{
    raise(MouseMove, event, ButtonsHeld(event->buttons()));
}

void cPictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    raise(MouseUp, event, ButtonOf(event->button()));
}
