#include "dashboard/gauge_art.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

// The dial is rendered pixel by pixel from distance functions instead of with
// QPainter fills. The dashboard asks for frames while the needles sweep, and
// QPainter hands every large translucent fill to a thread pool, which on a
// small machine costs far more than the drawing itself. A direct pass over the
// 237 x 139 pixels stays well under a millisecond and gives exact, smooth edges.
// Only the printed numbers and units go through QPainter (text is cheap).

namespace kvrns::dashboard {
namespace {

constexpr double kPi = 3.14159265358979323846;

// All dials share one geometry so that the three gauges line up on the panel.
// The pivot sits low, behind the readout well, which lets the scale span the
// whole width of the frame while the lower middle stays free for the digits.
constexpr int kWidth = 237;
constexpr int kHeight = 139;
constexpr double kCentreX = 118.5;
constexpr double kCentreY = 104.0;
constexpr double kSweep = 200.0;  // degrees, symmetric about straight up
constexpr double kStartAngle = 90.0 + kSweep / 2.0;
constexpr double kBandRadius = 96.5;
constexpr double kTickOuter = 92.5;
constexpr double kLabelInner = 80.0;  // labels end this far from the pivot
constexpr double kWellRadius = 50.0;
constexpr double kWellBottom = 136.0;
constexpr double kWellCorner = 9.0;
constexpr double kNeedleTail = 30.0;
constexpr double kNeedleTip = 91.0;
constexpr double kFaceRadius = 10.0;

struct Rgb {
    double r, g, b;
};

constexpr Rgb rgb(int r, int g, int b)
{
    return {double(r), double(g), double(b)};
}

Rgb mix(const Rgb& a, const Rgb& b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// The frame's corners outside the rounded face; the dashboard skin paints the
// bezel around the gauges in exactly this colour so the seam disappears.
constexpr Rgb kSurround = rgb(13, 15, 18);

constexpr Rgb kBlue = rgb(0, 133, 219);
constexpr Rgb kGreen = rgb(46, 204, 113);
constexpr Rgb kAmber = rgb(255, 176, 36);
constexpr Rgb kOrange = rgb(255, 134, 56);
constexpr Rgb kRed = rgb(240, 44, 36);
constexpr Rgb kNeedle = rgb(255, 104, 40);

struct BandStop {
    double at;  // fraction of the scale
    Rgb colour;
};

struct Scale {
    int first;       // lowest printed value
    int last;        // highest printed value
    int lastFrame;   // highest value the needle is drawn at
    int labelEvery;  // labelled major ticks
    int midEvery;    // longer minor ticks (0 for none)
    const char16_t* dialUnit;
    const char16_t* readoutUnit;
    int stopCount;
    std::array<BandStop, 6> band;
};

Scale scaleOf(GaugeKind kind)
{
    switch (kind) {
        case GaugeKind::Efficiency:
            return {
                75, 100, 99, 5, 0, u"%", u"PERCENT", 4, {{{0.0, kRed}, {0.16, kRed}, {0.36, kAmber}, {0.54, kGreen}}}};
        case GaugeKind::Temperature:
            return {0,
                    120,
                    120,
                    20,
                    5,
                    u"\u00b0C",
                    u"CELSIUS",
                    6,
                    {{{0.0, kBlue}, {0.31, kBlue}, {0.36, kOrange}, {0.56, kOrange}, {0.61, kRed}, {1.0, kRed}}}};
        case GaugeKind::Power:
        default:
            return {0,
                    120,
                    120,
                    20,
                    5,
                    u"% LOAD",
                    u"WATTS",
                    6,
                    {{{0.0, kGreen}, {0.55, kGreen}, {0.70, kAmber}, {0.83, kOrange}, {0.88, kRed}, {1.0, kRed}}}};
    }
}

Rgb bandColour(const Scale& scale, double fraction)
{
    const BandStop* stops = scale.band.data();
    if (fraction <= stops[0].at) return stops[0].colour;
    for (int i = 1; i < scale.stopCount; ++i) {
        if (fraction <= stops[i].at) {
            const double t = (fraction - stops[i - 1].at) / (stops[i].at - stops[i - 1].at);
            return mix(stops[i - 1].colour, stops[i].colour, t);
        }
    }
    return stops[scale.stopCount - 1].colour;
}

// Stateless integer hash: the grain of the face is a pure function of the
// pixel position, so every frame and every run looks exactly the same.
inline std::uint32_t grain(std::uint32_t x, std::uint32_t y)
{
    std::uint32_t h = x * 0x8da6b343u ^ y * 0xd8163841u ^ 0x5bd1e995u;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    h ^= h >> 15;
    return h;
}

inline double clamp01(double v)
{
    return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v);
}

// How much of a one-pixel footprint centred on `d` lies within [from, to].
inline double span(double d, double from, double to)
{
    return clamp01(std::min(d + 0.5, to) - std::max(d - 0.5, from));
}

// Signed distance to a rounded box around the origin (negative inside).
double roundBox(double px, double py, double halfW, double halfH, double radius)
{
    const double qx = std::abs(px) - halfW + radius;
    const double qy = std::abs(py) - halfH + radius;
    if (qx > 0.0 && qy > 0.0) return std::sqrt(qx * qx + qy * qy) - radius;
    return std::max(qx, qy) - radius;
}

// Polynomial arctangent in degrees, within a thousandth of a degree: plenty
// for placing pixels on a 100 px dial, and several times faster than atan2.
double angleDegrees(double y, double x)
{
    const double ax = std::abs(x);
    const double ay = std::abs(y);
    if (ax == 0.0 && ay == 0.0) return 0.0;
    const double a = std::min(ax, ay) / std::max(ax, ay);
    const double s = a * a;
    double r = ((-0.0464964749 * s + 0.15931422) * s - 0.327622764) * s * a + a;
    if (ay > ax) r = 1.57079637 - r;
    if (x < 0.0) r = 3.14159274 - r;
    if (y < 0.0) r = -r;
    return r * (180.0 / kPi);
}

double faceDistance(double x, double y)
{
    return roundBox(x - kWidth / 2.0, y - kHeight / 2.0, kWidth / 2.0 - 0.5, kHeight / 2.0 - 0.5, kFaceRadius);
}

// The readout well: a disc around the pivot running straight down to a
// rounded foot, like the display window of a lab meter.
double wellDistance(double x, double y)
{
    if (y <= kCentreY)
        return std::sqrt((x - kCentreX) * (x - kCentreX) + (y - kCentreY) * (y - kCentreY)) - kWellRadius;
    const double top = kCentreY - kWellRadius;
    return roundBox(x - kCentreX, y - (top + kWellBottom) / 2.0, kWellRadius, (kWellBottom - top) / 2.0, kWellCorner);
}

double angleOf(const Scale& scale, double value)
{
    const double fraction = (value - scale.first) / double(scale.last - scale.first);
    return kStartAngle - fraction * kSweep;
}

QPointF polar(double radius, double degrees)
{
    const double a = degrees * kPi / 180.0;
    return {kCentreX + radius * std::cos(a), kCentreY - radius * std::sin(a)};
}

QFont dialFont(int pixelSize, double letterSpacing)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setHintingPreference(QFont::PreferNoHinting);
    if (letterSpacing != 0.0) font.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
    return font;
}

class Canvas {
public:
    explicit Canvas(QImage& image) : bits_(image.bits()), stride_(image.bytesPerLine()) {}

