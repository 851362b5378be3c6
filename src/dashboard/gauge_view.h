// One dial: shows the frame for a scale position, drawing frames on demand
// and keeping the recent ones, so three dials cost a few megabytes rather
// than every frame in advance.
#pragma once

#include <QCache>
#include <QPixmap>
#include <QWidget>

#include "dashboard/gauge_art.h"

namespace kvrns::dashboard {

class GaugeView : public QWidget {
public:
    GaugeView(GaugeKind kind, QWidget* parent);
    // Before the first reading: the dial's still face.
    void showFace(const QPixmap& face);
    void showPosition(int value);
    int shownPosition() const { return position_; }  // -1 while the face shows

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    GaugeKind kind_;
    QPixmap shown_;
    int position_ = -1;
    QCache<int, QPixmap> frames_{48};
};

// A rounded cell filled with one colour: white for a rail in use, light
// grey for one that is not.
class CellShape : public QWidget {
public:
    explicit CellShape(QWidget* parent) : QWidget(parent) {}
    void setFill(const QColor& fill);
    QColor fill() const { return fill_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QColor fill_ = Qt::white;
};

}  // namespace kvrns::dashboard
