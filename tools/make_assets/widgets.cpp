#include "widgets.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "kit.h"
#include "pictures.h"

namespace kvrns::assets {

void paintEmblem(QPainter& p, const QRectF& box)
{
    // A round badge: chrome ring, deep blue well, a lightning bolt lit from
    // within.
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double s = box.width();
    const QPointF c = box.center();
    const double r = s / 2.0;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawEllipse(c + QPointF(0, s * 0.03), r, r);
    QLinearGradient ring(box.topLeft(), box.bottomLeft());
    ring.setColorAt(0.0, QColor(236, 240, 245));
    ring.setColorAt(0.5, QColor(126, 132, 142));
    ring.setColorAt(1.0, QColor(70, 75, 84));
    p.setBrush(ring);
    p.drawEllipse(c, r * 0.98, r * 0.98);
    QRadialGradient well(c - QPointF(0, r * 0.35), r * 1.1);
    well.setColorAt(0.0, QColor(0, 140, 228));
    well.setColorAt(0.6, QColor(0, 84, 150));
    well.setColorAt(1.0, QColor(0, 36, 70));
    p.setBrush(well);
    p.drawEllipse(c, r * 0.84, r * 0.84);

    const QPointF o = box.topLeft();
    auto at = [&](double x, double y) { return o + QPointF(x * s, y * s); };
    QPolygonF bolt;
    bolt << at(0.58, 0.13) << at(0.31, 0.54) << at(0.48, 0.54) << at(0.41, 0.88) << at(0.71, 0.44) << at(0.54, 0.44)
         << at(0.64, 0.13);
    p.setBrush(QColor(120, 200, 255, 90));
    p.setPen(QPen(QColor(120, 200, 255, 70), s * 0.08, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolygon(bolt);
    QLinearGradient metal(at(0, 0.13), at(0, 0.88));
    metal.setColorAt(0.0, QColor(255, 255, 255));
    metal.setColorAt(1.0, QColor(196, 226, 250));
    p.setBrush(metal);
    p.setPen(QPen(QColor(0, 40, 80, 160), s * 0.015));
    p.drawPolygon(bolt);

    // Glass sheen over the upper half of the badge.
    QPainterPath sheen;
    sheen.addEllipse(QRectF(c.x() - r * 0.7, c.y() - r * 0.82, r * 1.4, r * 0.9));
    QLinearGradient gloss(0, c.y() - r * 0.82, 0, c.y());
    gloss.setColorAt(0.0, QColor(255, 255, 255, 90));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawPath(sheen);
    p.restore();
}

QImage captionButton(Glyph glyph, ButtonState state, Tone tone)
{
    QImage image = clearCanvas(20, 20);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(10, 10);
    const bool dark = tone == Tone::Dark;
    const bool pressed = state == ButtonState::Pressed;
    const bool hover = state == ButtonState::Hover;

    // Hover: a blue halo around the button.
    if (hover) {
        QRadialGradient halo(c, 10);
        halo.setColorAt(0.75, QColor(0, 133, 219, 170));
        halo.setColorAt(1.0, QColor(0, 133, 219, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(c, 10, 10);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(dark ? QColor(0, 0, 0, 200) : QColor(60, 20, 20, 150));
    p.drawEllipse(c, 8.6, 8.6);

    QRadialGradient body(c + (pressed ? QPointF(1.5, 3.0) : QPointF(-2.0, -3.5)), 12);
    if (dark) {
        const int lift = hover ? 16 : 0;
        if (pressed) {
            body.setColorAt(0.0, QColor(40, 44, 50));
            body.setColorAt(1.0, QColor(16, 18, 21));
        } else {
            body.setColorAt(0.0, QColor(104 + lift, 110 + lift, 120 + lift));
            body.setColorAt(0.55, QColor(52 + lift, 56 + lift, 64 + lift));
            body.setColorAt(1.0, QColor(24, 26, 30));
        }
    } else {
        if (pressed) {
            body.setColorAt(0.0, QColor(206, 209, 214));
            body.setColorAt(1.0, QColor(160, 164, 170));
        } else {
            body.setColorAt(0.0, QColor(255, 255, 255));
            body.setColorAt(0.55, QColor(hover ? 240 : 232, hover ? 244 : 234, hover ? 250 : 238));
            body.setColorAt(1.0, QColor(176, 180, 188));
        }
    }
    p.setBrush(body);
    p.drawEllipse(c, 7.8, 7.8);
    // Rim light on the upper edge.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, pressed ? 20 : (dark ? 60 : 200)), 0.8));
    p.drawArc(QRectF(2.6, 2.6, 14.8, 14.8), 30 * 16, 120 * 16);

    QColor ink;
    if (dark) {
        ink = hover ? QColor(255, 255, 255) : (pressed ? QColor(150, 156, 164) : QColor(206, 210, 216));
    } else {
        ink = hover ? QColor(0, 110, 190) : (pressed ? QColor(60, 62, 66) : QColor(72, 76, 82));
    }
    const QPointF shift = pressed ? QPointF(1, 1) : QPointF(0, 0);
    p.translate(shift);
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    switch (glyph) {
        case Glyph::Minimise: p.drawLine(QPointF(6.6, 12.4), QPointF(13.4, 12.4)); break;
        case Glyph::Close:
            p.drawLine(QPointF(7.2, 7.2), QPointF(12.8, 12.8));
            p.drawLine(QPointF(12.8, 7.2), QPointF(7.2, 12.8));
            break;
        case Glyph::Mini:
            // A small window: the dashboard shrinks to its mini readout.
            p.setPen(QPen(ink, 1.1));
            p.drawRoundedRect(QRectF(6.3, 7.3, 7.4, 5.6), 0.8, 0.8);
            p.setPen(Qt::NoPen);
            p.setBrush(ink);
            p.drawRect(QRectF(5.8, 6.8, 8.4, 2.0));
            break;
    }
    return image;
}

QImage pillButton(int width, int height, ButtonState state, Tone tone)
{
    QImage image = clearCanvas(width, height);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const bool dark = tone == Tone::Dark;
    const bool pressed = state == ButtonState::Pressed;
    const bool hover = state == ButtonState::Hover;
    const double radius = dark ? 7.0 : 9.0;
    const QRectF outer(0.5, 0.5, width - 1.0, height - 1.0);
    const QRectF body = outer.adjusted(1.5, 1.5, -1.5, -1.5);

    // Hover: a blue rim with a soft glow in the margin around the body.
    if (hover) {
        for (int i = 0; i < 3; ++i) {
            p.setPen(QPen(QColor(0, 133, 219, 60 + 40 * i), 1.0));
            p.setBrush(Qt::NoBrush);
            const double d = 2.0 - i * 0.7;
            p.drawRoundedRect(body.adjusted(-d, -d, d, d), radius + d, radius + d);
        }
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(dark ? QColor(255, 255, 255, 14) : QColor(255, 255, 255, 120));
        p.drawRoundedRect(body.adjusted(-1, -0.5, 1, 1.5), radius + 1, radius + 1);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(dark ? QColor(6, 7, 9) : QColor(132, 137, 145));
    p.drawRoundedRect(body, radius, radius);

    const QRectF face = body.adjusted(1, 1, -1, -1);
    QLinearGradient g(face.topLeft(), face.bottomLeft());
    if (dark) {
        if (pressed) {
            g.setColorAt(0.0, QColor(20, 22, 26));
            g.setColorAt(1.0, QColor(36, 39, 45));
        } else {
            const int lift = hover ? 10 : 0;
            g.setColorAt(0.0, QColor(74 + lift, 80 + lift, 90 + lift));
            g.setColorAt(0.5, QColor(46 + lift, 50 + lift, 57 + lift));
            g.setColorAt(0.52, QColor(38 + lift, 41 + lift, 47 + lift));
            g.setColorAt(1.0, QColor(30 + lift, 33 + lift, 38 + lift));
        }
    } else {
        if (pressed) {
            g.setColorAt(0.0, QColor(204, 207, 212));
            g.setColorAt(1.0, QColor(226, 228, 232));
        } else {
            const int lift = hover ? 4 : 0;
            g.setColorAt(0.0, QColor(255, 255, 255));
            g.setColorAt(0.5, QColor(240 + lift, 242 + lift, 245 + lift));
            g.setColorAt(0.52, QColor(230 + lift, 233 + lift, 237 + lift));
            g.setColorAt(1.0, QColor(214 + lift, 217 + lift, 222 + lift));
        }
    }
    p.setBrush(g);
    p.drawRoundedRect(face, radius - 1, radius - 1);
    if (pressed) {
        innerShadow(p, face, radius - 1, 4, dark ? 160 : 70);
    } else {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 255, 255, dark ? 70 : 230), 1.0));
        p.drawLine(QPointF(face.left() + radius - 1, face.top() + 0.5),
                   QPointF(face.right() - radius + 1, face.top() + 0.5));
    }
    if (hover) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0, 133, 219), 1.0));
        p.drawRoundedRect(body.adjusted(0.5, 0.5, -0.5, -0.5), radius - 0.5, radius - 0.5);
    }
    return image;
}