    Rgb at(int x, int y) const
    {
        const QRgb c = pixel(x, y);
        return rgb(qRed(c), qGreen(c), qBlue(c));
    }
    void set(int x, int y, const Rgb& c) { pixel(x, y) = qRgb(to8(c.r), to8(c.g), to8(c.b)); }
    QRgb& raw(int x, int y) { return pixel(x, y); }
    void fill(int y, int from, int to, const Rgb& c)
    {
        const QRgb value = qRgb(to8(c.r), to8(c.g), to8(c.b));
        std::fill(&pixel(from, y), &pixel(to, y) + 1, value);
    }
    void blend(int x, int y, const Rgb& c, double alpha)
    {
        if (alpha <= 0.0) return;
        set(x, y, mix(at(x, y), c, std::min(alpha, 1.0)));
    }

private:
    static int to8(double v) { return v <= 0.0 ? 0 : (v >= 255.0 ? 255 : int(v + 0.5)); }
    QRgb& pixel(int x, int y) const { return reinterpret_cast<QRgb*>(bits_ + y * stride_)[x]; }

    uchar* bits_;
    qsizetype stride_;
};

// Dark dial plate with a soft central light, fine grain, the faint reflection
// of the cover glass over the upper part, the hairline bevel of the face
// (light catches the upper lip, the lower edge falls away) and the bezel
// corners, all in one pass.
void paintPlate(Canvas& canvas)
{
    constexpr int edgeZone = int(kFaceRadius) + 1;
    for (int y = 0; y < kHeight; ++y) {
        const double py = y + 0.5;
        const double dy2 = (py - 78.0) * (py - 78.0) * 1.21;
        const bool edgeRow = y < edgeZone || y >= kHeight - edgeZone;
        const double v = py / kHeight;
        const Rgb rim = v < 0.25 ? mix(rgb(92, 99, 110), rgb(52, 56, 64), v / 0.25)
                                 : mix(rgb(52, 56, 64), rgb(6, 7, 9), (v - 0.25) / 0.75);
        const double shadeTop = 0.35 * clamp01(1.0 - (py - 1.0) / 13.0);
        const double shineRow = 0.08 * clamp01(1.0 - py / 72.0);
        // Deep inside the readout well the plate is never seen: the well is
        // painted solid over it, so only a cheap placeholder goes there.
        int hideFrom = kWidth;
        int hideTo = -1;
        if (py > kCentreY - kWellRadius + 8.0 && py < kWellBottom - kWellCorner - 1.0) {
            const double wy = py - kCentreY;
            const double half = (wy < 0.0 ? std::sqrt(kWellRadius * kWellRadius - wy * wy) : kWellRadius) - 7.0;
            hideFrom = int(std::ceil(kCentreX - half));
            hideTo = int(std::floor(kCentreX + half)) - 1;
        }
        for (int x = 0; x < kWidth; ++x) {
            if (x == hideFrom && hideTo >= hideFrom) {
                canvas.fill(y, hideFrom, hideTo, kSurround);
                x = hideTo;
                continue;
            }
            const double px = x + 0.5;
            // Single precision and no clamping: every channel stays well
            // within 0..255 here, and this loop covers most of the frame.
            const float gx = float(px - kCentreX);
            const float d = std::sqrt(gx * gx + float(dy2)) * (1.0f / 150.0f);
            float r, g, b;
            if (d < 0.5f) {
                const float t = d * 2.0f;
                r = 46.0f - 14.0f * t;
                g = 50.0f - 15.0f * t;
                b = 58.0f - 17.0f * t;
            } else {
                const float t = std::min(1.0f, (d - 0.5f) * 2.0f);
                r = 32.0f - 15.0f * t;
                g = 35.0f - 16.0f * t;
                b = 41.0f - 18.0f * t;
            }
            const float n = float((grain(std::uint32_t(x), std::uint32_t(y)) >> 24) * 7u >> 8) - 3.0f;
            r += n;
            g += n;
            b += n;
            if (shineRow > 0.0) {
                const double u = (px - kWidth / 2.0) / (kWidth / 2.0);
                const float shine = float(shineRow * clamp01(58.0 + 14.0 * (1.0 - u * u) - py + 0.5));
                r += (255.0f - r) * shine;
                g += (255.0f - g) * shine;
                b += (255.0f - b) * shine;
            }
            const bool edgeColumn = x < edgeZone || x >= kWidth - edgeZone;
            if (!edgeRow && !edgeColumn) {
                canvas.raw(x, y) = qRgb(int(r + 0.5f), int(g + 0.5f), int(b + 0.5f));
                continue;
            }
            const double edge = faceDistance(px, py);
            const double inside = clamp01(0.5 - edge);
            if (inside <= 0.0) {
                canvas.set(x, y, kSurround);
                continue;
            }
            Rgb c{r, g, b};
            c = mix(c, rgb(0, 0, 0), shadeTop * span(-edge, 1.0, 3.0));
            c = mix(c, rim, span(-edge, 0.0, 1.0));
            canvas.set(x, y, mix(kSurround, c, inside));
        }
    }
}

struct TickStyle {
    double length;
    double halfWidth;
    Rgb colour;
    double alpha;
};

TickStyle tickStyle(const Scale& scale, int value)
{
    if ((value - scale.first) % scale.labelEvery == 0) return {9.0, 0.8, rgb(236, 239, 243), 1.0};
    if (scale.midEvery == 0) return {5.0, 0.5, rgb(150, 156, 166), 0.9};
    if (value % (scale.midEvery * 2) == 0) return {6.5, 0.55, rgb(196, 201, 209), 1.0};
    if (value % scale.midEvery == 0) return {5.0, 0.45, rgb(170, 176, 186), 1.0};
    return {3.2, 0.3, rgb(150, 156, 166), 0.75};
}

// Coloured band, its recessed track and glow, the tick ring and the ticks.
void paintScale(Canvas& canvas, const Scale& scale)
{
    const double units = scale.last - scale.first;
    const double degreesPerUnit = kSweep / units;
    const double outerMost = kBandRadius + 4.5;
    const double innerMost = kTickOuter - 10.0;
    const int top = std::max(0, int(kCentreY - outerMost));
    for (int y = top; y < kHeight; ++y) {
        const double py = y + 0.5;
        const double dy = kCentreY - py;
        // Only the pixels of the ring itself: its outer reach on this row,
        // minus the hole inside it.
        const double outerHalf = std::sqrt(std::max(0.0, outerMost * outerMost - dy * dy)) + 1.0;
        const double innerHalf = std::sqrt(std::max(0.0, innerMost * innerMost - dy * dy)) - 1.0;
        const int xa = std::max(0, int(kCentreX - outerHalf));
        const int xb = std::min(kWidth - 1, int(kCentreX + outerHalf));
        for (int x = xa; x <= xb; ++x) {
            const double px = x + 0.5;
            const double dx = px - kCentreX;
            if (std::abs(dx) < innerHalf) {
                if (dx < 0.0) x = std::max(x, int(kCentreX + innerHalf) - 1);
                continue;
            }
            const double r = std::sqrt(dx * dx + dy * dy);
            if (r < innerMost || r > outerMost) continue;
            double t = kStartAngle - angleDegrees(dy, dx);  // degrees along the sweep
            while (t < -80.0) t += 360.0;
            while (t >= 280.0) t -= 360.0;
            if (t < -3.0 || t > kSweep + 3.0) continue;
            // Flat ends of the arcs, measured in pixels along the circle.
            const double endCover = span(t * kPi / 180.0 * r, 0.0, kSweep * kPi / 180.0 * r);
            const double fraction = std::clamp(t / kSweep, 0.0, 1.0);

            Rgb c = canvas.at(x, y);
            if (r > kBandRadius - 4.5) {
                const Rgb band = bandColour(scale, fraction);
                c = mix(c, rgb(6, 7, 9), span(r, kBandRadius - 3.0, kBandRadius + 3.0) * endCover);
                c = mix(c, band, 0.16 * span(r, kBandRadius - 4.0, kBandRadius + 4.0) * endCover);
                c = mix(c, band, span(r, kBandRadius - 1.3, kBandRadius + 1.3) * endCover);
                canvas.set(x, y, c);
                continue;
            }

            // Hairline that carries the ticks.
            c = mix(c, rgb(120, 126, 136), 0.6 * span(r, kTickOuter + 0.25, kTickOuter + 0.95) * endCover);

            const double value = scale.first + t / degreesPerUnit;
            const int nearest = std::clamp(int(value + 0.5), scale.first, scale.last);
            const TickStyle style = tickStyle(scale, nearest);
            const double across = r * (value - nearest) * degreesPerUnit * kPi / 180.0;  // small angle
            const double cover =
                span(across, -style.halfWidth, style.halfWidth) * span(r, kTickOuter - style.length, kTickOuter);
            canvas.set(x, y, mix(c, style.colour, style.alpha * cover));
        }
    }
}

void paintNumbers(QImage& image, const Scale& scale)
{
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(dialFont(10, 0.0));
    const QFontMetricsF metrics(p.font());
    p.setPen(QColor(214, 218, 224));
    for (int value = scale.first; value <= scale.last; value += scale.labelEvery) {
        // Keep every label the same gap inside the tick ends, however wide it is.
        const QString text = QString::number(value);
        const double a = angleOf(scale, value);
        const double rad = a * kPi / 180.0;
        const double w = metrics.horizontalAdvance(text);
        const double h = metrics.capHeight();
        const double reach = std::abs(std::cos(rad)) * w / 2.0 + std::abs(std::sin(rad)) * h / 2.0;
        const QPointF at = polar(kLabelInner - reach, a);
        p.drawText(QPointF(at.x() - w / 2.0, at.y() + h / 2.0), text);
    }
    p.setFont(dialFont(9, 1.0));
    p.setPen(QColor(150, 156, 166));
    p.drawText(QRectF(kCentreX - 40, kCentreY - 70, 80, 12), Qt::AlignCenter, QString::fromUtf16(scale.dialUnit));
}

// exp(-v), near enough for a glow and without the cost of exp.
inline double falloff(double v)
{
    if (v >= 6.0) return 0.0;
    const double t = 1.0 - v / 6.0;
    return t * t * t * t * t * t * (1.0 - 0.16 * v * t);
}

void paintNeedle(Canvas& canvas, double angle)
{
    const double a = angle * kPi / 180.0;
    const double ux = std::cos(a);
    const double uy = -std::sin(a);
    const double baseHalf = 2.0;
    const double tipHalf = 0.65;
    const double length = kNeedleTip - kNeedleTail;

    // Distance across the tapered blade and how far along it a point lies.
    auto blade = [&](double px, double py, double widen, double& along) {
        const double dx = px - kCentreX;
        const double dy = py - kCentreY;
        along = dx * ux + dy * uy;
        const double across = std::abs(-dx * uy + dy * ux);
        const double k = std::clamp((along - kNeedleTail) / length, 0.0, 1.0);
        const double half = baseHalf + (tipHalf - baseHalf) * k + widen;
        return across - half;
    };

    const double ex = kCentreX + ux * kNeedleTip;
    const double ey = kCentreY + uy * kNeedleTip;
    const int x0 = std::max(0, int(std::floor(std::min(kCentreX, ex))) - 8);
    const int x1 = std::min(kWidth - 1, int(std::ceil(std::max(kCentreX, ex))) + 8);
    const int y0 = std::max(0, int(std::floor(std::min(kCentreY, ey))) - 8);
    const int y1 = std::min(kHeight - 1, int(std::ceil(std::max(kCentreY, ey))) + 8);
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            if (std::abs(-(px - kCentreX) * uy + (py - kCentreY) * ux) > 9.0) continue;
            double along = 0.0;

            // Drop shadow, slightly down and to the right.
            const double s = blade(px - 1.2, py - 2.2, 0.0, along);
            const double shadowCover = clamp01(0.5 - s) * span(along, kNeedleTail, kNeedleTip - 0.5);
            canvas.blend(x, y, rgb(0, 0, 0), 0.32 * shadowCover);

            const double d = blade(px, py, 0.0, along);
            if (along < kWellRadius - 3.0 || along > kNeedleTip + 5.0) continue;
            // Soft glow around the blade, fading out beyond the tip.
            const double beyond = std::max(0.0, along - kNeedleTip);
            const double glow = falloff(std::max(0.0, d) / 1.6) * falloff(beyond / 1.5);
            canvas.blend(x, y, kNeedle, 0.22 * glow);

            const double body = clamp01(0.5 - d) * span(along, kNeedleTail, kNeedleTip - tipHalf);
            const double tx = px - (kCentreX + ux * (kNeedleTip - tipHalf));
            const double ty = py - (kCentreY + uy * (kNeedleTip - tipHalf));
            const double tip = std::sqrt(tx * tx + ty * ty);
            const double cover = std::max(body, clamp01(tipHalf + 0.5 - tip));
            canvas.blend(x, y, kNeedle, cover);

            double coreAlong = 0.0;
            const double core = blade(px, py, -(baseHalf - 0.4), coreAlong);
            canvas.blend(x, y, rgb(255, 206, 170),
                         0.7 * clamp01(0.5 - core) * span(along, kWellRadius, kNeedleTip - 3));
        }
    }
}

