#include "chrome/skinned_window.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "chrome/drag_outline.h"
#include "chrome/picture_label.h"

namespace kvrns::chrome {
namespace {

float screenScale()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return 1.0f;
    // The pixels per inch of the device, so the skin keeps its pixel size.
    return displayScale(screen->logicalDotsPerInchX() * screen->devicePixelRatio());
}

QRegion keyRegion(const QImage& face)
{
    // Runs of kept pixels, row by row: a pixel is a hole when it is the key
    // colour or fully transparent.
    const QImage image = face.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = SkinColourKey.rgb();
    QRegion region;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int x = 0;
        while (x < image.width()) {
            while (x < image.width() && (qAlpha(row[x]) == 0 || row[x] == key)) ++x;
            const int start = x;
            while (x < image.width() && qAlpha(row[x]) != 0 && row[x] != key) ++x;
            if (x > start) region += QRect(start, y, x - start, 1);
        }
    }
    return region;
}

}  // namespace

SkinnedWindow::SkinnedWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), twips_(screenScale())
{
    setMouseTracking(true);
    setAttribute(Qt::WA_TranslucentBackground);
}

SkinnedWindow::~SkinnedWindow()
{
    delete outline_;
}

bool SkinnedWindow::canPlaceWindows()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void SkinnedWindow::setSkin(const QPixmap& skin)
{
    const QSize size(twips_.px(skin.width() * kTwipsPerPixelAt96), twips_.px(skin.height() * kTwipsPerPixelAt96));
    skin_ = size == skin.size() ? skin : skin.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    setFixedSize(skin_.size());
    setMask(keyRegion(skin_.toImage()));
    update();
}

void SkinnedWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, skin_);
}

QLabel* SkinnedWindow::addLabel(const QString& name, const QString& text, QRect r, const QString& family,
                                double points, bool bold, QColor colour, Qt::Alignment align)
{
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setGeometry(twips_.rect(r.x(), r.y(), r.width(), r.height()));
    QFont font(family);
    font.setPointSizeF(twips_.points(points));
    font.setBold(bold);
    label->setFont(font);
    label->setAlignment(align);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TranslucentBackground);
    return label;
}

void SkinnedWindow::addDialogCaptionButtons(QPoint minimiseAt, QPoint closeAt)
{
    const QString d = QStringLiteral(":/assets/warnings/");
    auto pictures = [&d](const char* name) {
        return ButtonPictures{QPixmap(d + QLatin1String(name) + QStringLiteral("_normal.png")),
                              QPixmap(d + QLatin1String(name) + QStringLiteral("_pressed.png")),
                              QPixmap(d + QLatin1String(name) + QStringLiteral("_hover.png"))};
    };
    addMinimiseButton(pictures("minimise"), minimiseAt)->setObjectName(QStringLiteral("Image1"));
    addCloseButton(pictures("close"), closeAt)->setObjectName(QStringLiteral("Image3"));
}

void SkinnedWindow::activateAfter(int delayMs)
{
    QTimer::singleShot(delayMs, this, [this] {
        // Where the first design clicked at fixed screen coordinates, the
        // toolkit raises and focuses the window wherever it is.
        raise();
        activateWindow();
        activationDone_ = true;
        emit activated();
    });
}

PictureLabel* SkinnedWindow::makeCaptionButton(const ButtonPictures& pictures, QPoint twipsAt)
{
    auto* label = new PictureLabel(this);
    label->setGeometry(twips_.rect(twipsAt.x(), twipsAt.y(), 300, 300));
    label->showPicture(pictures.normal, 1);
    captionButtons_.append({label, pictures});
    connect(label, &PictureLabel::pointerMoved, this, [this, label] { showHover(label); });
    connect(label, &PictureLabel::pressed, this, [pictures, label] { label->showPicture(pictures.pressed, 2); });
    connect(label, &PictureLabel::released, this, [pictures, label] { label->showPicture(pictures.normal, 1); });
    return label;
}

PictureLabel* SkinnedWindow::addCaptionButton(const ButtonPictures& pictures, QPoint twipsAt)
{
    return makeCaptionButton(pictures, twipsAt);
}

