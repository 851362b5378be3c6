#include "chrome/picture_label.h"

#include <QMouseEvent>

namespace kvrns::chrome {

PictureLabel::PictureLabel(QWidget* parent) : QLabel(parent)
{
    setMouseTracking(true);
}

void PictureLabel::showPicture(const QPixmap& picture)
{
    shown_ = picture;
    setScaledContents(true);
    setPixmap(picture);
}

void PictureLabel::mouseMoveEvent(QMouseEvent* event)
{
    emit pointerMoved(event->buttons(), event->position().toPoint());
    event->accept();
}

void PictureLabel::mousePressEvent(QMouseEvent* event)
{
    pressedInside_ = true;
    emit pressed(event->button(), event->position().toPoint());
    event->accept();
}

void PictureLabel::mouseReleaseEvent(QMouseEvent* event)
{
    emit released(event->button(), event->position().toPoint());
    const bool inside = rect().contains(event->position().toPoint());
    if (pressedInside_ && inside) emit clicked(event->button());
    pressedInside_ = event->buttons() != Qt::NoButton && pressedInside_;
    event->accept();
}

void PictureLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    emit doubleClicked();
    event->accept();
}

}  // namespace kvrns::chrome
