#include "settings/dialogs/dialog_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

namespace kvrns::settings {

DialogWindow::DialogWindow(const QString& objectName, const QString& background, QSize sizeTwips,
                           int activationDelayMs, QWidget* parent)
    : SkinnedWindow(parent)
{
    setObjectName(objectName);
    setWindowTitle(QStringLiteral("TALVORN"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    const QPixmap skin(QStringLiteral(":/assets/dialogs/") + background);
    const QSize size(sizeTwips.width() / chrome::kTwipsPerPixelAt96, sizeTwips.height() / chrome::kTwipsPerPixelAt96);
    setSkin(skin.size() == size || skin.isNull() ? skin : skin.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    if (skin.isNull()) setFixedSize(twips().px(sizeTwips.width()), twips().px(sizeTwips.height()));
    addDialogCaptionButtons({8760, 330}, {9120, 330});
    activateAfter(activationDelayMs);
}

void DialogWindow::open()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
}

void DialogWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit closed();
}

}  // namespace kvrns::settings
