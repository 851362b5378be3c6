// The dashboard's side of the line kvrns-cli talks over while the dashboard
// owns the supply: the latest polling cycle on request, and fine-tune and
// rail-mode requests passed to the engine between two exchanges. It serves
// the single-instance check's own local server, where a connection that
// sends nothing is only the check of a second start.
#pragma once

#include <QObject>
#include <QPointer>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "app/owner/owner_protocol.h"
#include "protocol/engine_thread.h"
#include "settings/settings_store.h"

class QLocalServer;
class QLocalSocket;

namespace kvrns::dashboard {
class EngineBridge;
}

namespace kvrns::app {

class SnapshotServer : public QObject {
    Q_OBJECT
public:
    struct Setup {
        settings::SettingsStore& settings;
        std::filesystem::path settingsPath;  // where acknowledged changes are stored
        bool simulated = false;
        std::function<void()> showSettings;  // the dashboard shows a switched rail mode
    };
    SnapshotServer(QLocalServer& server, dashboard::EngineBridge& engine, Setup setup, QObject* parent = nullptr);

    // Requests waiting for a reading or for the supply's answer.
    std::size_t waiting() const { return waitingForReport_.size() + pendingChanges_.size(); }

private:
    struct PendingChange {
        QPointer<QLocalSocket> socket;
        owner::Request request;
    };

    void accept();
    void readRequests(QLocalSocket* socket);
    void handle(QLocalSocket* socket, const owner::Request& request);
    void takeReport(const kvrns::TickReport& report);
    void takeOutcome(const kvrns::RequestOutcome& outcome);
    owner::ChangeOutcome store(const AckOutcome& ack);
    static void send(QLocalSocket* socket, const std::string& line);

    QLocalServer& server_;
    dashboard::EngineBridge& engine_;
    Setup setup_;
    std::optional<owner::Snapshot> latest_;
    std::uint64_t cycles_ = 0;
    std::vector<QPointer<QLocalSocket>> waitingForReport_;
    std::deque<PendingChange> pendingChanges_;
};

}  // namespace kvrns::app
