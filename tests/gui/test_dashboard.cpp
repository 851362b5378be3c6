// The dashboard on a scripted or gated supply, offscreen, with its timers
// driven by the test.
#include <QLabel>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <sstream>

#include "app/gui/application.h"
#include "chrome/picture_label.h"
#include "chrome/skin_geometry.h"
#include "dashboard/dashboard_window.h"
#include "dashboard/engine_bridge.h"
#include "dashboard/gauge_view.h"
#include "device/script_supply.h"
#include "settings/settings.h"
#include "support/temp_dir.h"
#include "support/gated_supply.h"

using namespace kvrns;
using namespace kvrns::dashboard;

namespace {

using kvrns::test::readFile;

std::string statusScript()
{
    return readFile(KVRNS_TEST_DATA "/status.script");
}

// One dashboard on its own settings file and supply.
struct Rig {
    QTemporaryDir dir;
    std::filesystem::path settingsPath;
    settings::SettingsStore store;
    std::unique_ptr<EngineBridge> bridge;
    std::unique_ptr<DashboardWindow> window;
    int ended = 0;

    explicit Rig(std::unique_ptr<device::HidBackend> backend,
                 settings::SettingValues values = settings::defaultValues())
        : settingsPath(dir.filePath(QStringLiteral("TALVORN.txt")).toStdString()), store(values)
    {
        settings::writeSettingsFile(settingsPath, values);
        bridge = std::make_unique<EngineBridge>(std::move(backend), store, NumberLocale{});
        window =
            std::make_unique<DashboardWindow>(DashboardWindow::Setup{store, *bridge, settingsPath, NumberLocale{}});
        window->setEnding([this] { ++ended; });
        window->load();
    }
    ~Rig()
    {
        window.reset();
        bridge.reset();
    }

    // One polling tick, waited for until its report has been shown.
    bool cycle()
    {
        QSignalSpy spy(bridge.get(), &EngineBridge::tickReported);
        window->pollTick();
        return spy.wait(10000);
    }
    QString text(const QString& name) const
    {
        auto* label = window->findChild<QLabel*>(name);
        return label ? label->text() : QStringLiteral("<missing %1>").arg(name);
    }
    QColor colour(const QString& name) const
    {
        return window->findChild<QLabel*>(name)->palette().color(QPalette::WindowText);
    }
    bool visible(const QString& name) const { return !window->findChild<QWidget*>(name)->isHidden(); }
};

std::unique_ptr<device::HidBackend> script(const std::string& text)
{
    return device::ScriptSupply::fromText(text);
}

const QColor kDim(128, 128, 128), kRedC(255, 0, 0), kBlueC(0, 133, 219), kOrangeC(255, 134, 56);

}  // namespace

class TestDashboard : public QObject {
    Q_OBJECT
private slots:
    void readoutFieldByField();
    void singleRailRow();
    void hotSupplyDigits();
    void gaugeStepping_data();
    void gaugeStepping();
    void gaugesFollowTheCycle();
    void closeButtonWritesSettingsOtherExitsDoNot();
    void dragMovesTheWindowOnRelease();
    void dragArithmetic();
    void displayScaleFollowsDensity();
    void colourKeyMakesHoles();
    void readWaitNeverBlocksTheWindow();
    void secondInstanceEndsSilently();
};

