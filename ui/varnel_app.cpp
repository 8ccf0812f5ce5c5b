#include "varnel_app.h"

#include "dialog_units.h"
#include "varnel_dlg.h"

#include "commands/port_options.h"
#include "varnel_config.h"

#include <QCommandLineParser>
#include <QDir>
#include <QLocale>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace {

// As varnel-cli ports prints them; the exit status as the command line's: 2 when
// nothing is found.
int printPorts(const PortOptions& options) {
    const PortListing listing = listPorts(options);
    const std::string problem = listingProblem(listing);
    if (!problem.empty()) {
        std::fprintf(stderr, "varnel: %s\n", problem.c_str());
        return 2;
    }
    for (const std::string& line : listing.lines) {
        std::printf("%s\n", line.c_str());
    }
    return 0;
}

} // namespace

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
        QStringLiteral("Use this adapter: a serial device such as /dev/ttyUSB0, or a name that "
                       "--list-ports prints, such as d2xx:0."),
        QStringLiteral("name"));
    const QCommandLineOption listPorts(
        QStringLiteral("list-ports"),
        QStringLiteral("Print the candidate adapters, one a line, each starting with its name."));
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

    PortOptions portOptions;
    portOptions.port = parser.value(port).toStdString();
    portOptions.driver = parser.value(driver).toStdString();
    portOptions.simulate = parser.isSet(simulate);
    if (parser.isSet(listPorts)) {
        std::exit(printPorts(portOptions));
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
    options.port = portChoice(portOptions);
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
