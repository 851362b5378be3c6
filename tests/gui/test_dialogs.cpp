// The intro notice, the settings dialogs, the mini window and the tray
// menus, offscreen, with their timers driven by the test.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <sstream>

#include "app/gui/intro_window.h"
#include "app/gui/shell.h"
#include "chrome/picture_label.h"
#include "chrome/text_buttons.h"
#include "dashboard/dashboard_window.h"
#include "dashboard/engine_bridge.h"
#include "dashboard/mini_window.h"
#include "device/script_supply.h"
#include "settings/dialogs/settings_dialogs.h"
#include "settings/settings.h"
#include "support/temp_dir.h"

using namespace kvrns;

namespace {

using kvrns::test::readFile;

const std::string kDefaultFile = std::string(settings::kDefaultLine) + "\r\n";

// Answers the next message box, so a test never waits on one; counts them.
struct MessageBoxes {
    int seen = 0;
    QTimer watcher;
    MessageBoxes()
    {
        QObject::connect(&watcher, &QTimer::timeout, [this] {
            if (QWidget* box = QApplication::activeModalWidget(); box && box->inherits("QMessageBox")) {
                ++seen;
                box->close();
            }
        });
        watcher.start(10);
    }
};

struct Rig {
    QTemporaryDir dir;
    std::filesystem::path settingsPath;
    settings::SettingsStore store;
    std::unique_ptr<dashboard::EngineBridge> bridge;
    std::unique_ptr<dashboard::DashboardWindow> window;
    int ended = 0;

    explicit Rig(const std::string& fileContent = kDefaultFile)
        : settingsPath(dir.filePath(QStringLiteral("TALVORN.txt")).toStdString())
    {
        std::ofstream(settingsPath, std::ios::binary) << fileContent;
        store.replace(*settings::readSettingsFile(settingsPath, NumberLocale{}).values);
        bridge = std::make_unique<dashboard::EngineBridge>(device::ScriptSupply::fromText(""), store, NumberLocale{});
        window = std::make_unique<dashboard::DashboardWindow>(
            dashboard::DashboardWindow::Setup{store, *bridge, settingsPath, NumberLocale{}});
        window->setEnding([this] { ++ended; });
        window->load();
        window->pollTimer()->stop();
    }
    ~Rig()
    {
        window.reset();
        bridge.reset();
    }
    void click(QWidget* root, const QString& name)
    {
        auto* target = root->findChild<chrome::PictureLabel*>(name);
        QVERIFY2(target, qPrintable(name));
        QTest::mouseClick(target, Qt::LeftButton);
    }
};

}  // namespace

class TestDialogs : public QObject {
    Q_OBJECT
private slots:
    void introWaitsFiveSecondsThenLeaves();
    void introDoNotRemindWritesTheFlag();
    void introCloseAndMinimise();
    void resetYesWritesDefaultsAndReadsThemAgain();
    void resetNoAndCloseLeaveTheFile();
    void resetReadOnlyShowsTheMessageOnce();
    void productInformation();
    void recordBytes_data();
    void recordBytes();
    void recordCancelledWritesNothing();
    void usageEstimates();
    void usageFactorsStoredAndShownAgain();
    void miniWindowBadgesAndTexts_data();
    void miniWindowBadgesAndTexts();
    void miniWindowBeforeTheFirstReading();
    void trayMenus();
    void noNotificationAreaKeepsTheMiniWindow();
};

void TestDialogs::introWaitsFiveSecondsThenLeaves()
{
    QTemporaryDir dir;
    app::IntroWindow intro(settings::defaultValues(), dir.filePath(QStringLiteral("T.txt")).toStdString());
    QSignalSpy finished(&intro, &app::IntroWindow::finished);
    intro.show();
    QCOMPARE(intro.waitTimer()->interval(), 5000);
    QVERIFY(intro.waitTimer()->isActive());
    QCOMPARE(intro.activationTimer()->interval(), 100);
    QCOMPARE(intro.button()->shownNumber(0), 9);  // this window's normal picture
    intro.waitOver();
    QCOMPARE(finished.count(), 1);
    QVERIFY(!intro.isVisible());
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("T.txt"))));  // leaving by the timer writes nothing
}