void TestDashboard::readoutFieldByField()
{
    Rig rig(script(statusScript()));
    QVERIFY(rig.cycle());
    const QStringList currents{"5.00", "4.00", "10.00", "8.20"};
    for (int i = 0; i < 4; ++i) QCOMPARE(rig.text(QStringLiteral("FLabel_txt(%1)").arg(i)), currents[i]);
    const QStringList volts{"3.30", "5.00", "12.00"};
    for (int i = 0; i < 3; ++i) QCOMPARE(rig.text(QStringLiteral("ILabel_txt(%1)").arg(i)), volts[i]);
    const QStringList ac{"230.00", "1.25", "271.28", "0.94"};
    for (int i = 0; i < 4; ++i) QCOMPARE(rig.text(QStringLiteral("NLabel_txt(%1)").arg(i)), ac[i]);
    const QStringList power{"0", "2", "5", "5"};
    const QList<QColor> powerColours{kDim, kRedC, kRedC, kRedC};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(rig.text(QStringLiteral("DLabel(%1)").arg(i)), power[i]);
        QCOMPARE(rig.colour(QStringLiteral("DLabel(%1)").arg(i)), powerColours[i]);
    }
    QCOMPARE(rig.text(QStringLiteral("DLabel2(0)")), QStringLiteral("9"));
    QCOMPARE(rig.text(QStringLiteral("DLabel2(1)")), QStringLiteral("4"));
    QCOMPARE(rig.colour(QStringLiteral("DLabel2(1)")), kBlueC);
    QCOMPARE(rig.text(QStringLiteral("DLabel3(1)")), QStringLiteral("4"));
    QCOMPARE(rig.colour(QStringLiteral("DLabel3(2)")), kOrangeC);
    QCOMPARE(rig.text(QStringLiteral("GLabel_txt(3)")), QStringLiteral("35A"));
    QCOMPARE(rig.text(QStringLiteral("LLabel_txt(2)")), QStringLiteral("13.10V"));
}

void TestDashboard::singleRailRow()
{
    auto values = settings::defaultValues();
    values[settings::RailMode] = "0";
    values[settings::Ocp12V1] = "50";
    values[settings::WarnCur12V1] = "50";
    Rig rig(script(statusScript()), values);
    QVERIFY(rig.cycle());
    QCOMPARE(rig.text(QStringLiteral("FLabel_txt(2)")), QStringLiteral("18.20"));
    QVERIFY(!rig.visible(QStringLiteral("FLabel_txt(3)")));
    QCOMPARE(rig.text(QStringLiteral("FLabel_txt(3)")), QString());
    QCOMPARE(rig.text(QStringLiteral("HLabel_txt(3)")), QString());
    QCOMPARE(rig.window->findChild<CellShape*>(QStringLiteral("HLabel(3)"))->fill(), QColor(230, 230, 230));
    QCOMPARE(rig.window->findChild<chrome::PictureLabel*>(QStringLiteral("Image14"))->shownIndex(), 23);
    QVERIFY(rig.window->findChild<QWidget*>(QStringLiteral("ELabel(3)"))->isEnabled());
    QVERIFY(!rig.window->findChild<QWidget*>(QStringLiteral("ELabel(4)"))->isEnabled());
}

void TestDashboard::hotSupplyDigits()
{
    std::string text = statusScript();
    const std::string cool = "00 83 00 40 30 B4 F0";
    text.replace(text.find(cool), cool.size(), "00 83 00 40 30 08 F2");  // 130 °C
    Rig rig(script(text));
    QVERIFY(rig.cycle());
    QCOMPARE(rig.window->telemetry().temperature, std::string("120"));
    const QStringList digits{"1", "2", "0"};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(rig.text(QStringLiteral("DLabel3(%1)").arg(i)), digits[i]);
        QCOMPARE(rig.colour(QStringLiteral("DLabel3(%1)").arg(i)), kRedC);
    }
}

void TestDashboard::gaugeStepping_data()
{
    QTest::addColumn<QString>("load");
    QTest::addColumn<QString>("efficiency");
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<int>("timer1Ticks");  // ticks until Timer1 stops itself
    QTest::addColumn<int>("timer3Ticks");
    QTest::addColumn<int>("powerFrame");
    QTest::addColumn<int>("efficiencyFrame");
    QTest::addColumn<int>("temperatureFrame");

    QTest::newRow("idle") << "0"
                          << "75"
                          << "0" << 1 << 1 << 1 << 1 << 1;
    QTest::newRow("efficiency 75 to 99") << "0"
                                         << "99"
                                         << "0" << 1 << 25 << 1 << 25 << 1;
    QTest::newRow("overload") << "150"
                              << "75"
                              << "0" << 121 << 1 << 121 << 1 << 1;
    QTest::newRow("efficiency held in its dial") << "0"
                                                 << "60"
                                                 << "0" << 1 << 1 << 1 << 1 << 1;
    QTest::newRow("fraction") << "0"
                              << "75"
                              << "45.9" << 46 << 1 << 1 << 1 << 46;
    QTest::newRow("negative") << "-5"
                              << "75"
                              << "-3" << 1 << 1 << 1 << 1 << 1;
    QTest::newRow("empty load") << ""
                                << "120"
                                << "20" << 21 << 25 << 1 << 25 << 21;
}

