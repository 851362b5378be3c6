// The dashboard's end of the command line's socket, driven through the
// event loop with a simulated supply on the real engine thread.
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

#include "app/gui/application.h"
#include "app/gui/snapshot_server.h"
#include "app/owner/owner_protocol.h"
#include "dashboard/engine_bridge.h"
#include "device/sim_supply.h"
#include "settings/settings.h"
#include "support/temp_dir.h"

using namespace kvrns;

class SnapshotServerTest : public QObject {
    Q_OBJECT

private:
    struct Rig {
        test::TempDir dir;
        std::filesystem::path settingsPath = dir.path() / "TALVORN.txt";
        settings::SettingsStore store;
        QLocalServer server;
        dashboard::EngineBridge engine{std::make_unique<device::SimSupply>([] { return 0.0; }), store, NumberLocale{}};
        int shown = 0;
        std::unique_ptr<app::SnapshotServer> snapshots;

        Rig()
        {
            server.listen(QStringLiteral("kvrns-snapshot-test-%1").arg(QCoreApplication::applicationPid()));
            snapshots = std::make_unique<app::SnapshotServer>(
                server, engine, app::SnapshotServer::Setup{store, settingsPath, true, [this] { ++shown; }});
        }
        std::unique_ptr<QLocalSocket> client()
        {
            auto socket = std::make_unique<QLocalSocket>();
            socket->connectToServer(server.serverName());
            socket->waitForConnected(1000);
            return socket;
        }
    };

    static QByteArray ask(QLocalSocket& socket, const QByteArray& line)
    {
        socket.write(line + "\n");
        socket.flush();
        if (!QTest::qWaitFor([&] { return socket.canReadLine(); }, 10000)) return {};
        return socket.readLine().trimmed();
    }
    static std::optional<owner::Reply> reply(const QByteArray& line, owner::RequestKind kind)
    {
        std::string problem;
        auto decoded = owner::decodeReply(line.toStdString(), kind, &problem);
        if (!decoded) qWarning("%s: %s", line.constData(), problem.c_str());
        return decoded;
    }

private slots:
    void aSnapshotWaitsForTheFirstCycle()
    {
        Rig rig;
        auto probe = rig.client();  // a second start's check: connects, says nothing
        probe->disconnectFromServer();
        auto socket = rig.client();
        socket->write(owner::encodeRequest({}).c_str());
        socket->write("\n");
        socket->flush();
        QTRY_COMPARE(rig.snapshots->waiting(), std::size_t{1});
        QVERIFY(!socket->canReadLine());

        rig.engine.tick();
        QTRY_VERIFY(socket->canReadLine());
        const auto first = reply(socket->readLine(), owner::RequestKind::Snapshot);
        QVERIFY(first && first->snapshot);
        QCOMPARE(first->snapshot->cycle, std::uint64_t{1});
        QVERIFY(first->snapshot->simulated);
        QVERIFY(first->snapshot->report.devicePresent);
        QCOMPARE(first->snapshot->report.telemetry.ratedPower, std::string("0650"));

        // Later requests get the latest cycle at once.
        const auto again = reply(ask(*socket, owner::encodeRequest({}).c_str()), owner::RequestKind::Snapshot);
        QVERIFY(again && again->snapshot);
        QCOMPARE(again->snapshot->cycle, std::uint64_t{1});
    }

    void aFineTuneIsStoredOnceAcknowledged()
    {
        Rig rig;
        auto socket = rig.client();
        const auto r = reply(ask(*socket, owner::encodeRequest({owner::RequestKind::Tune, 3, 7, 1}).c_str()),
                             owner::RequestKind::Tune);
        QVERIFY(r && r->change);
        QVERIFY(r->change->sent);
        QVERIFY(r->change->acknowledged);
        QCOMPARE(r->change->valueInForce, 7);
        QVERIFY(r->change->stored);
        QCOMPARE(rig.store.value(settings::TuneStep12V), std::string("7"));
        QCOMPARE(
            QString::fromStdString(test::readFile(rig.settingsPath)),
            QStringLiteral("0;22;22;35;35;22;22;35;35;3.9;6.1;13.8;3.75;5.70;13.10;5;5;7;3.30;5.00;12.00;1;0;0;\r\n"));
    }

