// Renders the main dialog as it looks after File > Initialize, for the README.
// Usage: dialog_screenshot OUTPUT.png [ja|en]

#include "dialog_harness.h"

#include "settings/factory_defaults.h"
#include "ui/language.h"

#include <QApplication>
#include <QPixmap>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::optional<Language> language =
        languageNamed(argc == 3 ? QString::fromLatin1(argv[2]) : QStringLiteral("ja"));
    if (argc < 2 || argc > 3 || !language) {
        return 2;
    }
    useLanguage(*language);
    DialogHarness dialog;
    applyFactoryDefaults(dialog->logic().kelvo().workingImage);
    dialog->logic().ImageToValues();
    dialog->logic().ValuesToSliders();
    dialog->logic().RefreshLimitLabels();
    dialog->show();
    QApplication::processEvents();
    return dialog->grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