void TestDialogs::introDoNotRemindWritesTheFlag()
{
    QTemporaryDir dir;
    const std::filesystem::path path = dir.filePath(QStringLiteral("T.txt")).toStdString();
    auto values = settings::defaultValues();
    values[settings::WarnCur3V3] = "19";
    app::IntroWindow intro(values, path);
    QSignalSpy finished(&intro, &app::IntroWindow::finished);
    intro.show();
    QTest::mouseClick(intro.button()->text(0), Qt::LeftButton);
    QCOMPARE(finished.count(), 1);
    QVERIFY(!intro.waitTimer()->isActive());
    QCOMPARE(readFile(path), std::string("1;22;22;35;35;19;22;35;35;3.9;6.1;13.8;3.75;5.70;13.10;5;5;5;3.30;5.00;"
                                         "12.00;1;0;0;\r\n"));
}

void TestDialogs::introCloseAndMinimise()
{
    QTemporaryDir dir;
    app::IntroWindow intro(settings::defaultValues(), dir.filePath(QStringLiteral("T.txt")).toStdString());
    QSignalSpy finished(&intro, &app::IntroWindow::finished);
    intro.show();
    Rig helper;
    helper.click(&intro, QStringLiteral("Image1"));
    QVERIFY(intro.waitTimer()->isActive());  // minimised, the wait goes on
    QCOMPARE(finished.count(), 0);
    helper.click(&intro, QStringLiteral("Image3"));
    QCOMPARE(finished.count(), 1);
}

void TestDialogs::resetYesWritesDefaultsAndReadsThemAgain()
{
    auto edited = settings::defaultValues();
    edited[settings::RailMode] = "0";
    edited[settings::WarnCur3V3] = "19";
    edited[settings::Co2Factor] = "0.5";
    Rig rig(settings::settingsLine(edited) + "\r\n");
    QCOMPARE(rig.store.railMode(), 0);
    QWidget* dialog = rig.window->openDialog(0);
    rig.click(dialog, QStringLiteral("AALabel_txt(0)"));
    QCOMPARE(readFile(rig.settingsPath), kDefaultFile);
    QCOMPARE(rig.store.value(settings::WarnCur3V3), std::string("22"));
    QCOMPARE(rig.store.railMode(), 1);
    QCOMPARE(rig.window->findChild<QLabel*>(QStringLiteral("HLabel_txt(3)"))->text(), QStringLiteral("35A"));
    QTRY_VERIFY(!dialog->isVisible() || dialog->isHidden());

    // The usage dialog then shows the default factors and "0" estimates.
    auto* usage = qobject_cast<settings::UsageWindow*>(rig.window->openDialog(3));
    QCOMPARE(usage->factorBox()->text(), QStringLiteral("0"));
    QCOMPARE(usage->shown(2), QStringLiteral("0"));
    QCOMPARE(usage->shown(4), QStringLiteral("0"));
    usage->close();
}

void TestDialogs::resetNoAndCloseLeaveTheFile()
{
    const std::string edited = "0;21;22;35;35;22;22;35;35;3.9;6.1;13.8;3.75;5.70;13.10;5;5;5;3.30;5.00;12.00;1;0;0";
    for (const QString& button : {QStringLiteral("AALabel(1)"), QStringLiteral("Image3"), QStringLiteral("Image1")}) {
        Rig rig(edited);
        QWidget* dialog = rig.window->openDialog(0);
        rig.click(dialog, button);
        QCOMPARE(readFile(rig.settingsPath), edited);
        if (button == QStringLiteral("Image1")) dialog->close();
    }
}

