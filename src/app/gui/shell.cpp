#include "app/gui/shell.h"

#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>

#include "chrome/messages.h"
#include "dashboard/dashboard_window.h"
#include "dashboard/mini_window.h"

namespace kvrns::app {

Shell::Shell(dashboard::DashboardWindow& dashboard, std::function<void()> end, QObject* parent)
    : QObject(parent), dashboard_(dashboard), end_(std::move(end)),
      trayAvailable_([] { return QSystemTrayIcon::isSystemTrayAvailable(); })
{
    mnmenu_ = new QMenu;
    mnmenu_->setObjectName(QStringLiteral("mnmenu"));
    addItem(*mnmenu_, QStringLiteral("mnmax2"), QStringLiteral("Maximize"), &Shell::showDashboard);
    mnmenu_->addSeparator()->setObjectName(QStringLiteral("mndot3"));
    addItem(*mnmenu_, QStringLiteral("mnuexit"), QStringLiteral("Exit"), &Shell::exit);

    mnshow_ = new QMenu;
    mnshow_->setObjectName(QStringLiteral("mnshow"));
    addItem(*mnshow_, QStringLiteral("mnmax"), QStringLiteral("Maximize"), &Shell::maximiseFromMini);
    mnshow_->addSeparator()->setObjectName(QStringLiteral("mndot1"));
    addItem(*mnshow_, QStringLiteral("mnmin"), QStringLiteral("Minimize"), &Shell::minimiseToTray);
    mnshow_->addSeparator()->setObjectName(QStringLiteral("mndot2"));
    addItem(*mnshow_, QStringLiteral("mnexit2"), QStringLiteral("Exit"), &Shell::exit);

    dashboard::MiniWindow::Hooks hooks;
    hooks.telemetry = [this] { return dashboard_.telemetry(); };
    hooks.showDashboard = [this] {
        dashboard_.show();
        dashboard_.raise();
        dashboard_.activateWindow();
    };
    hooks.popupMenu = [this](QPoint at) { mnshow_->popup(at); };
    hooks.end = [this] { exit(); };
    mini_ = new dashboard::MiniWindow(std::move(hooks));
    dashboard_.setMiniWindowOpener([this] { showMiniWindow(); });
}

Shell::~Shell()
{
    delete tray_;
    delete mini_;
    delete mnshow_;
    delete mnmenu_;
}

QAction* Shell::addItem(QMenu& menu, const QString& name, const QString& text, void (Shell::*action)())
{
    QAction* item = menu.addAction(text);
    item->setObjectName(name);
    connect(item, &QAction::triggered, this, action);
    return item;
}

void Shell::showMiniWindow()
{
    const QScreen* screen = dashboard_.screen();
    mini_->showBeside(screen ? screen->geometry() : QRect(0, 0, 1920, 1080));
    dashboard_.hide();
}

void Shell::minimiseToTray()
{
    if (!trayAvailable_()) {
        // Hiding everything here would leave the program out of reach.
        chrome::showError(mini_, QStringLiteral("This desktop has no notification area, so KVRNS stays in its mini "
                                                "window. Choose Maximize to return to the dashboard."));
        return;
    }
    mini_->hide();
    if (!tray_) {
        // One icon for the whole run, however often the program goes there.
        tray_ = new QSystemTrayIcon(QIcon(QStringLiteral(":/assets/icons/kvrns-64.png")));
        tray_->setObjectName(QStringLiteral("PicOn(0)"));
        tray_->setToolTip(QStringLiteral("TALVORN"));
        tray_->setContextMenu(mnmenu_);
        connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::DoubleClick) showDashboard();
        });
    }
    tray_->show();
}

void Shell::maximiseFromMini()
{
    dashboard_.show();
    dashboard_.raise();
    dashboard_.activateWindow();
    mini_->hide();
}

void Shell::showDashboard()
{
    dashboard_.show();
}

void Shell::exit()
{
    if (end_) end_();
}

}  // namespace kvrns::app
