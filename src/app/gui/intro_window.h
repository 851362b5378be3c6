// The intro notice: a welcome panel shown for five seconds before the
// dashboard, unless the user asked not to see it again.
#pragma once

#include <filesystem>

#include "chrome/skinned_window.h"
#include "settings/settings.h"

class QTimer;

namespace kvrns::chrome {
class TextButtons;
}

namespace kvrns::app {

class IntroWindow : public chrome::SkinnedWindow {
    Q_OBJECT
public:
    // `values` is the settings list as the notice read it.
    IntroWindow(settings::SettingValues values, std::filesystem::path settingsPath, QWidget* parent = nullptr);

    QTimer* waitTimer() const { return timer1_; }
    QTimer* activationTimer() const { return timer2_; }
    chrome::TextButtons* button() const { return button_; }

public slots:
    void waitOver();  // Timer1: five seconds after the last activation

signals:
    // However the notice is left, the dashboard comes next.
    void finished();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hoverReset() override;

private:
    void activated();
    void doNotRemind();
    void leave();

    settings::SettingValues values_;
    std::filesystem::path settingsPath_;
    QTimer* timer1_ = nullptr;
    QTimer* timer2_ = nullptr;
    chrome::TextButtons* button_ = nullptr;
    bool left_ = false;
};

}  // namespace kvrns::app