void paintWell(Canvas& canvas)
{
    const int x0 = int(kCentreX - kWellRadius) - 6;
    const int x1 = int(kCentreX + kWellRadius) + 6;
    const int y0 = int(kCentreY - kWellRadius) - 6;
    const double top = kCentreY - kWellRadius;
    for (int y = y0; y < kHeight; ++y) {
        const double py = y + 0.5;
        const double down = clamp01((py - top) / (kWellBottom - top));
        const Rgb rowFill = down < 0.35 ? mix(rgb(36, 39, 45), rgb(17, 19, 22), down / 0.35)
                                        : mix(rgb(17, 19, 22), rgb(11, 12, 14), (down - 0.35) / 0.65);
        for (int x = x0; x <= x1; ++x) {
            const double px = x + 0.5;
            const double d = wellDistance(px, py);
            if (d > 0.0) {
                // Shadow the raised well casts on the dial.
                const double sd = std::max(0.0, wellDistance(px, py - 1.5));
                const double shade = sd < 4.0 ? (1.0 - sd / 4.0) : 0.0;
                canvas.blend(x, y, rgb(0, 0, 0), 0.45 * shade * shade);
            }
            const double cover = clamp01(0.5 - d);
            if (cover <= 0.0) continue;
            if (d < -5.5) {
                canvas.set(x, y, rowFill);
                continue;
            }
            // Chrome lip, bright on top and falling into shadow, with a dark
            // groove just inside it.
            const Rgb lip = down < 0.3 ? mix(rgb(176, 182, 192), rgb(96, 102, 112), down / 0.3)
                                       : mix(rgb(96, 102, 112), rgb(34, 37, 42), (down - 0.3) / 0.7);
            Rgb c = rowFill;
            c = mix(c, rgb(0, 0, 0), 0.6 * span(-d, 1.3, 2.3));
            c = mix(c, lip, span(-d, 0.0, 1.3));
            // A small sheen across the top of the well.
            if (py < kCentreY && d > -5.5 && d < -2.5) {
                const double lean = (px - kCentreX) / (kWellRadius + d) / 0.62;
                if (std::abs(lean) < 1.0)
                    c = mix(c, rgb(255, 255, 255), 0.09 * (1.0 - lean * lean) * span(-d, 3.0, 5.0));
            }
            canvas.blend(x, y, c, cover);
        }
    }
}

