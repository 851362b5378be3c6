#pragma once

// Drawing helpers shared by all the skin pictures: deterministic grain and
// brushed-metal texture, the colour-key outline, bevels, screws and type.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <cstdint>

namespace kvrns::assets {

// Pure yellow: every pixel of this exact colour becomes a hole in a window.
inline constexpr QRgb kKey = 0xffffff00u;

// Graphite surfaces and the dashboard's accent colours.
inline const QColor kGraphiteTop(40, 44, 52);
inline const QColor kGraphite(35, 39, 46);
inline const QColor kGraphiteLow(28, 31, 36);
inline const QColor kAccentBlue(0, 133, 219);
inline const QColor kDeepBlue(0, 90, 160);

// A new picture: opaque pictures start out as key yellow, overlays as fully
// transparent.
QImage opaqueCanvas(int width, int height);
QImage clearCanvas(int width, int height);

// Deterministic hash noise in [-1, 1] for a pixel and a seed.
double noise(int x, int y, std::uint32_t seed);

// Adds grain and horizontal brushing to the pixels of `area` that lie inside
// `shape` (all of `area` when the shape is empty). `strength` is the largest
// change of a channel, in levels.
void brush(QImage& image, const QPainterPath& shape, double strength, std::uint32_t seed);

// Sets every pixel whose centre lies outside `shape` to the key colour, with
// no anti-aliasing, so that no yellowish fringe can remain on the edge.
void keyOutside(QImage& image, const QPainterPath& shape);

// Clears every pixel whose centre lies outside `shape` to full transparency.
void clearOutside(QImage& image, const QPainterPath& shape);

QPainterPath roundedRect(const QRectF& rect, double radius);

// A gradient running from top to bottom of `rect`.
QLinearGradient vertical(const QRectF& rect, const QColor& top, const QColor& bottom);

// Hairline bevel just inside the outline of `shape`: lit from above.
void bevel(QPainter& p, const QRectF& rect, double radius, const QColor& light, const QColor& dark, double width = 1.0);

// Soft shadow falling inward from the top edge of a recess.
void innerShadow(QPainter& p, const QRectF& rect, double radius, int depth, int alpha);

// A cross-head screw seen from the front.
void screw(QPainter& p, const QPointF& centre, double radius, double slotAngle);

QFont typeface(const QString& family, double pixelSize, bool bold, double letterSpacing = 0.0);

// Text cut into the surface: a dark glyph with a faint highlight below it.
void engrave(QPainter& p, const QRectF& rect, int flags, const QString& text, const QColor& ink,
             const QColor& highlight);

}  // namespace kvrns::assets
