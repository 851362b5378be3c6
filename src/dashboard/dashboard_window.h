// The dashboard: three gauges with their digit readouts, the DC output
// table, the rail lever, the AC input readings and the image buttons, on
// the live engine.
#pragma once

#include <QPointer>
#include <array>
#include <filesystem>
#include <functional>

#include "chrome/skinned_window.h"
#include "dashboard/gauge_motion.h"
#include "dashboard/picture_list.h"
#include "protocol/engine.h"
#include "protocol/engine_thread.h"
#include "settings/dialogs/settings_dialogs.h"
#include "settings/settings_store.h"

class QLabel;
class QTimer;

namespace kvrns::dashboard {

class CellShape;
class EngineBridge;
class GaugeView;

class DashboardWindow : public chrome::SkinnedWindow {
    Q_OBJECT
public:
    struct Setup {
        settings::SettingsStore& settings;
        EngineBridge& engine;
        std::filesystem::path settingsPath;
        NumberLocale locale;
        bool simulated = false;
    };
    explicit DashboardWindow(Setup setup, QWidget* parent = nullptr);
    ~DashboardWindow() override;

    // The start sequence: fields, settings, the polling and help timers.
    // Discovery already runs on the device thread.
    void load();

    // ReadSetting's display part: protection levels, warning points,
    // initial voltages, the rail row and lever, from the settings list.
    void showSettings();
    // ReadSetting after start-up (the reset): the file read again into the
    // settings list, shown, the usage factors copied, and, once the start-up
    // activation has happened, the stored steps and rail mode due for
    // delivery again. A file that cannot be read ends the program.
    void readSetting();

    // The dialogs of the image buttons: 0 reset, 1 product information,
    // 2 record, 3 usage. Shown modally; the polling goes on underneath.
    QWidget* openDialog(int index);
    // The mini-window caption button.
    void setMiniWindowOpener(std::function<void()> open) { openMiniWindow_ = std::move(open); }
    // Where the record dialog offers to save, and how it asks.
    void setRecordChooser(std::function<QString(QWidget*, const QString&, const QString&)> chooser)
    {
        chooseRecordFile_ = std::move(chooser);
    }
    void setUptime(std::function<std::uint64_t()> uptime) { uptime_ = std::move(uptime); }

    // Shows the warning windows a cycle raised, one after another; calls
    // `done` once the last is closed. Until warning windows exist it is
    // called at once.
    using WarningPresenter = std::function<void(const std::vector<warnings::Warning>&, std::function<void()> done)>;
    void setWarningPresenter(WarningPresenter presenter) { presentWarnings_ = std::move(presenter); }

    // How the program ends; the close button writes the settings first.
    using Ending = std::function<void()>;
    void setEnding(Ending ending) { end_ = std::move(ending); }

    const GaugeMotion& gauges() const { return gauges_; }
    QTimer* pollTimer() const { return tmrDelay_; }
    QTimer* powerTemperatureTimer() const { return timer1_; }
    QTimer* efficiencyTimer() const { return timer3_; }
    QTimer* helpTimer() const { return timer2_; }
    bool focusClickDone() const { return focusClickDone_; }
    const Telemetry& telemetry() const { return telemetry_; }
    bool cycleHeld() const { return cycleHeld_; }
    QTimer* helpHideTimer() const { return timer5_; }
    int hoverArea() const { return hoverArea_; }
    int bottonB_num() const { return bottonB_num_; }
    int OPA_num() const { return OPA_num_; }
    int OPB_num() const { return OPB_num_; }

public slots:
    void pollTick();  // tmrDelay
    void applyReport(const kvrns::TickReport& report);
    void stepPowerAndTemperature();  // Timer1
    void stepEfficiency();           // Timer3
    void helpTick();                 // Timer2: start-up activation, then the hover help
    void hideHelp();                 // Timer5

protected:
    void closeButtonClicked() override;
    void minimiseButtonClicked() override;
    void hoverReset() override;
    void backgroundPressed(Qt::MouseButton button) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createFrame();
    void createGauges();
    void createImageButtons();
    void createTableCaptions();
    void createCurrentGroup();
    void createVoltageGroup();
    void createRailLever();
    void createAcInput();
    void createHelpOverlays();
    void createTimers();

