#include "warnings/warning_windows.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <algorithm>
#include <memory>

#include "chrome/picture_label.h"

namespace kvrns::warnings {
namespace {

const QString kPictures = QStringLiteral(":/assets/warnings/");

QPixmap picture(const char* name)
{
    return QPixmap(kPictures + QLatin1String(name));
}

struct Layout {
    const char* title;
    QRect titleRect;
    QRect messageRect;
    QRect railRect;
    QPoint minimiseAt, closeAt;
    int height;
};

Layout layoutOf(WarningKind kind)
{
    switch (kind) {
        case WarningKind::OverCurrent:
            return {"Over Current Warning Point",
                    {360, 240, 4455, 375},
                    {840, 1440, 6975, 2295},
                    {1200, 1395, 975, 315},
                    {8760, 315},
                    {9120, 315},
                    5865};
        case WarningKind::OverVoltage:
            return {"Over Voltage Warning Point",
                    {360, 240, 4335, 375},
                    {960, 1485, 6735, 2295},
                    {1320, 1440, 975, 315},
                    {8760, 330},
                    {9120, 330},
                    5865};
        case WarningKind::OverTemperature: break;
    }
    return {
        "Over Temperature Warning", {360, 240, 4335, 375}, {960, 1320, 6735, 2055}, {}, {8760, 330}, {9120, 330}, 5895};
}

}  // namespace

QStringList overCurrentMessage()
{
    return {QStringLiteral("The ______ rail output current reaches the warning point."),
            QStringLiteral("Please reduce / close unnecessary programs to decrease"),
            QStringLiteral("the system load.")};
}

QStringList overVoltageMessage()
{
    return {QStringLiteral("The ______ output voltage reaches the warning point."),
            QStringLiteral("Please reduce the voltage by adjusting the corresponding"),
            QStringLiteral("voltage regulator.")};
}

QStringList overTemperatureMessage()
{
    return {QStringLiteral("The PSU internal temperature is high. Please"),
            QStringLiteral("1. Check if your system has sufficient cooling, or increase"),
            QStringLiteral("    system\u2019s fan speed"),
            QStringLiteral("2. Reduce / Close unnecessary programs."),
            QStringLiteral("    The over temperature protection will be triggered and shut"),
            QStringLiteral("    down the power if the PSU internal temperature reaches"),
            QStringLiteral("    90~120oC/195~248oF.")};
}

WarningWindow::WarningWindow(WarningKind kind, int rail, QWidget* parent) : SkinnedWindow(parent), kind_(kind)
{
    const Layout layout = layoutOf(kind);
    static constexpr const char* names[] = {"Ocpwarmfrm", "Ovpwarmfrm", "Warmfrm"};
    setObjectName(QLatin1String(names[static_cast<int>(kind)]));
    setWindowTitle(QStringLiteral("TALVORN"));
    setSkin(picture("background.png"));
    if (skin().isNull()) setFixedSize(twips().px(9975), twips().px(layout.height));

    title_ = addText(QStringLiteral("LabelTitle"), QLatin1String(layout.title), layout.titleRect,
                     QStringLiteral("Arial"), 13.5, true, Qt::white);
    const QStringList lines = kind == WarningKind::OverCurrent   ? overCurrentMessage()
                              : kind == WarningKind::OverVoltage ? overVoltageMessage()
                                                                 : overTemperatureMessage();
    message_ = addText(QStringLiteral("Label1(1)"), lines.join(QLatin1Char('\n')), layout.messageRect,
                       QStringLiteral("Arial"), 13, false);
    // Every line must show whole, whatever the font's metrics: widen the
    // text toward the window's right edge when it needs the room.
    const int roomy = std::min(message_->sizeHint().width(), width() - message_->x() - twips().px(300));
    if (roomy > message_->width()) message_->resize(roomy, message_->height());
    if (kind != WarningKind::OverTemperature) {
        const auto name = kind == WarningKind::OverCurrent ? ocpRailName(rail) : ovpRailName(rail);
        rail_ = addText(QStringLiteral("Label2(0)"), QString::fromLatin1(name.data(), static_cast<int>(name.size())),
                        layout.railRect, QStringLiteral("MS Sans Serif"), 12, true, Qt::black,
                        Qt::AlignHCenter | Qt::AlignTop);
    }

    addMinimiseButton({picture("minimise_normal.png"), picture("minimise_pressed.png"), picture("minimise_hover.png")},
                      layout.minimiseAt)
        ->setObjectName(QStringLiteral("Image1"));
    addCloseButton({picture("close_normal.png"), picture("close_pressed.png"), picture("close_hover.png")},
                   layout.closeAt)
        ->setObjectName(QStringLiteral("Image3"));

    if (kind == WarningKind::OverTemperature) {
        createTextButtons();
        activateAfter(200);
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QLabel* WarningWindow::addText(const QString& name, const QString& text, QRect r, const QString& family, double points,
                               bool bold, QColor colour, Qt::Alignment align)
{
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setGeometry(twips().rect(r.x(), r.y(), r.width(), r.height()));
    QFont font(family);
    font.setPointSizeF(twips().points(points));
    font.setBold(bold);
    label->setFont(font);
    label->setAlignment(align);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TranslucentBackground);
    return label;
}

void WarningWindow::createTextButtons()
{
    const std::array<const char*, 2> texts{"Remide me later", "Don't reminder me"};
    const std::array<int, 2> xs{960, 3960};
    for (int i = 0; i < 2; ++i) {
        auto* background = new chrome::PictureLabel(this);
        background->setObjectName(QStringLiteral("AALabel(%1)").arg(i));
        background->setGeometry(twips().rect(xs[i], 3840, 2775, 615));
        AALabel_[i] = background;
        auto* text = new chrome::PictureLabel(this);
        text->setObjectName(QStringLiteral("AALabel_txt(%1)").arg(i));
        text->setText(QLatin1String(texts[i]));
        text->setGeometry(twips().rect(xs[i] + 75, 4005, 2535, 375));
        text->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        QFont font(QStringLiteral("Segoe UI Symbol"));
        font.setPointSizeF(twips().points(9.75));
        font.setBold(true);
        text->setFont(font);
        QPalette palette = text->palette();
        palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
        text->setPalette(palette);
        AALabel_txt_[i] = text;
        showTextButton(i, 7);

        // Either button, picture or text, closes the window; which one is
        // not recorded, so the warning comes back while the condition lasts.
        for (auto* part : {background, text}) {
            connect(part, &chrome::PictureLabel::clicked, this, [this] { close(); });
            connect(part, &chrome::PictureLabel::pointerMoved, this, [this, i] {
                showTextButton(i, 9);
                showTextButton(1 - i, 7);
            });
        }
        connect(background, &chrome::PictureLabel::pressed, this, [this, i] { showTextButton(i, 8); });
        connect(background, &chrome::PictureLabel::released, this, [this, i] { showTextButton(i, 7); });
    }
}

void WarningWindow::showTextButton(int index, int number)
{
    const char* files[] = {"textbutton_normal.png", "textbutton_pressed.png", "textbutton_hover.png"};
    AALabel_[index]->showPicture(picture(files[number - 7]), number);
}

void WarningWindow::hoverReset()
{
    SkinnedWindow::hoverReset();
    if (AALabel_[0]) {
        showTextButton(0, 7);
        showTextButton(1, 7);
    }
}

QString WarningWindow::titleText() const
{
    return title_->text();
}
QString WarningWindow::railText() const
{
    return rail_ ? rail_->text() : QString();
}
QString WarningWindow::messageText() const
{
    return message_->text().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

void WarningWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit closed();
}

void presentWarnings(const std::vector<Warning>& raised, std::function<void()> done)
{
    struct Queue {
        std::vector<Warning> pending;
        std::size_t next = 0;
        std::function<void()> done;
    };
    auto queue = std::make_shared<Queue>(Queue{raised, 0, std::move(done)});
    auto showNext = std::make_shared<std::function<void()>>();
    *showNext = [queue, showNext] {
        if (queue->next >= queue->pending.size()) {
            if (queue->done) queue->done();
            *showNext = nullptr;  // breaks the cycle of references
            return;
        }
        const Warning warning = queue->pending[queue->next++];
        auto* window = new WarningWindow(warning.kind, warning.rail);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setWindowModality(Qt::ApplicationModal);
        QObject::connect(window, &WarningWindow::closed, window, [showNext] {
            // After this window has gone, not from inside its close.
            QMetaObject::invokeMethod(
                qApp,
                [showNext] {
                    if (*showNext) (*showNext)();
                },
                Qt::QueuedConnection);
        });
        window->show();
    };
    (*showNext)();
}

}  // namespace kvrns::warnings
