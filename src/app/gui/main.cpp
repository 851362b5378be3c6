#include <QApplication>
#include <iostream>

#include "app/gui/application.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kvrns"));
    QApplication::setApplicationDisplayName(QStringLiteral("TALVORN"));
    const auto options = kvrns::app::parseGuiOptions(QApplication::arguments());
    if (!options.error.isEmpty() || options.help) {
        (options.help ? std::cout : std::cerr)
            << (options.help ? "" : "kvrns: " + options.error.toStdString() + "\n")
            << "usage: kvrns [--device auto|hid|sim[:OPTION,...]|script:FILE] [--settings FILE] [--record FILE]\n"
            << "\n"
            << "  --device SOURCE   where the readings come from (default auto: the real supply)\n"
            << "  --settings FILE   the settings file (default: TALVORN.txt beside the program,\n"
            << "                    else $XDG_CONFIG_HOME/kvrns/TALVORN.txt)\n"
            << "  --record FILE     writes every exchange with the supply to FILE, in the form\n"
            << "                    --device script:FILE replays\n"
            << "  -h, --help        this help\n";
        return options.help ? 0 : 1;
    }
    return kvrns::app::runDashboard(options);
}
