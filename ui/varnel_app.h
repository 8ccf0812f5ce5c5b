#pragma once

#include "language.h"

#include <QApplication>

#include <string>

// What the command line asks for.
struct LaunchOptions {
    std::string driverLibrary; // empty: the vendor's library
    Language language = Language::Japanese;
};

// Reads the command line of a running application. Prints the help or the version and
// ends the process when asked for them, or on an unknown option.
LaunchOptions parseCommandLine(const QCoreApplication& app);

// Whether the command line only asks for text (help, version), which needs no window
// system and so must also work without a display.
bool asksForTextOnly(int argc, char** argv);

void nameApplication();

// The application object: runs the main dialog modally and ends when it closes.
class VarnelApp : public QApplication {
    Q_OBJECT

public:
    VarnelApp(int& argc, char** argv);

    // Returns the process exit code.
    int run();
};
