// A label that takes part in the skin's pointer handling: it reports moves,
// presses, releases and clicks to its window instead of letting them fall
// through to the background (where they would start a drag).
#pragma once

#include <QLabel>
#include <QPixmap>

namespace kvrns::chrome {

class PictureLabel : public QLabel {
    Q_OBJECT
public:
    explicit PictureLabel(QWidget* parent = nullptr);

    // Shows the picture stretched to the label's size.
    void showPicture(const QPixmap& picture);
    const QPixmap& shownPicture() const { return shown_; }
    int shownIndex() const { return shownIndex_; }
    void showPicture(const QPixmap& picture, int index)
    {
        shownIndex_ = index;
        showPicture(picture);
    }

signals:
    void pointerMoved(Qt::MouseButtons held, QPoint position);
    void pressed(Qt::MouseButton button, QPoint position);
    void released(Qt::MouseButton button, QPoint position);
    void clicked(Qt::MouseButton button);
    void doubleClicked();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QPixmap shown_;
    int shownIndex_ = 0;
    bool pressedInside_ = false;
};

}  // namespace kvrns::chrome
