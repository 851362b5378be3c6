// What every window of the program shares: a borderless face made of one
// picture whose pure-yellow pixels are holes, moving by dragging the
// background with an outline that follows the pointer, caption buttons
// whose pictures follow the pointer, and bringing itself to the front once
// after it opens.
#pragma once

#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include "chrome/skin_geometry.h"

class QLabel;
class QTimer;

namespace kvrns::chrome {

class DragOutline;
class PictureLabel;

// Which mouse buttons start, follow and end a drag.
struct DragButtons {
    Qt::MouseButtons start = Qt::AllButtons;
    Qt::MouseButtons follow = Qt::LeftButton;
    Qt::MouseButtons end = Qt::AllButtons;
};

// The pictures of one caption button: normal, pressed, pointer over.
struct ButtonPictures {
    QPixmap normal, pressed, hover;
};

class SkinnedWindow : public QWidget {
    Q_OBJECT
public:
    explicit SkinnedWindow(QWidget* parent = nullptr);
    ~SkinnedWindow() override;

    const TwipScale& twips() const { return twips_; }
    float displayScale() const { return twips_.scale(); }

    // The window's face; its yellow and transparent pixels become holes
    // through which clicks reach the window behind.
    void setSkin(const QPixmap& skin);
    const QPixmap& skin() const { return skin_; }
    QRegion colourKeyRegion() const { return mask(); }

    void setDragButtons(DragButtons buttons) { dragButtons_ = buttons; }
    bool dragging() const { return dragging_; }
    // Whether the platform lets a program place its own windows; where it
    // does not (Wayland), drags are handed to the compositor.
    static bool canPlaceWindows();

    // Brings the window to the front and gives it focus once, `delayMs`
    // after the call.
    void activateAfter(int delayMs);
    bool activationDone() const { return activationDone_; }

    // The image under the pointer that drags the window like its background
    // (the dashboard's title picture).
    void addDragHandle(PictureLabel* handle);

signals:
    void activated();

protected:
    // Caption buttons: minimise and close, placed in twips.
    PictureLabel* addMinimiseButton(const ButtonPictures& pictures, QPoint twipsAt);
    PictureLabel* addCloseButton(const ButtonPictures& pictures, QPoint twipsAt);
    // A further caption button (the dashboard's mini-window button).
    PictureLabel* addCaptionButton(const ButtonPictures& pictures, QPoint twipsAt);

    // A text label laid out in twips, with the window's scale applied to
    // its font; transparent, so the skin shows through.
    QLabel* addLabel(const QString& name, const QString& text, QRect twipsRect, const QString& family, double points,
                     bool bold, QColor colour = Qt::black, Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop);
    // The dialogs' caption buttons, from the shared light-dialog pictures.
    void addDialogCaptionButtons(QPoint minimiseAt, QPoint closeAt);

    // The close button's own action.
    virtual void closeButtonClicked() { close(); }
    virtual void minimiseButtonClicked() { showMinimized(); }
    // The pointer moved over the background: buttons back to normal.
    virtual void hoverReset();
    // A press on the background, before the drag begins.
    virtual void backgroundPressed(Qt::MouseButton) {}

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    void beginDrag(QMouseEvent* event);
    void followDrag(QMouseEvent* event);
    void endDrag(QMouseEvent* event);

private:
    struct CaptionButton {
        PictureLabel* label;
        ButtonPictures pictures;
    };
    PictureLabel* makeCaptionButton(const ButtonPictures& pictures, QPoint twipsAt);
    void showHover(PictureLabel* hovered);
    QPoint eventTwips(QMouseEvent* event) const;
    double twipsPerPixel() const;

    TwipScale twips_;
    QPixmap skin_;
    DragButtons dragButtons_;
    DragState drag_;
    bool dragging_ = false;
    DragOutline* outline_ = nullptr;
    QList<CaptionButton> captionButtons_;
    bool activationDone_ = false;
};

}  // namespace kvrns::chrome
