// The dashboard's arrows, rail lever, hover help and warning windows,
// offscreen, with the timers driven by the test.
#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "chrome/picture_label.h"
#include "dashboard/dashboard_window.h"
#include "dashboard/engine_bridge.h"
#include "settings/settings.h"
#include "support/gated_supply.h"
#include "warnings/warning_windows.h"

using namespace kvrns;
using namespace kvrns::dashboard;
using kvrns::warnings::Warning;
using kvrns::warnings::WarningKind;
using kvrns::warnings::WarningWindow;

namespace {

struct Rig {
    QTemporaryDir dir;
    settings::SettingsStore store;
    test::GatedSupply* gate = nullptr;
    std::unique_ptr<EngineBridge> bridge;
    std::unique_ptr<DashboardWindow> window;

    explicit Rig(settings::SettingValues values = settings::defaultValues()) : store(values)
    {
        auto supply = std::make_unique<test::GatedSupply>();
        gate = supply.get();
        bridge = std::make_unique<EngineBridge>(std::move(supply), store, NumberLocale{});
        const std::filesystem::path path = dir.filePath(QStringLiteral("TALVORN.txt")).toStdString();
        window = std::make_unique<DashboardWindow>(DashboardWindow::Setup{store, *bridge, path, NumberLocale{}});
        window->setEnding([] {});
        window->setWarningPresenter(&warnings::presentWarnings);
        window->load();
        window->pollTimer()->stop();  // the test is the clock
        window->helpTick();           // the start-up activation, out of the way
    }
    ~Rig()
    {
        window.reset();
        bridge.reset();
    }
    chrome::PictureLabel* picture(const QString& name) const { return window->findChild<chrome::PictureLabel*>(name); }
    QString text(const QString& name) const { return window->findChild<QLabel*>(name)->text(); }
    void click(const QString& name, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(picture(name), button);
    }
    std::vector<std::string> writes() const
    {
        std::vector<std::string> out;
        for (const auto& e : gate->log())
            if (e[0] == 'W') out.push_back(e);
        return out;
    }
};

QList<WarningWindow*> openWarnings()
{
    QList<WarningWindow*> open;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* warning = qobject_cast<WarningWindow*>(w); warning && warning->isVisible()) open.append(warning);
    return open;
}

}  // namespace

class TestControls : public QObject {
    Q_OBJECT
private slots:
    void arrows_data();
    void arrows();
    void nonLeftButtonChangesNothing();
    void fineTuneStoresOnlyTheConfirmedStep();
    void railLeverThereAndBack();
    void hoverHelpAppearsAndHides();
    void warningTexts_data();
    void warningTexts();
    void threeWarningsOneAfterAnother();
};

void TestControls::arrows_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("railMode");
    QTest::addColumn<QString>("arrow");  // LabelA(i) or LabelB(i)
    QTest::addColumn<int>("presses");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("shown");

    QTest::newRow("22 stays 22A") << int(settings::WarnCur3V3) << "22" << 1 << "LabelA(0)" << 1 << "HLabel_txt(0)"
                                  << "22A";
    QTest::newRow("18 stays 18A") << int(settings::WarnCur3V3) << "18" << 1 << "LabelB(0)" << 1 << "HLabel_txt(0)"
                                  << "18A";
    QTest::newRow("single rail 50 down to 46")
        << int(settings::WarnCur12V1) << "50" << 0 << "LabelB(2)" << 5 << "HLabel_txt(2)"
        << "46A";
    QTest::newRow("3.70 to 3.75 and stays")
        << int(settings::WarnVolt3V3) << "3.70" << 1 << "LabelA(11)" << 2 << "LLabel_txt(0)"
        << "3.75V";
    QTest::newRow("minus shows 3.70V") << int(settings::WarnVolt3V3) << "3.75" << 1 << "LabelB(11)" << 1
                                       << "LLabel_txt(0)"
                                       << "3.70V";
    QTest::newRow("30 becomes 22 on plus")
        << int(settings::WarnCur3V3) << "30" << 1 << "LabelA(0)" << 1 << "HLabel_txt(0)"
        << "22A";
    QTest::newRow("30 becomes 29 on minus")
        << int(settings::WarnCur3V3) << "30" << 1 << "LabelB(0)" << 1 << "HLabel_txt(0)"
        << "29A";
}

void TestControls::arrows()
{
    QFETCH(int, field);
    QFETCH(QString, start);
    QFETCH(int, railMode);
    auto values = settings::defaultValues();
    values[static_cast<std::size_t>(field)] = start.toStdString();
    values[settings::RailMode] = std::to_string(railMode);
    Rig rig(values);
    QFETCH(QString, arrow);
    QFETCH(int, presses);
    for (int i = 0; i < presses; ++i) rig.click(arrow);
    QFETCH(QString, label);
    QTEST(rig.text(label), "shown");
}

