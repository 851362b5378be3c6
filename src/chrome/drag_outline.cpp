#include "chrome/drag_outline.h"

#include <QPainter>

namespace kvrns::chrome {

DragOutline::DragOutline()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint |
                           Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
}

void DragOutline::showAt(const QRect& screenRect)
{
    setGeometry(screenRect);
    if (!isVisible()) show();
    update();
}

void DragOutline::paintEvent(QPaintEvent*)
{
    // Light and dark dots over each other, so the outline shows on any
    // background, as an exclusive-or focus rectangle would.
    QPainter painter(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    painter.setPen(QPen(Qt::white, 1, Qt::SolidLine));
    painter.drawRect(r);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.drawRect(r);
}

}  // namespace kvrns::chrome
