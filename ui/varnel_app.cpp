#include "varnel_app.h"

#include "dialog_units.h"
#include "varnel_dlg.h"

#include "device/serial/serial_ports.h"
#include "device/simulated_driver.h"
#include "varnel_config.h"

#include <QCommandLineParser>
#include <QDir>
#include <QLocale>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

void nameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Varnel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VARNEL_VERSION));
}

bool asksForTextOnly(int argc, char** argv) {
    return std::any_of(argv + 1, argv + argc, [](const char* argument) {
        const std::string_view text(argument);
        return text == "-h" || text == "--help" || text == "--help-all" || text == "-v" ||
               text == "--version" || text == "--list-ports";
    });
}

LaunchOptions parseCommandLine(const QCoreApplication& app) {
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
    const QCommandLineOption lang(
        QStringLiteral("lang"),
        QStringLiteral("Interface language: ja or en (default: from the system's locale)."),
        QStringLiteral("language"));
    parser.addOption(simulate);
    parser.addOption(driver);
    parser.addOption(port);
    parser.addOption(listPorts);
    parser.addOption(lang);
    parser.process(app);

    if (parser.isSet(listPorts)) {
        for (const SerialPortInfo& candidate : listSerialPorts()) {
            std::printf("%s\n", describe(candidate).c_str());
        }
        std::exit(0);
    }

    LaunchOptions options;
    options.language = languageForLocale(QLocale::system().uiLanguages());
    if (parser.isSet(lang)) {
        const std::optional<Language> named = languageNamed(parser.value(lang));
        if (!named) {
            std::fprintf(stderr, "varnel: unknown language \"%s\"; use ja or en\n",
                         qPrintable(parser.value(lang)));
            std::exit(2);
        }
        options.language = *named;
    }
    if (parser.isSet(port)) {
        options.port.device = parser.value(port).toStdString();
    } else if (parser.isSet(driver)) {
        // A library named on the command line is the one way to the adapter.
        options.port.driverLibrary = parser.value(driver).toStdString();
        options.port.serialFallback = false;
    } else if (parser.isSet(simulate)) {
        options.port.serialFallback = false;
        options.port.driverLibrary =
            simulatedDriverPath(QCoreApplication::applicationDirPath().toStdString()).string();
    }
    return options;
}

VarnelApp::VarnelApp(int& argc, char** argv) : QApplication(argc, argv) {
    nameApplication();
}

int VarnelApp::run() {
    const LaunchOptions options = parseCommandLine(*this);
    useLanguage(options.language);
    setFont(dialogFont());
    DialogServices services;
    services.port = options.port;
    VarnelDlg dialog(std::move(services));
    dialog.exec(); // its result does not matter: the program ends either way
    return 0;
}
