#include "kit.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace kvrns::assets {

QImage opaqueCanvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor::fromRgba(kKey));
    return image;
}

QImage clearCanvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

static std::uint32_t hash(std::uint32_t x, std::uint32_t y, std::uint32_t seed)
{
    std::uint32_t h = x * 0x8da6b343u ^ y * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    h ^= h >> 15;
    return h;
}

double noise(int x, int y, std::uint32_t seed)
{
    return double(hash(std::uint32_t(x), std::uint32_t(y), seed) & 0xffffu) / 32767.5 - 1.0;
}

// Smooth value noise along one row: long streaks, as left by a brushing pad.
static double streak(double x, int y, double length, std::uint32_t seed)
{
    const double u = x / length;
    const double i = std::floor(u);
    const double f = u - i;
    const double s = f * f * (3.0 - 2.0 * f);
    const double a = noise(int(i), y, seed);
    const double b = noise(int(i) + 1, y, seed);
    return a + (b - a) * s;
}

static QImage coverage(const QSize& size, const QPainterPath& shape)
{
    QImage mask(size, QImage::Format_Grayscale8);
    mask.fill(0);
    QPainter p(&mask);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillPath(shape, Qt::white);
    p.end();
    return mask;
}

void brush(QImage& image, const QPainterPath& shape, double strength, std::uint32_t seed)
{
    const bool whole = shape.isEmpty();
    const QImage mask = whole ? QImage() : coverage(image.size(), shape);
    const QRect area = whole ? image.rect() : shape.boundingRect().toAlignedRect().intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const uchar* inside = whole ? nullptr : mask.constScanLine(y);
        const double row = noise(0, y, seed + 7);
        for (int x = area.left(); x <= area.right(); ++x) {
            if (inside && inside[x] == 0) continue;
            const double v = 0.40 * row + 0.30 * streak(x, y, 37.0, seed) + 0.15 * streak(x, y, 9.0, seed + 3) +
                             0.15 * noise(x, y, seed + 11);
            const int d = int(std::lround(v * strength));
            const QRgb c = line[x];
            const int a = qAlpha(c);
            if (a == 0) continue;
            // Premultiplied pixels: scale the change with the alpha.
            const int da = d * a / 255;
            line[x] = qRgba(std::clamp(qRed(c) + da, 0, a), std::clamp(qGreen(c) + da, 0, a),
                            std::clamp(qBlue(c) + da, 0, a), a);
        }
    }
}

void keyOutside(QImage& image, const QPainterPath& shape)
{
    const QImage mask = coverage(image.size(), shape);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const uchar* inside = mask.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            if (inside[x] == 0) {
                line[x] = kKey;
                continue;
            }
            // The face itself must be opaque (anything see-through would let
            // the window's key colour show) and must never hit the key colour
            // by chance, which would punch a stray hole.
            QRgb c = line[x] | 0xff000000u;
            if (c == kKey) c = qRgb(254, 254, 0);
            line[x] = c;
        }
    }
}

void clearOutside(QImage& image, const QPainterPath& shape)
{
    const QImage mask = coverage(image.size(), shape);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const uchar* inside = mask.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            if (inside[x] == 0) line[x] = 0;
        }
    }
}

QPainterPath roundedRect(const QRectF& rect, double radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QLinearGradient vertical(const QRectF& rect, const QColor& top, const QColor& bottom)
{
    QLinearGradient g(rect.topLeft(), rect.bottomLeft());
    g.setColorAt(0.0, top);
    g.setColorAt(1.0, bottom);
    return g;
}

void bevel(QPainter& p, const QRectF& rect, double radius, const QColor& light, const QColor& dark, double width)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(rect.topLeft(), rect.bottomLeft());
    g.setColorAt(0.0, light);
    g.setColorAt(0.45, QColor(light.red(), light.green(), light.blue(), light.alpha() / 3));
    g.setColorAt(0.55, QColor(dark.red(), dark.green(), dark.blue(), dark.alpha() / 3));
    g.setColorAt(1.0, dark);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(g), width));
    const double h = width / 2.0;
    p.drawRoundedRect(rect.adjusted(h, h, -h, -h), std::max(0.0, radius - h), std::max(0.0, radius - h));
    p.restore();
}

void innerShadow(QPainter& p, const QRectF& rect, double radius, int depth, int alpha)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setClipPath(roundedRect(rect, radius));
    for (int i = 0; i < depth; ++i) {
        const double t = 1.0 - double(i) / depth;
        p.setPen(QPen(QColor(0, 0, 0, int(alpha * t * t)), 1.0));
        p.setBrush(Qt::NoBrush);
        const QRectF r = rect.adjusted(0.5 - 2, i + 0.5, -0.5 + 2, 8);
        p.drawRoundedRect(r, radius, radius);
    }
    p.restore();
}

void screw(QPainter& p, const QPointF& centre, double radius, double slotAngle)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // Countersink: a dark ring with a lit lower lip.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 120));
    p.drawEllipse(centre, radius + 1.6, radius + 1.6);
    p.setBrush(QColor(255, 255, 255, 22));
    p.drawEllipse(centre + QPointF(0, 0.8), radius + 1.2, radius + 1.2);
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawEllipse(centre, radius + 0.6, radius + 0.6);

    QRadialGradient head(centre + QPointF(-radius * 0.35, -radius * 0.45), radius * 1.5);
    head.setColorAt(0.0, QColor(214, 218, 224));
    head.setColorAt(0.45, QColor(140, 146, 155));
    head.setColorAt(1.0, QColor(58, 62, 70));
    p.setBrush(head);
    p.drawEllipse(centre, radius, radius);

    // Cross recess.
    p.translate(centre);
    p.rotate(slotAngle);
    const double arm = radius * 0.62;
    const double w = std::max(1.0, radius * 0.26);
    for (int i = 0; i < 2; ++i) {
        p.setBrush(QColor(255, 255, 255, 70));
        p.drawRoundedRect(QRectF(-arm, -w / 2 + 0.5, 2 * arm, w), w / 2, w / 2);
        p.setBrush(QColor(24, 26, 30));
        p.drawRoundedRect(QRectF(-arm, -w / 2, 2 * arm, w), w / 2, w / 2);
        p.rotate(90);
    }
    p.restore();
}

QFont typeface(const QString& family, double pixelSize, bool bold, double letterSpacing)
{
    QFont font(family);
    font.setPixelSize(int(std::lround(pixelSize)));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    if (letterSpacing != 0.0) font.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
    return font;
}

void engrave(QPainter& p, const QRectF& rect, int flags, const QString& text, const QColor& ink,
             const QColor& highlight)
{
    p.save();
    p.setPen(highlight);
    p.drawText(rect.translated(0, 1), flags, text);
    p.setPen(ink);
    p.drawText(rect, flags, text);
    p.restore();
}

}  // namespace kvrns::assets
