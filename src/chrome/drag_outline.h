// The dotted outline that follows the pointer while a window is dragged;
// the window itself moves once, on release.
#pragma once

#include <QWidget>

namespace kvrns::chrome {

class DragOutline : public QWidget {
public:
    DragOutline();
    void showAt(const QRect& screenRect);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace kvrns::chrome
