#include "app/gui/application.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <cstdlib>
#include <iostream>

#include "app/gui/intro_window.h"
#include "app/gui/shell.h"
#include "app/gui/snapshot_server.h"
#include "dashboard/dashboard_window.h"
#include "dashboard/engine_bridge.h"
#include "device/device_source.h"
#include "device/trace_recorder.h"
#include "settings/settings.h"
#include "warnings/warning_windows.h"

namespace kvrns::app {

GuiOptions parseGuiOptions(const QStringList& arguments)
{
    GuiOptions options;
    for (int i = 1; i < arguments.size(); ++i) {
        QString arg = arguments[i];
        QString value;
        bool hasValue = false;
        if (const int eq = arg.indexOf('='); arg.startsWith(QLatin1String("--")) && eq > 0) {
            value = arg.mid(eq + 1);
            arg = arg.left(eq);
            hasValue = true;
        }
        if (arg == QLatin1String("--device") || arg == QLatin1String("--settings") ||
            arg == QLatin1String("--record")) {
            if (!hasValue) {
                if (i + 1 >= arguments.size()) {
                    options.error = arg + QStringLiteral(" needs a value");
                    return options;
                }
                value = arguments[++i];
            }
            (arg == QLatin1String("--device")     ? options.device
             : arg == QLatin1String("--settings") ? options.settings
                                                  : options.record) = value;
        } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            options.help = true;
        } else {
            options.error = QStringLiteral("unknown argument '%1'").arg(arguments[i]);
            return options;
        }
    }
    return options;
}

InstanceGuard::InstanceGuard(QString key) : key_(std::move(key)) {}

InstanceGuard::~InstanceGuard() = default;

QString InstanceGuard::defaultKey()
{
    const QByteArray user = qgetenv("USER").isEmpty() ? qgetenv("USERNAME") : qgetenv("USER");
    return QStringLiteral("kvrns-dashboard-") + QString::fromLocal8Bit(user);
}

bool InstanceGuard::claim()
{
    QLocalSocket probe;
    probe.connectToServer(key_);
    if (probe.waitForConnected(300)) return false;  // an instance answers
    // Nobody answers: a socket left by a crashed instance may remain.
    QLocalServer::removeServer(key_);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    return server_->listen(key_);
}

namespace {

void refuse(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("TALVORN"), text, QMessageBox::Ok);
    box.exec();
}

NumberLocale userLocale()
{
    const QString point = QLocale::system().decimalPoint();
    return NumberLocale{point.isEmpty() ? '.' : point.at(0).toLatin1() ? point.at(0).toLatin1() : '.'};
}

void substituteDesignFonts()
{
    // The skin was laid out with these; where they are missing, take the
    // metric-compatible free fonts so texts keep their places.
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Segoe UI Symbol"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
}

// The intro notice, unless the user asked not to see it: it reads the file
// by its own rules and is the only way on to the dashboard. False when the
// file cannot be read (the user has been told).
bool showIntroNotice(const std::filesystem::path& settingsPath)
{
    auto read = settings::readSettingsFile(settingsPath, NumberLocale{'.'});
    if (!read.values) {
        std::cerr << "kvrns: " << settingsPath.string() << ": " << read.detail << '\n';
        refuse(QString::fromUtf8(settings::kFailureMessage.data(), static_cast<int>(settings::kFailureMessage.size())));
        return false;
    }
    if (settings::introFlagOf(*read.values) == 1) return true;
    IntroWindow intro(std::move(*read.values), settingsPath);
    QEventLoop waiting;
    QObject::connect(&intro, &IntroWindow::finished, &waiting, &QEventLoop::quit);
    intro.show();
    waiting.exec();
    return true;
}

}  // namespace

int runDashboard(const GuiOptions& options)
{
    substituteDesignFonts();
    InstanceGuard instance;
    if (!instance.claim()) return EXIT_SUCCESS;  // a second start ends silently

    const NumberLocale locale = userLocale();
    const auto location = settings::locateSettings(
        options.settings.isEmpty() ? std::nullopt
                                   : std::optional<std::filesystem::path>(options.settings.toStdString()),
        QCoreApplication::applicationDirPath().toStdString(), [](const char* name) { return std::getenv(name); });
    auto loaded = settings::loadSettings(location, locale);
    if (loaded.values) {
        // The intro notice comes first; the dashboard reads the settings
        // afresh after it, as the notice may have changed them.
        if (!showIntroNotice(location.path)) return EXIT_FAILURE;
        loaded = settings::readSettingsFile(location.path, locale);
    }
    if (!loaded.values) {
        std::cerr << "kvrns: " << location.path.string() << ": " << loaded.detail << '\n';
        refuse(QString::fromUtf8(settings::kFailureMessage.data(), static_cast<int>(settings::kFailureMessage.size())));
        return EXIT_FAILURE;
    }

    auto opened = device::makeBackend(options.device.toStdString());
    if (!opened.backend) {
        std::cerr << "kvrns: " << opened.error << '\n';
        refuse(QString::fromStdString(opened.error));
        return EXIT_FAILURE;
    }

    std::unique_ptr<device::TraceRecorder> recorder;  // outlives the engine that feeds it
    if (!options.record.isEmpty()) {
        std::string error;
        recorder = device::TraceRecorder::create(options.record.toStdString(), &error);
        if (!recorder) {
            std::cerr << "kvrns: " << error << '\n';
            refuse(QString::fromStdString(error));
            return EXIT_FAILURE;
        }
    }

    settings::SettingsStore store(std::move(*loaded.values));
    dashboard::EngineBridge engine(std::move(opened.backend), store, locale, nullptr,
                                   recorder ? recorder->observer() : device::ExchangeObserver{});
    dashboard::DashboardWindow window({store, engine, location.path, locale, opened.simulated});
    window.setEnding([] { QCoreApplication::quit(); });
    window.setWarningPresenter(&warnings::presentWarnings);
    window.load();
    Shell shell(window, [] { QCoreApplication::quit(); });
    SnapshotServer snapshots(*instance.server(), engine,
                             {store, location.path, opened.simulated, [&window] { window.showSettings(); }});
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
    window.show();
    return QApplication::exec();
}

}  // namespace kvrns::app
