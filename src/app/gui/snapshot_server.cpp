#include "app/gui/snapshot_server.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <algorithm>

#include "dashboard/engine_bridge.h"
#include "settings/settings.h"
#include "warnings/warning_points.h"

namespace kvrns::app {
namespace {

// More changes than this waiting for the supply is a client gone wrong.
constexpr std::size_t kMostPendingChanges = 16;

bool matches(const owner::Request& request, const RequestOutcome& outcome)
{
    if (const auto* tune = std::get_if<FineTuneRequest>(&outcome.request))
        return request.kind == owner::RequestKind::Tune && request.usbAdj == tune->usbAdj && request.step == tune->step;
    return request.kind == owner::RequestKind::Rail;
}

}  // namespace

SnapshotServer::SnapshotServer(QLocalServer& server, dashboard::EngineBridge& engine, Setup setup, QObject* parent)
    : QObject(parent), server_(server), engine_(engine), setup_(std::move(setup))
{
    connect(&server_, &QLocalServer::newConnection, this, &SnapshotServer::accept);
    connect(&engine_, &dashboard::EngineBridge::tickReported, this, &SnapshotServer::takeReport);
    connect(&engine_, &dashboard::EngineBridge::requestDone, this, &SnapshotServer::takeOutcome);
    accept();  // any that came before this server was set up
}

void SnapshotServer::accept()
{
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        if (socket->state() != QLocalSocket::ConnectedState && socket->bytesAvailable() == 0) {
            socket->deleteLater();  // a second start's check, long gone
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequests(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // A request may have arrived while the intro notice held the start.
        readRequests(socket);
    }
}

void SnapshotServer::readRequests(QLocalSocket* socket)
{
    const auto tooLong = [&] {
        send(socket, owner::encodeError("the request is longer than a line may be"));
        socket->disconnectFromServer();
    };
    while (socket->state() == QLocalSocket::ConnectedState) {
        if (!socket->canReadLine()) {
            if (socket->bytesAvailable() > static_cast<qint64>(owner::kMaxLineBytes)) tooLong();
            return;
        }
        const QByteArray raw = socket->readLine(static_cast<qint64>(owner::kMaxLineBytes) + 2);
        if (!raw.endsWith('\n')) return tooLong();
        const QByteArray line = raw.trimmed();
        const auto decoded = owner::decodeRequest(std::string_view(line.constData(), static_cast<size_t>(line.size())));
        if (const auto* error = std::get_if<std::string>(&decoded))
            send(socket, owner::encodeError(*error));
        else
            handle(socket, std::get<owner::Request>(decoded));
    }
}

void SnapshotServer::handle(QLocalSocket* socket, const owner::Request& request)
{
    if (request.kind == owner::RequestKind::Snapshot) {
        if (latest_)
            send(socket, owner::encodeSnapshot(*latest_));
        else
            waitingForReport_.emplace_back(socket);  // the first cycle is under way
        return;
    }
    if (pendingChanges_.size() >= kMostPendingChanges) {
        send(socket, owner::encodeError("too many requests are waiting for the supply"));
        return;
    }
    pendingChanges_.push_back({socket, request});
    if (request.kind == owner::RequestKind::Tune) {
        engine_.fineTune(request.usbAdj, request.step);
        return;
    }
    // As the lever does: the new mode's settings first, then the frame.
    warnings::applyRailMode(setup_.settings, request.railMode);
    if (setup_.showSettings) setup_.showSettings();
    engine_.switchRailMode();
}

void SnapshotServer::takeReport(const TickReport& report)
{
    latest_ = owner::Snapshot{++cycles_, setup_.simulated, report};
    const std::string line = owner::encodeSnapshot(*latest_);
    for (const auto& socket : waitingForReport_)
        if (socket) send(socket, line);
    waitingForReport_.clear();
}

void SnapshotServer::takeOutcome(const RequestOutcome& outcome)
{
    const auto found = std::find_if(pendingChanges_.begin(), pendingChanges_.end(),
                                    [&](const PendingChange& p) { return matches(p.request, outcome); });
    if (found == pendingChanges_.end()) return;  // the dashboard's own arrows or lever
    const QPointer<QLocalSocket> socket = found->socket;
    pendingChanges_.erase(found);
    const owner::ChangeOutcome change = store(outcome.ack);
    if (socket) send(socket, owner::encodeChange(change));
}

owner::ChangeOutcome SnapshotServer::store(const AckOutcome& ack)
{
    owner::ChangeOutcome change{ack.sent, ack.acknowledged, ack.valueInForce, false, setup_.settingsPath.string(), {}};
    if (!ack.acknowledged) return change;
    // The command line promises a stored change; the dashboard's own
    // arrows leave that to its close button.
    std::string error;
    const WriteStatus status = settings::writeSettingsFile(setup_.settingsPath, setup_.settings.values(), &error);
    change.stored = status == WriteStatus::Ok;
    if (!change.stored)
        change.storeError = status == WriteStatus::AccessDenied ? std::string(settings::kFailureMessage) : error;
    return change;
}

void SnapshotServer::send(QLocalSocket* socket, const std::string& line)
{
    socket->write(line.data(), static_cast<qint64>(line.size()));
    socket->write("\n", 1);
    socket->flush();
}

}  // namespace kvrns::app
