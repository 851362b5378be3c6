// What the settings dialogs share: a light skinned panel with minimise and
// close buttons, shown modally, deleted when closed, brought to the front
// once shortly after it opens.
#pragma once

#include "chrome/skinned_window.h"

namespace kvrns::settings {

class DialogWindow : public chrome::SkinnedWindow {
    Q_OBJECT
public:
    // `background` names a picture under :/assets/dialogs/; `sizeTwips` is
    // the window's size.
    DialogWindow(const QString& objectName, const QString& background, QSize sizeTwips, int activationDelayMs,
                 QWidget* parent = nullptr);

    // Shown modally over the program; the caller's timers keep running.
    void open();

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace kvrns::settings