void TestDialogs::resetReadOnlyShowsTheMessageOnce()
{
    const std::string edited = "0;21;22;35;35;22;22;35;35;3.9;6.1;13.8;3.75;5.70;13.10;5;5;5;3.30;5.00;12.00;1;0;0";
    Rig rig(edited);
    std::filesystem::permissions(rig.settingsPath, std::filesystem::perms::owner_read);
    MessageBoxes boxes;
    QWidget* dialog = rig.window->openDialog(0);
    rig.click(dialog, QStringLiteral("AALabel(0)"));
    QCOMPARE(boxes.seen, 1);
    QCOMPARE(readFile(rig.settingsPath), edited);
    QCOMPARE(rig.store.value(settings::Ocp3V3), std::string("21"));  // the unchanged file's settings
    QCOMPARE(rig.ended, 0);
}

void TestDialogs::productInformation()
{
    QCOMPARE(settings::ProductWindow::productText(),
             QStringLiteral("TALVORN KVRNS software.\r\nRev 1.1\r\nSupported PSU:\r\n1. TALVORN QUORLANE"));
    settings::ProductWindow window;
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Label1(2)"))->text().split(QLatin1Char('\n')).size(), 4);
}

void TestDialogs::recordBytes_data()
{
    QTest::addColumn<QString>("railMode");
    QTest::addColumn<QString>("current1");
    QTest::addColumn<QString>("current2");
    QTest::addColumn<QString>("line7");
    QTest::newRow("single 10.25 + 0.50") << "0" << "10.25" << "0.50"
                                         << "Output Actual Current (A): +3.3V:0, +5V:0, +12V1:10.75, +12V2:0, +12V3:0, "
                                            "+12V4:0, +12V5:0, +12V6:0";
    QTest::newRow("single 10.00 + 2.00") << "0" << "10.00" << "2.00"
                                         << "Output Actual Current (A): +3.3V:0, +5V:0, +12V1:12, +12V2:0, +12V3:0, "
                                            "+12V4:0, +12V5:0, +12V6:0";
    QTest::newRow("multiple") << "1" << "10.00" << "2.00"
                              << "Output Actual Current (A): +3.3V:0, +5V:0, +12V1:10.00, +12V2:2.00, +12V3:0, "
                                 "+12V4:0, +12V5:0, +12V6:0";
}

void TestDialogs::recordBytes()
{
    QFETCH(QString, railMode);
    auto values = settings::defaultValues();
    values[settings::RailMode] = railMode.toStdString();
    Rig rig(settings::settingsLine(values) + "\r\n");
    // The readings a cycle would have left.
    TickReport report;
    report.kind = TickKind::Cycle;
    QFETCH(QString, current1);
    QFETCH(QString, current2);
    report.telemetry.current12V1 = current1.toStdString();
    report.telemetry.current12V2 = current2.toStdString();
    rig.window->applyReport(report);

    const QString target = rig.dir.filePath(QStringLiteral("Save240303"));
    QString suggested;
    rig.window->setRecordChooser([&](QWidget*, const QString& path, const QString& filter) {
        suggested = path;
        [&] { QCOMPARE(filter, QStringLiteral("(*.txt) (*.txt)")); }();
        return target;
    });
    QWidget* dialog = rig.window->openDialog(2);
    rig.click(dialog, QStringLiteral("AALabel(0)"));
    QVERIFY(QFileInfo(suggested).fileName().startsWith(QStringLiteral("Save")));
    QCOMPARE(QFileInfo(suggested).fileName().size(), 10);  // Save + yymmdd, no extension
    const std::string record = readFile(target.toStdString());
    QFETCH(QString, line7);
    QVERIFY2(record.find(line7.toStdString() + "\r\n") != std::string::npos, record.c_str());
    QVERIFY(record.starts_with("Input Voltage:0V\r\nInput Current:0A\r\n"));
    QVERIFY(record.ends_with("+12V:13.10\r\n\r\n"));
}