QImage arrowButton(bool plus, ButtonState state)
{
    QImage image = clearCanvas(17, 13);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body(0.5, 0.5, 16, 12);
    const bool pressed = state == ButtonState::Pressed;
    const bool hover = state == ButtonState::Hover;
    const bool disabled = state == ButtonState::Disabled;

    p.setPen(Qt::NoPen);
    p.setBrush(disabled ? QColor(150, 154, 160) : (hover ? QColor(0, 60, 110) : QColor(14, 16, 19)));
    p.drawRoundedRect(body, 3, 3);
    const QRectF face = body.adjusted(1, 1, -1, -1);
    if (disabled) {
        p.setBrush(QColor(178, 182, 188));
    } else if (hover) {
        p.setBrush(vertical(face, QColor(40, 165, 245), QColor(0, 96, 170)));
    } else if (pressed) {
        p.setBrush(vertical(face, QColor(22, 24, 28), QColor(44, 48, 55)));
    } else {
        p.setBrush(vertical(face, QColor(92, 98, 108), QColor(40, 44, 50)));
    }
    p.drawRoundedRect(face, 2, 2);
    if (!disabled && !pressed) {
        p.setPen(QPen(QColor(255, 255, 255, hover ? 110 : 70), 1.0));
        p.drawLine(QPointF(3.5, 2.0), QPointF(13.5, 2.0));
    }

    const double dy = pressed ? 1.0 : 0.0;
    QPolygonF tri;
    if (plus) {
        tri << QPointF(8.5, 3.8 + dy) << QPointF(12.3, 8.6 + dy) << QPointF(4.7, 8.6 + dy);
    } else {
        tri << QPointF(4.7, 4.4 + dy) << QPointF(12.3, 4.4 + dy) << QPointF(8.5, 9.2 + dy);
    }
    p.setPen(Qt::NoPen);
    if (!disabled) {
        p.setBrush(QColor(0, 0, 0, 120));
        p.drawPolygon(tri.translated(0, 0.8));
    }
    p.setBrush(disabled ? QColor(140, 144, 150) : (pressed ? QColor(170, 176, 184) : QColor(255, 255, 255)));
    p.drawPolygon(tri);
    return image;
}

}  // namespace kvrns::assets