    QLabel* addText(const QString& name, const QString& text, QRect twipsRect, double points, bool bold,
                    QColor colour = Qt::black, Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop,
                    const QString& family = QStringLiteral("Arial"));
    chrome::PictureLabel* addPicture(const QString& name, const QPixmap& picture, int index, QRect twipsRect);
    CellShape* addCell(const QString& name, QRect twipsRect, QColor fill);

    void showReadout(const Readout& readout);
    void showSecondRail(bool shown);
    void startGauges();
    void finishCycle();

    void connectArrows();
    void pointAtArrow(int index, bool plus);
    void pressArrow(int index, bool plus);
    void releaseArrow(int index, bool plus, Qt::MouseButton button);
    void pointAtLever();
    void switchRail();
    void showRailMode();
    void enterHelpArea(int area, std::initializer_list<int> bubblesToHide, bool hideText);
    void placeHelp(int bubble, QRect bubbleTwips, QPoint textOffsetTwips, int textWidthTwips, const QString& text);
    void clearHelp(bool arrowsNormal, bool resetShownArea, std::initializer_list<int> bubbles, bool hideText);
    void installHelpClearing();
    void applyRequest(const kvrns::RequestOutcome& outcome);
    bool eventFilter(QObject* watched, QEvent* event) override;

    Setup setup_;
    PictureList imageList1_;
    PictureList imageList2_;
    Telemetry telemetry_;

    chrome::PictureLabel* picTitleBar_ = nullptr;
    std::array<GaugeView*, 3> gaugeViews_{};
    std::array<QLabel*, 4> DLabel_{};
    std::array<QLabel*, 2> DLabel2_{};
    std::array<QLabel*, 3> DLabel3_{};
    std::array<chrome::PictureLabel*, 4> BLabel_{};
    std::array<QLabel*, 4> BLabel_txt_{};
    std::array<CellShape*, 8> FLabel_{}, GLabel_{}, HLabel_{};
    std::array<QLabel*, 8> FLabel_txt_{}, GLabel_txt_{}, HLabel_txt_{};
    std::array<chrome::PictureLabel*, 14> LabelA_{}, LabelB_{};
    std::array<chrome::PictureLabel*, 11> ELabel_{};
    std::array<QLabel*, 11> ELabel_BB_{};
    std::array<chrome::PictureLabel*, 3> ILabel_{}, KLabel_{}, LLabel_{};
    std::array<QLabel*, 3> ILabel_txt_{}, KLabel_txt_{}, LLabel_txt_{};
    std::array<chrome::PictureLabel*, 4> NLabel_{};
    std::array<QLabel*, 4> NLabel_txt_{};
    std::array<QLabel*, 12> CLabel_{};
    chrome::PictureLabel* Image14_ = nullptr;
    std::array<chrome::PictureLabel*, 4> tooltips_{};  // lbltooltip, 1, 2, 3
    QLabel* lbltooltip_txt_ = nullptr;

    GaugeMotion gauges_;
    QTimer* tmrDelay_ = nullptr;
    QTimer* timer1_ = nullptr;
    QTimer* timer2_ = nullptr;
    QTimer* timer3_ = nullptr;
    QTimer* timer5_ = nullptr;

    int hoverArea_ = 0;
    int lastButtonIndex_ = 0;
    int lastPlusIndex_ = 0;
    int lastMinusIndex_ = 0;
    int bottonB_num_ = 0;
    int OPA_num_ = 0;
    int OPB_num_ = 0;
    std::array<QRect, 14> plusTwips_{}, minusTwips_{};
    bool focusClickDone_ = false;
    bool cycleHeld_ = false;  // a warning or error box of the last cycle is open
    bool firstReadingShown_ = false;

    WarningPresenter presentWarnings_;
    Ending end_;
    std::function<void()> openMiniWindow_;
    std::function<QString(QWidget*, const QString&, const QString&)> chooseRecordFile_;
    std::function<std::uint64_t()> uptime_;
    QString co2FactorCopy_;
    QString fareCopy_;
    settings::UsageWindow::Factors usageFactors_;
};

}  // namespace kvrns::dashboard