void paintReadoutUnit(QImage& image, const Scale& scale)
{
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(dialFont(8, 1.2));
    p.setPen(QColor(98, 104, 114));
    p.drawText(QRectF(kCentreX - 40, kWellBottom - 12.5, 80, 10), Qt::AlignCenter,
               QString::fromUtf16(scale.readoutUnit));
}

QImage render(const Scale& scale, const double* needleValue)
{
    QImage image(kGaugeSize, QImage::Format_RGB32);
    Canvas canvas(image);
    paintPlate(canvas);
    paintScale(canvas, scale);
    paintNumbers(image, scale);
    if (needleValue) paintNeedle(canvas, angleOf(scale, *needleValue));
    paintWell(canvas);
    paintReadoutUnit(image, scale);
    return image;
}

}  // namespace

int gaugeFirstValue(GaugeKind kind)
{
    return scaleOf(kind).first;
}

int gaugeLastValue(GaugeKind kind)
{
    return scaleOf(kind).lastFrame;
}

QImage gaugeFace(GaugeKind kind)
{
    return render(scaleOf(kind), nullptr);
}

QImage gaugeFrame(GaugeKind kind, int value)
{
    const Scale scale = scaleOf(kind);
    const double clamped = std::clamp(value, scale.first, scale.lastFrame);
    return render(scale, &clamped);
}

}  // namespace kvrns::dashboard
