#include "varnel_app.h"

#include "dialog_units.h"
#include "varnel_dlg.h"

#include "device/serial/serial_ports.h"

#include <QCommandLineParser>
#include <QDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

// Built beside the program, in the build tree as in an installation.
constexpr const char* simulatedLibrary = "libvarnel_sim.so";

} // namespace

void nameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Varnel"));
    QCoreApplication::setApplicationVersion(QStringLiteral("4.0"));
}

bool asksForTextOnly(int argc, char** argv) {
    return std::any_of(argv + 1, argv + argc, [](const char* argument) {
        const std::string_view text(argument);
        return text == "-h" || text == "--help" || text == "--help-all" || text == "-v" ||
               text == "--version" || text == "--list-ports";
    });
}

PortChoice parseCommandLine(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Configures the Kelvo governor through the QB-7 adapter."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption simulate(
        QStringLiteral("simulate"),
        QStringLiteral("Talk to the simulated adapter and unit instead of real hardware."));
    const QCommandLineOption driver(QStringLiteral("driver"),
                                    QStringLiteral("Load the adapter driver library at <path>."),
                                    QStringLiteral("path"));
    const QCommandLineOption port(
        QStringLiteral("port"),
        QStringLiteral("Use the adapter at the serial device <path>, such as /dev/ttyUSB0."),
        QStringLiteral("path"));
    const QCommandLineOption listPorts(
        QStringLiteral("list-ports"),
        QStringLiteral("Print the USB serial ports: path, vendor:product, product, serial."));
    parser.addOption(simulate);
    parser.addOption(driver);
    parser.addOption(port);
    parser.addOption(listPorts);
    parser.process(app);

    if (parser.isSet(listPorts)) {
        for (const SerialPortInfo& candidate : listSerialPorts()) {
            std::printf("%s\n", describe(candidate).c_str());
        }
        std::exit(0);
    }

    PortChoice options;
    if (parser.isSet(port)) {
        options.device = parser.value(port).toStdString();
    } else if (parser.isSet(driver)) {
        // A library named on the command line is the one way to the adapter.
        options.driverLibrary = parser.value(driver).toStdString();
        options.serialFallback = false;
    } else if (parser.isSet(simulate)) {
        options.serialFallback = false;
        options.driverLibrary = QDir(QCoreApplication::applicationDirPath())
                                    .filePath(QString::fromLatin1(simulatedLibrary))
                                    .toStdString();
    }
    return options;
}

VarnelApp::VarnelApp(int& argc, char** argv) : QApplication(argc, argv) {
    nameApplication();
    setFont(dialogFont());
}

int VarnelApp::run() {
    DialogServices services;
    services.port = parseCommandLine(*this);
    VarnelDlg dialog(std::move(services));
    dialog.exec(); // its result does not matter: the program ends either way
    return 0;
}
