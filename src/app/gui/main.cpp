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
            << "usage: kvrns [--device auto|hid|sim[:OPTION,...]|script:FILE] [--settings FILE]\n";
        return options.help ? 0 : 1;
    }
    return kvrns::app::runDashboard(options);
}