    void aRailSwitchIsShownAndStored()
    {
        Rig rig;
        auto socket = rig.client();
        const auto r = reply(ask(*socket, owner::encodeRequest({owner::RequestKind::Rail, 0, 0, 0}).c_str()),
                             owner::RequestKind::Rail);
        QVERIFY(r && r->change && r->change->acknowledged && r->change->stored);
        QCOMPARE(rig.shown, 1);
        QCOMPARE(rig.store.railMode(), 0);
        QCOMPARE(rig.store.value(settings::Ocp12V1), std::string("50"));
        QVERIFY(test::readFile(rig.settingsPath).find(";0;0;0;\r\n") != std::string::npos);
    }

    void anUnwritableSettingsFileIsReported()
    {
        Rig rig;
        rig.settingsPath = rig.dir.path() / "missing" / "TALVORN.txt";
        rig.snapshots = std::make_unique<app::SnapshotServer>(
            rig.server, rig.engine, app::SnapshotServer::Setup{rig.store, rig.settingsPath, true, {}});
        auto socket = rig.client();
        const auto r = reply(ask(*socket, owner::encodeRequest({owner::RequestKind::Tune, 1, 4, 1}).c_str()),
                             owner::RequestKind::Tune);
        QVERIFY(r && r->change && r->change->acknowledged);
        QVERIFY(!r->change->stored);
        QVERIFY(!r->change->storeError.empty());
    }

    void badLinesAreRefused()
    {
        Rig rig;
        auto socket = rig.client();
        const auto nonsense = reply(ask(*socket, "nonsense"), owner::RequestKind::Snapshot);
        QVERIFY(nonsense && nonsense->error.find("not JSON") != std::string::npos);
        const auto unknown = reply(ask(*socket, R"({"request":"reboot"})"), owner::RequestKind::Snapshot);
        QVERIFY(unknown && unknown->error == "unknown request 'reboot'");

        socket->write(QByteArray(static_cast<int>(owner::kMaxLineBytes) + 10, 'x'));
        socket->flush();
        QTRY_VERIFY(socket->canReadLine());
        const auto tooLong = reply(socket->readLine(), owner::RequestKind::Snapshot);
        QVERIFY(tooLong && tooLong->error.find("longer than a line") != std::string::npos);
        QTRY_COMPARE(socket->state(), QLocalSocket::UnconnectedState);
    }

    void theCommandLineFindsTheSingleInstanceSocket()
    {
        test::TempDir tmp;
        qputenv("TMPDIR", QByteArray::fromStdString(tmp.path().string() + "/"));
        qputenv("USER", "kvrns-socket-test");
        const auto env = [](const char* name) { return std::getenv(name); };
        QCOMPARE(app::InstanceGuard::defaultKey().toStdString(), owner::dashboardKey(env));

        app::InstanceGuard first;
        QVERIFY(first.claim());
        QCOMPARE(first.server()->fullServerName().toStdString(), owner::dashboardSocketPath(env));

        // Serving the command line keeps the single-instance check working.
        settings::SettingsStore store;
        dashboard::EngineBridge engine(std::make_unique<device::SimSupply>([] { return 0.0; }), store, NumberLocale{});
        app::SnapshotServer snapshots(*first.server(), engine, {store, tmp.path() / "TALVORN.txt", true, {}});
        app::InstanceGuard second;
        QVERIFY(!second.claim());
        qunsetenv("TMPDIR");
    }

    void theDashboardTakesRecord()
    {
        const auto spaced = app::parseGuiOptions({"kvrns", "--record", "/tmp/a.script", "--device", "sim"});
        QVERIFY(spaced.error.isEmpty());
        QCOMPARE(spaced.record, QStringLiteral("/tmp/a.script"));
        QCOMPARE(app::parseGuiOptions({"kvrns", "--record=b.script"}).record, QStringLiteral("b.script"));
        QCOMPARE(app::parseGuiOptions({"kvrns", "--record"}).error, QStringLiteral("--record needs a value"));
    }
};

QTEST_MAIN(SnapshotServerTest)
#include "test_snapshot_server.moc"
