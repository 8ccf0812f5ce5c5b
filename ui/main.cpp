#include "varnel_app.h"

int main(int argc, char** argv) {
    if (asksForTextOnly(argc, argv)) {
        QCoreApplication app(argc, argv);
        nameApplication();
        parseCommandLine(app); // prints and ends the process
        return 0;
    }
    VarnelApp app(argc, argv);
    return app.run();
}
