#include "varnel_app.h"

#include "dialog_units.h"
#include "varnel_dlg.h"

#include "device/simulated_driver.h"
#include "varnel_config.h"

#include <QCommandLineParser>

#include <algorithm>
#include <string_view>

void nameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Varnel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VARNEL_VERSION));
}

bool asksForTextOnly(int argc, char** argv) {
    return std::any_of(argv + 1, argv + argc, [](const char* argument) {
        const std::string_view text(argument);
        return text == "-h" || text == "--help" || text == "--help-all" || text == "-v" ||
               text == "--version";
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
    parser.addOption(simulate);
    parser.addOption(driver);
    parser.process(app);

    LaunchOptions options;
    if (parser.isSet(driver)) {
        options.driverLibrary = parser.value(driver).toStdString();
    } else if (parser.isSet(simulate)) {
        options.driverLibrary =
            simulatedDriverPath(QCoreApplication::applicationDirPath().toStdString()).string();
    }
    return options;
}

VarnelApp::VarnelApp(int& argc, char** argv) : QApplication(argc, argv) {
    nameApplication();
    setFont(dialogFont());
}

int VarnelApp::run() {
    DialogServices services;
    services.driverLibrary = parseCommandLine(*this).driverLibrary;
    VarnelDlg dialog(std::move(services));
    dialog.exec(); // its result does not matter: the program ends either way
    return 0;
}
