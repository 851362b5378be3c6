// The three warning windows: over-current and over-voltage name the rail,
// over-temperature asks the user to cool the supply. Each only informs; it
// changes nothing anywhere else.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <vector>

#include "chrome/skinned_window.h"
#include "warnings/evaluation.h"

class QLabel;

namespace kvrns::chrome {
class TextButtons;
}

namespace kvrns::warnings {

// The messages, line by line, exactly as shown.
QStringList overCurrentMessage();
QStringList overVoltageMessage();
QStringList overTemperatureMessage();

class WarningWindow : public chrome::SkinnedWindow {
    Q_OBJECT
public:
    // `rail` is ocpWarnRail or ovpWarnRail, read as the window loads.
    WarningWindow(WarningKind kind, int rail, QWidget* parent = nullptr);

    WarningKind kind() const { return kind_; }
    QString titleText() const;
    QString railText() const;     // empty for over-temperature
    QString messageText() const;  // lines joined with CR LF

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void hoverReset() override;

private:
    void createTextButtons();

    WarningKind kind_;
    QLabel* title_ = nullptr;
    QLabel* message_ = nullptr;
    QLabel* rail_ = nullptr;
    chrome::TextButtons* buttons_ = nullptr;
};

// Shows the windows a cycle raised, modally and one after another, each
// only after the previous one was closed; calls `done` after the last.
// The user-interface thread keeps running meanwhile.
void presentWarnings(const std::vector<Warning>& raised, std::function<void()> done);

}  // namespace kvrns::warnings