void TestDashboard::gaugeStepping()
{
    QFETCH(QString, load);
    QFETCH(QString, efficiency);
    QFETCH(QString, temperature);
    GaugeMotion gauges;
    gauges.setTargets(load.toStdString(), efficiency.toStdString(), temperature.toStdString());
    gauges.start();
    int ticks1 = 1, ticks3 = 1;
    while (gauges.stepPowerAndTemperature()) ++ticks1;
    while (gauges.stepEfficiency()) ++ticks3;
    QTEST(ticks1, "timer1Ticks");
    QTEST(ticks3, "timer3Ticks");
    QTEST(gauges.frame(Gauge::Power), "powerFrame");
    QTEST(gauges.frame(Gauge::Efficiency), "efficiencyFrame");
    QTEST(gauges.frame(Gauge::Temperature), "temperatureFrame");
}

void TestDashboard::gaugesFollowTheCycle()
{
    Rig rig(script(statusScript()));
    QVERIFY(rig.cycle());
    QVERIFY(rig.window->powerTemperatureTimer()->isActive());
    QVERIFY(rig.window->efficiencyTimer()->isActive());
    // From here the test is the clock.
    rig.window->powerTemperatureTimer()->stop();
    rig.window->efficiencyTimer()->stop();

    // Load 39 %, temperature 45: Timer1 walks both, then one more tick
    // notices the arrival and stops it.
    for (int i = 0; i < 45; ++i) rig.window->stepPowerAndTemperature();
    QCOMPARE(rig.window->gauges().position(Gauge::Power), 39);
    QCOMPARE(rig.window->gauges().position(Gauge::Temperature), 45);
    QCOMPARE(rig.window->findChild<GaugeView*>(QStringLiteral("QLabel1"))->shownPosition(), 39);
    rig.window->powerTemperatureTimer()->start();
    rig.window->stepPowerAndTemperature();
    QVERIFY(!rig.window->powerTemperatureTimer()->isActive());

    // A new cycle mid-travel continues from where the needle is.
    for (int i = 0; i < 10; ++i) rig.window->stepEfficiency();
    QCOMPARE(rig.window->gauges().position(Gauge::Efficiency), 85);
    QVERIFY(rig.cycle());
    const int resumed = rig.window->gauges().position(Gauge::Efficiency);
    QVERIFY2(resumed >= 85 && resumed < 94, qPrintable(QString::number(resumed)));
    rig.window->stepEfficiency();
    QCOMPARE(rig.window->gauges().position(Gauge::Efficiency), resumed + 1);
}

void TestDashboard::closeButtonWritesSettingsOtherExitsDoNot()
{
    const std::string before = std::string(settings::kDefaultLine) + ";\r\n";
    {
        Rig rig(script(""));
        rig.store.setValue(settings::WarnCur3V3, "19");
        rig.window->close();
        QCOMPARE(rig.ended, 1);
        QCOMPARE(readFile(rig.settingsPath), before);
    }
    Rig rig(script(""));
    rig.store.setValue(settings::WarnCur3V3, "19");
    auto* closeButton = rig.window->findChild<chrome::PictureLabel*>(QStringLiteral("Image3"));
    QTest::mouseClick(closeButton, Qt::LeftButton);
    QCOMPARE(rig.ended, 1);
    QVERIFY(readFile(rig.settingsPath).starts_with("0;22;22;35;35;19;"));
}

