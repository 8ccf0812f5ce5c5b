#include "varnel_app.h"

#include <csignal>

int main(int argc, char** argv) {
#ifdef SIGXFSZ
    // A file-size limit then fails the save with a message instead of ending the
    // program with the user's settings unsaved.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    if (asksForTextOnly(argc, argv)) {
        QCoreApplication app(argc, argv);
        nameApplication();
        parseCommandLine(app); // prints and ends the process
        return 0;
    }
    VarnelApp app(argc, argv);
    return app.run();
}