void TestDialogs::recordCancelledWritesNothing()
{
    Rig rig;
    rig.window->setRecordChooser([](QWidget*, const QString&, const QString&) { return QString(); });
    const auto before = QDir(rig.dir.path()).entryList(QDir::Files);
    QWidget* dialog = rig.window->openDialog(2);
    rig.click(dialog, QStringLiteral("AALabel(0)"));
    QCOMPARE(QDir(rig.dir.path()).entryList(QDir::Files), before);
    dialog = rig.window->openDialog(2);
    rig.click(dialog, QStringLiteral("AALabel_txt(1)"));
    QCOMPARE(QDir(rig.dir.path()).entryList(QDir::Files), before);
}

void TestDialogs::usageEstimates()
{
    QTemporaryDir dir;
    settings::SettingsStore store;
    settings::UsageWindow::Factors copies{QStringLiteral("0.5"), QStringLiteral("2")};
    Telemetry readings;
    readings.inputVoltage = "230", readings.inputCurrent = "1.0730434782608696", readings.inputWatt = "500";
    settings::UsageWindow usage(readings, [&] { return readings; }, 5 * 3'600'000, copies, store,
                                dir.filePath(QStringLiteral("T.txt")).toStdString(), NumberLocale{});
    QCOMPARE(usage.shown(0), QStringLiteral("05"));
    QCOMPARE(usage.shown(1), QStringLiteral("00"));
    QCOMPARE(usage.shown(3), QStringLiteral("1.23"));
    QCOMPARE(usage.shown(4), QStringLiteral("2.46"));
    QCOMPARE(usage.shown(2), QStringLiteral("1.25"));

    // Each keystroke recomputes; a negative factor is a number too.
    usage.factorBox()->clear();
    QCOMPARE(usage.shown(2), QStringLiteral("0"));
    QTest::keyClicks(usage.factorBox(), QStringLiteral("-1"));
    QCOMPARE(usage.shown(2), QStringLiteral("-2.5"));
    QCOMPARE(usage.shown(4), QStringLiteral("2.46"));  // the cost is not touched
    // The settings separator never gets in; six characters at most.
    QTest::keyClicks(usage.factorBox(), QStringLiteral(";x"));
    QCOMPARE(usage.factorBox()->text(), QStringLiteral("-1x"));
    QTest::keyClicks(usage.factorBox(), QStringLiteral("abcdef"));
    QCOMPARE(usage.factorBox()->text().size(), 6);
}

void TestDialogs::usageFactorsStoredAndShownAgain()
{
    Rig rig;
    auto* usage = qobject_cast<settings::UsageWindow*>(rig.window->openDialog(3));
    usage->factorBox()->setText(QStringLiteral("abc"));
    usage->fareBox()->setText(QStringLiteral("0.3"));
    rig.click(usage, QStringLiteral("Image3"));
    QCOMPARE(readFile(rig.settingsPath),
             std::string("0;22;22;35;35;22;22;35;35;3.9;6.1;13.8;3.75;5.70;13.10;5;5;5;3.30;5.00;12.00;1;abc;0.3;\r\n"));
    usage = qobject_cast<settings::UsageWindow*>(rig.window->openDialog(3));
    QCOMPARE(usage->factorBox()->text(), QStringLiteral("abc"));
    QCOMPARE(usage->shown(2), QStringLiteral("0"));
    usage->close();
}

void TestDialogs::miniWindowBadgesAndTexts_data()
{
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<int>("badge");
    QTest::newRow("60.9") << "60.9" << 3;
    QTest::newRow("61") << "61" << 4;
    QTest::newRow("85.99") << "85.99" << 4;
    QTest::newRow("86") << "86" << 5;
    QTest::newRow("0") << "0" << 3;
}

void TestDialogs::miniWindowBadgesAndTexts()
{
    QFETCH(QString, temperature);
    Telemetry t;
    t.temperature = temperature.toStdString();
    t.outputPower = "255";
    t.efficiency = "94";
    dashboard::MiniWindow mini({[&] { return t; }, {}, {}, {}, NumberLocale{}});
    mini.refresh();
    QTEST(mini.badge(), "badge");
    QCOMPARE(mini.findChild<QLabel*>(QStringLiteral("Label1_txt(0)"))->text(), QStringLiteral("255W"));
    QCOMPARE(mini.findChild<QLabel*>(QStringLiteral("Label1_txt(1)"))->text(), QStringLiteral("94%"));
    QCOMPARE(mini.findChild<QLabel*>(QStringLiteral("Label1_txt(2)"))->text(), temperature);
}

