// The program's shell around the dashboard: the mini window, the tray icon
// and the two menus, and the ways the program ends.
#pragma once

#include <QObject>
#include <functional>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace kvrns::dashboard {
class DashboardWindow;
class MiniWindow;
}  // namespace kvrns::dashboard

namespace kvrns::app {

class Shell : public QObject {
    Q_OBJECT
public:
    // `end` ends the program at once, without writing the settings.
    Shell(dashboard::DashboardWindow& dashboard, std::function<void()> end, QObject* parent = nullptr);
    ~Shell() override;

    dashboard::MiniWindow& miniWindow() const { return *mini_; }
    QMenu& trayMenu() const { return *mnmenu_; }      // Maximize, Exit
    QMenu& miniMenu() const { return *mnshow_; }      // Maximize, Minimize, Exit
    QSystemTrayIcon* trayIcon() const { return tray_; }  // null until the first Minimize

    void showMiniWindow();    // the dashboard's mini-window button
    void minimiseToTray();    // mnmin
    void maximiseFromMini();  // mnmax
    void showDashboard();     // mnmax2 and the icon's double-click

    // Whether the desktop shows tray icons; tests may say it does not.
    void setTrayAvailable(std::function<bool()> available) { trayAvailable_ = std::move(available); }

private:
    QAction* addItem(QMenu& menu, const QString& name, const QString& text, void (Shell::*action)());
    void exit();

    dashboard::DashboardWindow& dashboard_;
    std::function<void()> end_;
    std::function<bool()> trayAvailable_;
    dashboard::MiniWindow* mini_ = nullptr;
    QMenu* mnmenu_ = nullptr;
    QMenu* mnshow_ = nullptr;
    QSystemTrayIcon* tray_ = nullptr;
};

}  // namespace kvrns::app
