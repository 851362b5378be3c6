#include "warnings/warning_windows.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <algorithm>
#include <memory>

#include "chrome/picture_label.h"
#include "chrome/text_buttons.h"

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
    // One background serves all three; the over-temperature window is two
    // pixels taller.
    const QPixmap background = picture("background.png");
    const QSize size(9975 / 15, layout.height / 15);
    setSkin(background.size() == size ? background : background.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation));

    title_ = addLabel(QStringLiteral("LabelTitle"), QLatin1String(layout.title), layout.titleRect,
                      QStringLiteral("Arial"), 13.5, true, Qt::white);
    const QStringList lines = kind == WarningKind::OverCurrent   ? overCurrentMessage()
                              : kind == WarningKind::OverVoltage ? overVoltageMessage()
                                                                 : overTemperatureMessage();
    message_ = addLabel(QStringLiteral("Label1(1)"), lines.join(QLatin1Char('\n')), layout.messageRect,
                        QStringLiteral("Arial"), 13, false);
    // Every line must show whole, whatever the font's metrics: widen the
    // text toward the window's right edge when it needs the room.
    const int roomy = std::min(message_->sizeHint().width(), width() - message_->x() - twips().px(300));
    if (roomy > message_->width()) message_->resize(roomy, message_->height());
    if (kind != WarningKind::OverTemperature) {
        const auto name = kind == WarningKind::OverCurrent ? ocpRailName(rail) : ovpRailName(rail);
        rail_ = addLabel(QStringLiteral("Label2(0)"), QString::fromLatin1(name.data(), static_cast<int>(name.size())),
                         layout.railRect, QStringLiteral("MS Sans Serif"), 12, true, Qt::black,
                         Qt::AlignHCenter | Qt::AlignTop);
    }

    addDialogCaptionButtons(layout.minimiseAt, layout.closeAt);

    if (kind == WarningKind::OverTemperature) {
        createTextButtons();
        activateAfter(200);
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void WarningWindow::createTextButtons()
{
    // Either button, picture or text, closes the window; which one is not
    // recorded, so the warning comes back while the condition lasts.
    buttons_ = new chrome::TextButtons(this,
                                       {{{960, 3840, 2775, 615}, {1035, 4005, 2535, 375}, QStringLiteral("Remide me later")},
                                        {{3960, 3840, 2775, 615}, {4035, 4005, 2535, 375}, QStringLiteral("Don't reminder me")}},
                                       QStringLiteral("Segoe UI Symbol"), 9.75, QColor(255, 0, 0));
    connect(buttons_, &chrome::TextButtons::clicked, this, [this] { close(); });
}

void WarningWindow::hoverReset()
{
    SkinnedWindow::hoverReset();
    if (buttons_) buttons_->reset();
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
