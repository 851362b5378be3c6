#include "app/gui/intro_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include "chrome/messages.h"
#include "chrome/text_buttons.h"

namespace kvrns::app {

IntroWindow::IntroWindow(settings::SettingValues values, std::filesystem::path settingsPath, QWidget* parent)
    : SkinnedWindow(parent), values_(std::move(values)), settingsPath_(std::move(settingsPath))
{
    setObjectName(QStringLiteral("Titlefrm"));
    setWindowTitle(QStringLiteral("TALVORN"));
    setSkin(QPixmap(QStringLiteral(":/assets/dialogs/intro.png")));
    if (skin().isNull()) setFixedSize(twips().px(11100), twips().px(5925));
    addDialogCaptionButtons({10005, 240}, {10365, 240});
    addLabel(QStringLiteral("Label1(1)"), QStringLiteral("TALVORN Kavorine (KVRNS)."), {1320, 2400, 8535, 375},
             QStringLiteral("Arial"), 16, true, palette().color(QPalette::WindowText), Qt::AlignHCenter | Qt::AlignTop);
    // This window numbers its button pictures the other way round.
    button_ = new chrome::TextButtons(this,
                                      {{{6960, 3120, 3525, 525}, {7080, 3280, 3255, 255},
                                        QStringLiteral("Do not remind me again")}},
                                      QStringLiteral("Arial"), 12, palette().color(QPalette::WindowText), {9, 8, 7});
    connect(button_, &chrome::TextButtons::clicked, this, &IntroWindow::doNotRemind);

    timer1_ = new QTimer(this);
    timer1_->setInterval(5000);
    timer1_->setSingleShot(true);
    connect(timer1_, &QTimer::timeout, this, &IntroWindow::waitOver);
    timer2_ = new QTimer(this);
    timer2_->setInterval(100);
    timer2_->setSingleShot(true);
    connect(timer2_, &QTimer::timeout, this, [this] {
        raise();
        activateWindow();
    });
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void IntroWindow::showEvent(QShowEvent* event)
{
    SkinnedWindow::showEvent(event);
    activated();
}

void IntroWindow::changeEvent(QEvent* event)
{
    SkinnedWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) activated();
}

void IntroWindow::activated()
{
    // Each activation restarts the five-second wait.
    timer1_->start();
    timer2_->start();
}

void IntroWindow::doNotRemind()
{
    timer1_->stop();
    if (settings::writeSettingsLine(settingsPath_, settings::introOffLine(values_)) == WriteStatus::AccessDenied)
        chrome::showFileFailure(this);
    leave();
}

void IntroWindow::waitOver()
{
    leave();
}

void IntroWindow::leave()
{
    close();
}

void IntroWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    timer1_->stop();
    if (!left_) {
        left_ = true;
        emit finished();
    }
}

void IntroWindow::hoverReset()
{
    SkinnedWindow::hoverReset();
    button_->reset();
}

}  // namespace kvrns::app
