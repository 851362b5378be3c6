#include "chrome/skin_geometry.h"

#include <cmath>

namespace kvrns::chrome {

float displayScale(double pixelsPerInch)
{
    if (pixelsPerInch <= 0) return 1.0f;
    return static_cast<float>(kTwipsPerInch / pixelsPerInch / kTwipsPerPixelAt96);
}

int roundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

int TwipScale::px(int twips) const
{
    return roundHalfEven(twips * static_cast<double>(scale_) / kTwipsPerPixelAt96);
}

void DragState::begin(QPoint pressTwips, QRect windowRectPx, double tppX, double tppY)
{
    pressPoint = pressTwips;
    windowRect = windowRectPx;
    twipsPerPixelX = tppX;
    twipsPerPixelY = tppY;
    focusRect = windowRect;
}

QRect DragState::move(QPoint pointTwips)
{
    const int dx = roundHalfEven((pointTwips.x() - pressPoint.x()) / twipsPerPixelX);
    const int dy = roundHalfEven((pointTwips.y() - pressPoint.y()) / twipsPerPixelY);
    focusRect = windowRect.translated(dx, dy);
    return focusRect;
}

QPoint DragState::end(QPoint pointTwips) const
{
    const float left = static_cast<float>(windowRect.left() * twipsPerPixelX + (pointTwips.x() - pressPoint.x()));
    const float top = static_cast<float>(windowRect.top() * twipsPerPixelY + (pointTwips.y() - pressPoint.y()));
    return {roundHalfEven(left), roundHalfEven(top)};
}

}  // namespace kvrns::chrome
