// Renders every window of the program to PNG files, with the real windows on
// the simulated supply, for the documentation: kvrns-screenshots OUTPUT_DIR.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <iostream>

#include "app/gui/intro_window.h"
#include "app/gui/shell.h"
#include "dashboard/dashboard_window.h"
#include "dashboard/mini_window.h"
#include "warnings/warning_windows.h"
#include "dashboard/engine_bridge.h"
#include "device/sim_supply.h"
#include "settings/settings.h"

namespace {

// The window as a person sees it: its colour-key holes transparent.
QImage capture(QWidget& window)
{
    QImage image = window.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QRegion shape = window.mask();
    if (shape.isEmpty()) return image;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!shape.contains(QPoint(x, y))) image.setPixel(x, y, qRgba(0, 0, 0, 0));
    return image;
}

bool save(QWidget& window, const QDir& folder, const QString& name)
{
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    if (!capture(window).save(path)) {
        std::cerr << "kvrns-screenshots: cannot write " << path.toStdString() << '\n';
        return false;
    }
    std::cout << path.toStdString() << '\n';
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: kvrns-screenshots OUTPUT_DIR\n";
        return 1;
    }
    QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::cerr << "kvrns-screenshots: cannot create " << argv[1] << '\n';
        return 1;
    }

    using namespace kvrns;
    QTemporaryDir scratch;
    const std::filesystem::path settingsPath = scratch.filePath(QStringLiteral("TALVORN.txt")).toStdString();
    settings::SettingsStore store;
    settings::writeSettingsFile(settingsPath, store.values());

    // A supply under a steady, middling load, the same in every picture.
    auto sim = std::make_unique<device::SimSupply>([] { return 40.0; });
    dashboard::EngineBridge bridge(std::move(sim), store, NumberLocale{});
    dashboard::DashboardWindow window({store, bridge, settingsPath, NumberLocale{}, true});
    window.setEnding([] {});
    window.load();
    window.pollTimer()->stop();
    window.show();

    QSignalSpy reports(&bridge, &dashboard::EngineBridge::tickReported);
    window.pollTick();
    if (!reports.wait(10000)) {
        std::cerr << "kvrns-screenshots: the simulated supply did not answer\n";
        return 1;
    }
    // Let the needles arrive before the picture is taken.
    while (window.powerTemperatureTimer()->isActive()) window.stepPowerAndTemperature();
    while (window.efficiencyTimer()->isActive()) window.stepEfficiency();

    bool ok = save(window, folder, QStringLiteral("dashboard"));

    // Every other window, on the same readings.
    app::Shell shell(window, [] {});
    shell.showMiniWindow();
    ok = save(shell.miniWindow(), folder, QStringLiteral("mini-window")) && ok;
    shell.maximiseFromMini();

    app::IntroWindow intro(store.values(), settingsPath);
    ok = save(intro, folder, QStringLiteral("intro-notice")) && ok;

    const char* dialogs[] = {"reset", "product-information", "record", "usage"};
    for (int i = 0; i < 4; ++i) {
        QWidget* dialog = window.openDialog(i);
        ok = save(*dialog, folder, QLatin1String(dialogs[i])) && ok;
        dialog->close();
    }

    const std::pair<warnings::WarningKind, const char*> warningWindows[] = {
        {warnings::WarningKind::OverCurrent, "warning-over-current"},
        {warnings::WarningKind::OverVoltage, "warning-over-voltage"},
        {warnings::WarningKind::OverTemperature, "warning-over-temperature"}};
    for (const auto& [kind, name] : warningWindows) {
        warnings::WarningWindow warning(kind, 3);
        ok = save(warning, folder, QLatin1String(name)) && ok;
    }
    return ok ? 0 : 1;
}
