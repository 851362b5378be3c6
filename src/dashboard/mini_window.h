// The mini window: output power, efficiency and temperature in a small
// floating readout near the bottom right corner of the screen, standing in
// for the dashboard.
#pragma once

#include <array>
#include <functional>

#include "chrome/skinned_window.h"
#include "common/numtext.h"
#include "protocol/telemetry.h"

class QLabel;
class QMenu;
class QTimer;

namespace kvrns::chrome {
class PictureLabel;
}

namespace kvrns::dashboard {

class MiniWindow : public chrome::SkinnedWindow {
    Q_OBJECT
public:
    struct Hooks {
        std::function<Telemetry()> telemetry;  // the latest readings
        std::function<void()> showDashboard;   // double-click
        std::function<void(QPoint)> popupMenu; // right button: the mnshow menu at a screen point
        std::function<void()> end;             // closing it ends the program
        NumberLocale locale;
    };
    explicit MiniWindow(Hooks hooks, QWidget* parent = nullptr);

    // The first showing places it by the corner of `screenArea` (the screen
    // the dashboard is on); later showings keep where it was left.
    void showBeside(const QRect& screenArea);
    void refresh();  // Timer1
    QTimer* refreshTimer() const { return timer1_; }
    int badge() const;  // picture 3, 4 or 5

    // Pictures 3, 4, 5 by the whole part of the temperature: up to 60, up to
    // 85, above.
    static int badgeFor(const std::string& temperature, NumberLocale locale);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Hooks hooks_;
    std::array<QLabel*, 3> values_{};
    chrome::PictureLabel* badge_ = nullptr;
    QTimer* timer1_ = nullptr;
    bool placed_ = false;
};

}  // namespace kvrns::dashboard