void TestDashboard::dragMovesTheWindowOnRelease()
{
    Rig rig(script(""));
    rig.window->move(100, 100);
    rig.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.window.get()));
    const QPoint start = rig.window->pos();
    const QPoint background(500, 80);  // between the title and the caption buttons
    QTest::mousePress(rig.window.get(), Qt::LeftButton, {}, background);
    QTest::mouseMove(rig.window.get(), background + QPoint(10, 0));
    QVERIFY(rig.window->dragging());
    QCOMPARE(rig.window->pos(), start);  // only the outline moves until release
    QTest::mouseRelease(rig.window.get(), Qt::LeftButton, {}, background + QPoint(10, 0));
    QCOMPARE(rig.window->pos(), start + QPoint(10, 0));

    // Pressed and released in place: the window stays where it is.
    const QPoint here = rig.window->pos();
    QTest::mouseClick(rig.window.get(), Qt::RightButton, {}, background);
    QCOMPARE(rig.window->pos(), here);
}

void TestDashboard::dragArithmetic()
{
    chrome::DragState drag;
    drag.begin({3000, 1500}, QRect(200, 100, 995, 712), 15, 15);
    QCOMPARE(drag.move({3150, 1500}), QRect(210, 100, 995, 712));
    QCOMPARE(drag.end({3150, 1500}), QPoint(200 * 15 + 150, 100 * 15));
    QCOMPARE(drag.end({3000, 1500}), QPoint(3000, 1500));
    QCOMPARE(drag.move({3007, 1492}), QRect(200, 99, 995, 712));  // 0.47 px, -0.53 px
}

void TestDashboard::displayScaleFollowsDensity()
{
    QCOMPARE(chrome::displayScale(96), 1.0f);
    QCOMPARE(chrome::displayScale(120), 0.8f);
    QCOMPARE(chrome::TwipScale(1.0f).px(14925), 995);
    QCOMPARE(chrome::TwipScale(0.8f).px(14925), 796);  // shown at 1.25 device pixels each: 995
}

void TestDashboard::colourKeyMakesHoles()
{
    Rig rig(script(""));
    const QRegion shape = rig.window->colourKeyRegion();
    if (rig.window->skin().isNull()) QSKIP("no skin picture compiled in");
    QVERIFY(!shape.isEmpty());
    QVERIFY(!shape.contains(QPoint(0, 0)));  // the yellow outside the rounded corner
    QVERIFY(shape.contains(QPoint(rig.window->width() / 2, rig.window->height() / 2)));
}

void TestDashboard::readWaitNeverBlocksTheWindow()
{
    auto gated = std::make_unique<test::GatedSupply>();
    auto* gate = gated.get();
    Rig rig(std::move(gated));
    gate->holdReads(true);
    QSignalSpy reports(rig.bridge.get(), &EngineBridge::tickReported);
    rig.window->pollTick();
    gate->waitUntilAReadIsHeld();

    // The device thread now waits for an answer; the window's own timers
    // must keep running meanwhile.
    int beats = 0;
    QTimer heartbeat;
    connect(&heartbeat, &QTimer::timeout, [&] { ++beats; });
    heartbeat.start(5);
    QTRY_VERIFY_WITH_TIMEOUT(beats >= 10, 5000);
    QCOMPARE(reports.count(), 0);

    gate->holdReads(false);
    QVERIFY(reports.wait(10000));
}

void TestDashboard::secondInstanceEndsSilently()
{
    QTemporaryDir dir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TMPDIR"), dir.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
    const QStringList args{QStringLiteral("--device"), QStringLiteral("sim")};

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(QStringLiteral(KVRNS_GUI_PATH), args);
    QVERIFY(first.waitForStarted());
    // The first instance is up once its single-instance socket answers.
    qputenv("TMPDIR", dir.path().toLocal8Bit());
    QTRY_VERIFY_WITH_TIMEOUT(
        [] {
            QLocalSocket probe;
            probe.connectToServer(app::InstanceGuard::defaultKey());
            return probe.waitForConnected(100);
        }(),
        10000);

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(QStringLiteral(KVRNS_GUI_PATH), args);
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();
    qunsetenv("TMPDIR");
}

QTEST_MAIN(TestDashboard)
#include "test_dashboard.moc"