void TestControls::nonLeftButtonChangesNothing()
{
    auto values = settings::defaultValues();
    values[settings::RailMode] = "0";
    Rig rig(values);
    rig.click(QStringLiteral("LabelB(0)"), Qt::RightButton);
    QCOMPARE(rig.store.value(settings::WarnCur3V3), std::string("22"));
    // In single-rail mode the +12V2 arrows do nothing.
    rig.click(QStringLiteral("LabelB(3)"));
    QCOMPARE(rig.store.value(settings::WarnCur12V2), std::string("35"));
    QCOMPARE(rig.text(QStringLiteral("HLabel_txt(3)")), QString());
}

void TestControls::fineTuneStoresOnlyTheConfirmedStep()
{
    Rig rig;
    QVERIFY(!rig.picture(QStringLiteral("LabelA(8)"))->isVisibleTo(rig.window.get()));
    QVERIFY(rig.picture(QStringLiteral("LabelA(10)"))->isVisibleTo(rig.window.get()));
    QSignalSpy done(rig.bridge.get(), &EngineBridge::requestDone);

    rig.gate->holdReads(true);
    rig.click(QStringLiteral("LabelA(10)"));
    rig.gate->waitUntilAReadIsHeld();  // the frame is out; the answer waits
    QCOMPARE(rig.writes().back(), std::string("W8223"));
    QCOMPARE(rig.store.value(settings::TuneStep12V), std::string("5"));
    rig.gate->holdReads(false);
    QVERIFY(done.wait(10000));
    QCOMPARE(rig.store.value(settings::TuneStep12V), std::string("6"));
    QCOMPARE(rig.gate->sim.tuneStep(3), 6);

    rig.store.setValue(settings::TuneStep12V, "9");
    const auto before = rig.writes().size();
    rig.click(QStringLiteral("LabelA(10)"));
    QVERIFY(!done.wait(200));
    QCOMPARE(rig.writes().size(), before);  // at 9 nothing goes out
}

void TestControls::railLeverThereAndBack()
{
    auto values = settings::defaultValues();
    values[settings::WarnCur12V1] = "32";
    values[settings::WarnCur12V2] = "31";
    Rig rig(values);
    QSignalSpy done(rig.bridge.get(), &EngineBridge::requestDone);
    rig.click(QStringLiteral("Image14"));
    QCOMPARE(rig.picture(QStringLiteral("Image14"))->shownIndex(), 23);
    QCOMPARE(rig.text(QStringLiteral("HLabel_txt(2)")), QStringLiteral("50A"));
    QCOMPARE(rig.text(QStringLiteral("GLabel_txt(2)")), QStringLiteral("50A"));
    QCOMPARE(rig.text(QStringLiteral("HLabel_txt(3)")), QString());
    QVERIFY(done.wait(10000));
    QCOMPARE(rig.gate->sim.railMode(), 1);  // single rail on the supply

    rig.click(QStringLiteral("Image14"));
    QCOMPARE(rig.picture(QStringLiteral("Image14"))->shownIndex(), 24);
    QCOMPARE(rig.text(QStringLiteral("HLabel_txt(2)")), QStringLiteral("35A"));
    QCOMPARE(rig.text(QStringLiteral("HLabel_txt(3)")), QStringLiteral("35A"));
    QCOMPARE(rig.store.value(settings::RailMode), std::string("1"));
}

void TestControls::hoverHelpAppearsAndHides()
{
    Rig rig;
    rig.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.window.get()));
    auto* bubble = rig.picture(QStringLiteral("lbltooltip"));
    QCOMPARE(rig.window->helpTimer()->interval(), 200);
    QCOMPARE(rig.window->helpHideTimer()->interval(), 3000);

    QTest::mouseMove(rig.picture(QStringLiteral("LabelA(1)")));
    QCOMPARE(rig.window->hoverArea(), 1);
    QCOMPARE(rig.picture(QStringLiteral("LabelA(1)"))->shownIndex(), 18);
    QVERIFY(rig.window->helpTimer()->isActive());
    QVERIFY(bubble->isHidden());

    rig.window->helpTick();  // 200 ms later
    QVERIFY(!bubble->isHidden());
    QCOMPARE(rig.text(QStringLiteral("lbltooltip_txt")), QStringLiteral("Click + or - to set\nthe warning point"));
    // Bubble left = arrow left + 250 twips, top = arrow top - 160 - arrow
    // height; plus arrow 1 sits at 7560, 6730 twips, 195 high.
    QCOMPARE(bubble->x(), qRound((7560 + 250) / 15.0));
    QCOMPARE(bubble->y(), qRound((6730 - 160 - 195) / 15.0));
    QCOMPARE(rig.window->OPA_num(), 1);
    QCOMPARE(rig.window->bottonB_num(), 1);
    QVERIFY(rig.window->helpHideTimer()->isActive());

    // The same arrow again: the help is up already, nothing restarts.
    rig.window->helpTick();
    rig.window->hideHelp();  // 3000 ms later
    QVERIFY(bubble->isHidden());
    QVERIFY(rig.text(QStringLiteral("lbltooltip_txt")).size() > 0);

    // The fine-tune arrow shows its own bubble below it.
    QTest::mouseMove(rig.picture(QStringLiteral("LabelB(10)")));
    QCOMPARE(rig.window->hoverArea(), 2);
    rig.window->helpTick();
    QVERIFY(!rig.picture(QStringLiteral("lbltooltip2"))->isHidden());
    QCOMPARE(rig.window->OPB_num(), 10);

    // Moving onto the window's background clears every help.
    QTest::mouseMove(rig.window.get(), QPoint(600, 20));
    QCOMPARE(rig.window->hoverArea(), 0);
    QVERIFY(rig.picture(QStringLiteral("lbltooltip2"))->isHidden());
}