PictureLabel* SkinnedWindow::addMinimiseButton(const ButtonPictures& pictures, QPoint twipsAt)
{
    PictureLabel* button = makeCaptionButton(pictures, twipsAt);
    connect(button, &PictureLabel::clicked, this, [this] { minimiseButtonClicked(); });
    return button;
}

PictureLabel* SkinnedWindow::addCloseButton(const ButtonPictures& pictures, QPoint twipsAt)
{
    PictureLabel* button = makeCaptionButton(pictures, twipsAt);
    connect(button, &PictureLabel::clicked, this, [this] { closeButtonClicked(); });
    return button;
}

void SkinnedWindow::showHover(PictureLabel* hovered)
{
    // The button under the pointer shows its hover picture, the others
    // their normal one; leaving across the window's edge changes nothing.
    for (const auto& button : captionButtons_)
        button.label->showPicture(button.label == hovered ? button.pictures.hover : button.pictures.normal,
                                  button.label == hovered ? 3 : 1);
}

void SkinnedWindow::hoverReset()
{
    showHover(nullptr);
}

void SkinnedWindow::addDragHandle(PictureLabel* handle)
{
    connect(handle, &PictureLabel::pressed, this, [this, handle](Qt::MouseButton button, QPoint at) {
        QMouseEvent event(QEvent::MouseButtonPress, handle->mapTo(this, at), handle->mapToGlobal(at), button, button,
                          Qt::NoModifier);
        beginDrag(&event);
    });
    connect(handle, &PictureLabel::pointerMoved, this, [this, handle](Qt::MouseButtons held, QPoint at) {
        QMouseEvent event(QEvent::MouseMove, handle->mapTo(this, at), handle->mapToGlobal(at), Qt::NoButton, held,
                          Qt::NoModifier);
        followDrag(&event);
    });
    connect(handle, &PictureLabel::released, this, [this, handle](Qt::MouseButton button, QPoint at) {
        QMouseEvent event(QEvent::MouseButtonRelease, handle->mapTo(this, at), handle->mapToGlobal(at), button,
                          Qt::NoButton, Qt::NoModifier);
        endDrag(&event);
    });
}

double SkinnedWindow::twipsPerPixel() const
{
    const QScreen* s = screen();
    const double dpi = s ? s->logicalDotsPerInchX() : 96.0;
    return kTwipsPerInch / (dpi > 0 ? dpi : 96.0);
}

QPoint SkinnedWindow::eventTwips(QMouseEvent* event) const
{
    // Screen coordinates, so a drag handle and the background agree; only
    // differences count.
    const QPointF global = event->globalPosition();
    const double tpp = twipsPerPixel();
    return {roundHalfEven(global.x() * tpp), roundHalfEven(global.y() * tpp)};
}

void SkinnedWindow::mousePressEvent(QMouseEvent* event)
{
    backgroundPressed(event->button());
    beginDrag(event);
}

void SkinnedWindow::mouseMoveEvent(QMouseEvent* event)
{
    hoverReset();
    followDrag(event);
}

void SkinnedWindow::mouseReleaseEvent(QMouseEvent* event)
{
    endDrag(event);
}

void SkinnedWindow::beginDrag(QMouseEvent* event)
{
    if (!(dragButtons_.start & event->button())) return;
    if (!canPlaceWindows()) {
        // The compositor places windows here; let it move this one.
        if (event->button() == Qt::LeftButton && windowHandle()) windowHandle()->startSystemMove();
        return;
    }
    const double tpp = twipsPerPixel();
    drag_.begin(eventTwips(event), frameGeometry(), tpp, tpp);
    dragging_ = true;
}

void SkinnedWindow::followDrag(QMouseEvent* event)
{
    if (!dragging_ || event->buttons() != dragButtons_.follow) return;
    if (!outline_) outline_ = new DragOutline;
    outline_->showAt(drag_.move(eventTwips(event)));
}

void SkinnedWindow::endDrag(QMouseEvent* event)
{
    if (!dragging_ || !(dragButtons_.end & event->button())) return;
    dragging_ = false;
    if (outline_) outline_->hide();
    const QPoint topLeftTwips = drag_.end(eventTwips(event));
    const double tpp = twipsPerPixel();
    move(roundHalfEven(topLeftTwips.x() / tpp), roundHalfEven(topLeftTwips.y() / tpp));
}

}  // namespace kvrns::chrome
