#pragma once

#include "commands/connect.h"
#include "language.h"

#include <QApplication>

// What the command line asks for.
struct LaunchOptions {
    PortChoice port;
    Language language = Language::Japanese;
};

// Reads the command line of a running application: which port to connect, in which
// language. Prints the help, the version or the candidate ports and ends the process
// when asked for them, or on an unknown option.
LaunchOptions parseCommandLine(const QCoreApplication& app);

// Whether the command line only asks for text (help, version, the port list), which
// needs no window system and so must also work without a display.
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
