// Renders the main dialog as it looks after File > Initialize, for the README.
// Usage: dialog_screenshot OUTPUT.png

#include "dialog_harness.h"

#include "settings/factory_defaults.h"

#include <QApplication>
#include <QPixmap>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        return 2;
    }
    DialogHarness dialog;
    applyFactoryDefaults(dialog->kelvo().workingImage);
    dialog->ImageToValues();
    dialog->ValuesToSliders();
    dialog->RefreshLimitLabels();
    dialog->show();
    QApplication::processEvents();
    return dialog->grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
