#include "dashboard/gauge_view.h"

#include <QMouseEvent>
#include <QPainter>

namespace kvrns::dashboard {

GaugeView::GaugeView(GaugeKind kind, QWidget* parent) : QWidget(parent), kind_(kind)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GaugeView::showFace(const QPixmap& face)
{
    shown_ = face;
    position_ = -1;
    repaint();
}

void GaugeView::showPosition(int value)
{
    if (value == position_) return;
    QPixmap* frame = frames_.object(value);
    if (!frame) {
        frame = new QPixmap(QPixmap::fromImage(gaugeFrame(kind_, value)));
        frames_.insert(value, frame);
    }
    shown_ = *frame;
    position_ = value;
    repaint();  // at once, as a stepping needle needs
}

void GaugeView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (shown_.isNull())
        painter.fillRect(rect(), QColor(28, 31, 36));
    else
        painter.drawPixmap(rect(), shown_);
}

void CellShape::setFill(const QColor& fill)
{
    fill_ = fill;
    update();
}

void CellShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill_);
    const qreal radius = height() / 3.0;
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

void CellShape::mousePressEvent(QMouseEvent* event)
{
    event->accept();  // a cell is a control, not background to drag by
}

void CellShape::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
}

}  // namespace kvrns::dashboard