void TestControls::warningTexts_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("rail");
    QTest::addColumn<QString>("railText");
    QTest::addColumn<QString>("title");
    QTest::newRow("rail 4") << int(WarningKind::OverCurrent) << 4 << "+12V2"
                            << "Over Current Warning Point";
    QTest::newRow("rail 3") << int(WarningKind::OverVoltage) << 3 << "+12V1"
                            << "Over Voltage Warning Point";
    QTest::newRow("rail 0") << int(WarningKind::OverCurrent) << 0 << "+5V"
                            << "Over Current Warning Point";
    QTest::newRow("rail 5") << int(WarningKind::OverCurrent) << 5 << "+5V"
                            << "Over Current Warning Point";
    QTest::newRow("hot") << int(WarningKind::OverTemperature) << 0 << ""
                         << "Over Temperature Warning";
}

void TestControls::warningTexts()
{
    QFETCH(int, kind);
    QFETCH(int, rail);
    WarningWindow window(static_cast<WarningKind>(kind), rail);
    QTEST(window.railText(), "railText");
    QTEST(window.titleText(), "title");
    if (kind == int(WarningKind::OverCurrent))
        QCOMPARE(window.messageText(), QStringLiteral("The ______ rail output current reaches the warning point.\r\n"
                                                      "Please reduce / close unnecessary programs to decrease\r\n"
                                                      "the system load."));
    if (kind == int(WarningKind::OverTemperature)) {
        QVERIFY(window.messageText().endsWith(QStringLiteral("\r\n    90~120oC/195~248oF.")));
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("AALabel_txt(0)"))->text(),
                 QStringLiteral("Remide me later"));
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("AALabel_txt(1)"))->text(),
                 QStringLiteral("Don't reminder me"));
    }
}

void TestControls::threeWarningsOneAfterAnother()
{
    Rig rig;
    TickReport report;
    report.kind = TickKind::Cycle;
    report.devicePresent = true;
    report.warnings = {{WarningKind::OverCurrent, 2}, {WarningKind::OverVoltage, 3}, {WarningKind::OverTemperature, 0}};
    rig.window->applyReport(report);
    QVERIFY(rig.window->cycleHeld());
    QVERIFY(!rig.window->powerTemperatureTimer()->isActive());  // the gauges wait with the cycle

    const QList<WarningKind> order{WarningKind::OverCurrent, WarningKind::OverVoltage, WarningKind::OverTemperature};
    for (WarningKind expected : order) {
        QTRY_COMPARE(openWarnings().size(), 1);
        WarningWindow* open = openWarnings().front();
        QCOMPARE(open->kind(), expected);
        QCOMPARE(open->windowModality(), Qt::ApplicationModal);
        // The next cycle waits while any of them is open.
        QSignalSpy ticks(rig.bridge.get(), &EngineBridge::tickReported);
        rig.window->pollTick();
        QVERIFY(!ticks.wait(100));
        if (expected == WarningKind::OverTemperature)
            QTest::mouseClick(open->findChild<chrome::PictureLabel*>(QStringLiteral("AALabel_txt(1)")), Qt::LeftButton);
        else
            QTest::mouseClick(open->findChild<chrome::PictureLabel*>(QStringLiteral("Image3")), Qt::LeftButton);
    }
    QTRY_VERIFY(!rig.window->cycleHeld());
    QVERIFY(openWarnings().isEmpty());
    QVERIFY(rig.window->powerTemperatureTimer()->isActive());
}

QTEST_MAIN(TestControls)
#include "test_controls.moc"