void TestDialogs::miniWindowBeforeTheFirstReading()
{
    Rig rig;
    int ended = 0;
    app::Shell shell(*rig.window, [&] { ++ended; });
    rig.window->show();
    shell.showMiniWindow();
    auto& mini = shell.miniWindow();
    QVERIFY(mini.isVisible());
    QVERIFY(!rig.window->isVisible());
    QCOMPARE(mini.refreshTimer()->interval(), 3000);
    QCOMPARE(mini.findChild<QLabel*>(QStringLiteral("Label1_txt(0)"))->text(), QStringLiteral("0W"));
    QCOMPARE(mini.findChild<QLabel*>(QStringLiteral("Label1_txt(1)"))->text(), QStringLiteral("0%"));
    QCOMPARE(mini.findChild<QLabel*>(QStringLiteral("Label1_txt(2)"))->text(), QStringLiteral("0"));
    QCOMPARE(mini.badge(), 3);

    // Later showings keep where the user left it.
    mini.move(mini.pos() - QPoint(40, 30));
    const QPoint dragged = mini.pos();
    shell.maximiseFromMini();
    shell.showMiniWindow();
    QCOMPARE(mini.pos(), dragged);

    // Closing it ends the program and writes nothing.
    rig.store.setValue(settings::WarnCur3V3, "19");
    mini.close();
    QCOMPARE(ended, 1);
    QCOMPARE(readFile(rig.settingsPath), kDefaultFile);
}

void TestDialogs::trayMenus()
{
    Rig rig;
    int ended = 0;
    app::Shell shell(*rig.window, [&] { ++ended; });
    shell.setTrayAvailable([] { return true; });
    QStringList tray, mini;
    for (QAction* a : shell.trayMenu().actions()) tray << (a->isSeparator() ? QStringLiteral("-") : a->text());
    for (QAction* a : shell.miniMenu().actions()) mini << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(tray, (QStringList{"Maximize", "-", "Exit"}));
    QCOMPARE(mini, (QStringList{"Maximize", "-", "Minimize", "-", "Exit"}));

    shell.showMiniWindow();
    shell.miniMenu().findChild<QAction*>(QStringLiteral("mnmin"))->trigger();
    QVERIFY(!shell.miniWindow().isVisible());
    QSystemTrayIcon* icon = shell.trayIcon();
    QVERIFY(icon);
    QCOMPARE(icon->toolTip(), QStringLiteral("TALVORN"));

    shell.trayMenu().findChild<QAction*>(QStringLiteral("mnmax2"))->trigger();
    QVERIFY(rig.window->isVisible());
    shell.showMiniWindow();
    shell.minimiseToTray();
    QCOMPARE(shell.trayIcon(), icon);  // still the one icon

    rig.store.setValue(settings::WarnCur3V3, "19");
    shell.trayMenu().findChild<QAction*>(QStringLiteral("mnuexit"))->trigger();
    shell.miniMenu().findChild<QAction*>(QStringLiteral("mnexit2"))->trigger();
    QCOMPARE(ended, 2);
    QCOMPARE(readFile(rig.settingsPath), kDefaultFile);
}

void TestDialogs::noNotificationAreaKeepsTheMiniWindow()
{
    Rig rig;
    app::Shell shell(*rig.window, [] {});
    shell.setTrayAvailable([] { return false; });
    MessageBoxes boxes;
    shell.showMiniWindow();
    shell.minimiseToTray();
    QCOMPARE(boxes.seen, 1);
    QVERIFY(shell.miniWindow().isVisible());
    QVERIFY(!shell.trayIcon());
}

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
