// The dialogs the dashboard's image buttons open: reset to defaults,
// product information, record export and usage statistics.
#pragma once

#include <QString>
#include <filesystem>
#include <functional>

#include "common/numtext.h"
#include "protocol/telemetry.h"
#include "settings/dialogs/dialog_window.h"
#include "settings/settings_store.h"
#include "settings/usage.h"

class QLabel;
class QLineEdit;

namespace kvrns::chrome {
class TextButtons;
}

namespace kvrns::settings {

// Resetwfrm: YES writes the default line and reads the settings again.
class ResetWindow : public DialogWindow {
    Q_OBJECT
public:
    // `readSetting` is the dashboard's settings read, run after YES whether
    // or not the write succeeded.
    ResetWindow(std::filesystem::path settingsPath, std::function<void()> readSetting, QWidget* parent = nullptr);
    chrome::TextButtons* buttons() const { return buttons_; }

protected:
    void hoverReset() override;

private:
    void yes();
    std::filesystem::path settingsPath_;
    std::function<void()> readSetting_;
    chrome::TextButtons* buttons_ = nullptr;
};

// Productfrm: four lines about the software and the supported supplies.
class ProductWindow : public DialogWindow {
    Q_OBJECT
public:
    explicit ProductWindow(QWidget* parent = nullptr);
    static QString productText();  // the lines joined with CR LF
};

// Savefrm: YES asks where to save and writes the record there.
class SaveWindow : public DialogWindow {
    Q_OBJECT
public:
    // Returns the chosen path, or an empty text when the user cancels.
    using FileChooser = std::function<QString(QWidget* parent, const QString& suggestedPath, const QString& filter)>;
    struct Snapshot {
        std::function<Telemetry()> telemetry;  // the readings at the moment of writing
        std::function<int()> railMode;
        std::function<SettingValues()> values;
        NumberLocale locale;
    };
    SaveWindow(Snapshot snapshot, QString initialFolder, FileChooser chooser, QWidget* parent = nullptr);
    chrome::TextButtons* buttons() const { return buttons_; }
    static FileChooser systemFileChooser();

protected:
    void hoverReset() override;

private:
    void yes();
    Snapshot snapshot_;
    QString initialFolder_;
    FileChooser chooser_;
    chrome::TextButtons* buttons_ = nullptr;
};

// Usagefrm: operation time and the energy, CO2 and cost estimates; closing
// with its close button stores the two factors and writes the settings.
class UsageWindow : public DialogWindow {
    Q_OBJECT
public:
    struct Factors {
        QString co2;   // co2FactorCopy
        QString fare;  // fareCopy
    };
    UsageWindow(Telemetry readings, std::function<Telemetry()> latest, std::uint64_t millisecondsSinceBoot,
                Factors& copies, SettingsStore& settings, std::filesystem::path settingsPath, NumberLocale locale,
                QWidget* parent = nullptr);

    QString shown(int valueIndex) const;  // Label2(0..4)
    QLineEdit* factorBox() const { return text1_; }
    QLineEdit* fareBox() const { return text2_; }

protected:
    void closeButtonClicked() override;

private:
    void showCo2();
    void showCost();

    Telemetry readings_;
    std::function<Telemetry()> latest_;
    OperationTime time_;
    Factors& copies_;
    SettingsStore& settings_;
    std::filesystem::path settingsPath_;
    NumberLocale locale_;
    std::array<QLabel*, 5> values_{};
    QLineEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
};

}  // namespace kvrns::settings
