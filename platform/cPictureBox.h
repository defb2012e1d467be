// cPictureBox: a picture box that keeps its picture. Everything drawn on its surface stays in
// an image of the box's size until Cls; painting the widget only shows that image. A change
// of size resizes the image and keeps the user scale, and mouse events arrive in user units.
#pragma once

#include "platform/cQtSurface.h"

#include <QWidget>

#include <functional>
#include <memory>

class cPictureBox : public QWidget {
    Q_OBJECT
  public:
    // An empty box with a surface of its present size.
    explicit cPictureBox(QWidget* parent = nullptr);
    ~cPictureBox() override;
    cPictureBox(const cPictureBox&) = delete;
    cPictureBox& operator=(const cPictureBox&) = delete;

    // The surface drawn on; what it holds is what the box shows.
    cQtSurface& Surface();

    // Raised after a real change of the box's size, once the image has the new size.
    std::function<void()> Resize;
    // Raised for each notch of the wheel: 1 turned away from the user, -1 towards.
    std::function<void(int direction)> MouseWheel;
    // Mouse events: the button (1 left, 2 right, 4 middle), the keys held (1 Shift, 2 Ctrl,
    // 4 Alt) and the pointer in user units.
    using MouseHandler = std::function<void(int button, int shift, double x, double y)>;
    MouseHandler MouseDown;
    MouseHandler MouseMove;
    MouseHandler MouseUp;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    class Picture;
    // Hands a mouse event to a handler in user units.
    void raise(const MouseHandler& handler, QMouseEvent* event, int button);

    std::unique_ptr<Picture> picture_;
    // Wheel turn not yet making a whole notch (high-resolution wheels and touch pads).
    int wheelRest_ = 0;
};
