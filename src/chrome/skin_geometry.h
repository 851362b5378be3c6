// Twips, pixels and the screen scale. Layouts are given in twips (1440 per
// inch, 15 per pixel at 96 pixels per inch); every window keeps the pixel
// size at which its skin pictures fit, whatever the screen's density.
#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>

namespace kvrns::chrome {

// Pure yellow: pixels of this colour in a skin are holes in the window.
inline const QColor SkinColourKey{255, 255, 0};

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kTwipsPerPixelAt96 = 15;

// 1440 / pixels per inch / 15: exactly 1.0 at 96 pixels per inch, 0.8 at 120.
float displayScale(double pixelsPerInch);

// A layout in twips turned into the window's coordinates.
class TwipScale {
public:
    explicit TwipScale(float displayScale = 1.0f) : scale_(displayScale) {}
    int px(int twips) const;
    QPoint point(int xTwips, int yTwips) const { return {px(xTwips), px(yTwips)}; }
    QRect rect(int xTwips, int yTwips, int wTwips, int hTwips) const
    {
        return {px(xTwips), px(yTwips), px(wTwips), px(hTwips)};
    }
    double points(double fontPoints) const { return scale_ == 1.0f ? fontPoints : fontPoints * scale_; }
    float scale() const { return scale_; }

private:
    float scale_;
};

// Moving a window by dragging its background: an outline follows the
// pointer and the window moves once, on release.
struct DragState {
    QPoint pressPoint;  // twips, in the pressed control's coordinates
    QRect windowRect;   // screen pixels at the press
    double twipsPerPixelX = kTwipsPerPixelAt96;
    double twipsPerPixelY = kTwipsPerPixelAt96;
    QRect focusRect;  // the outline, screen pixels

    // Press at `pressTwips` on a window whose screen rectangle is
    // `windowRectPx`.
    void begin(QPoint pressTwips, QRect windowRectPx, double tppX, double tppY);
    // The pointer is at `pointTwips` (same coordinates as the press): the
    // outline is the window's rectangle shifted by the displacement.
    QRect move(QPoint pointTwips);
    // Released at `pointTwips`: the window's new top-left, in twips.
    QPoint end(QPoint pointTwips) const;
};

// Halves to even, as the layout arithmetic rounds.
int roundHalfEven(double value);

}  // namespace kvrns::chrome
