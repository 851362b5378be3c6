// The dashboard program from start to end: one instance per user, the
// settings read, the engine on its device thread, the dashboard shown.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QLocalServer;

namespace kvrns::app {

struct GuiOptions {
    QString device = QStringLiteral("auto");
    QString settings;  // empty: the usual places
    QString record;    // every exchange written here in the script format
    bool help = false;
    QString error;  // a bad command line, said on standard error
};

GuiOptions parseGuiOptions(const QStringList& arguments);

// Holds the single-instance claim for as long as it lives. claim() returns
// false when another instance of this user already runs.
class InstanceGuard {
public:
    explicit InstanceGuard(QString key = defaultKey());
    ~InstanceGuard();
    bool claim();
    static QString defaultKey();
    // The claimed instance's local server, which also serves kvrns-cli.
    QLocalServer* server() const { return server_.get(); }

private:
    QString key_;
    std::unique_ptr<QLocalServer> server_;
};

// Runs the dashboard; returns the process's exit status.
int runDashboard(const GuiOptions& options);

}  // namespace kvrns::app
