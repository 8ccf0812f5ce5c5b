// Renders the list of backups, as before any Read, for the README.
// Usage: backup_list_screenshot OUTPUT.png [ja|en]

#include "commands/backup_list.h"
#include "dialog/backup_choice.h"
#include "settings/factory_defaults.h"
#include "ui/backup_list_dlg.h"
#include "ui/language.h"

#include <QApplication>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <chrono>

using namespace std::chrono_literals;

namespace {

SettingsImage factoryRecord(std::uint16_t unitId) {
    SettingsImage image;
    image.setUnitId(unitId);
    applyFactoryDefaults(image);
    return image;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::optional<Language> language =
        languageNamed(argc == 3 ? QString::fromLatin1(argv[2]) : QStringLiteral("ja"));
    if (argc < 2 || argc > 3 || !language) {
        return 2;
    }
    useLanguage(*language);

    QTemporaryDir scratch;
    const std::filesystem::path root = scratch.filePath(QStringLiteral("backups")).toStdString();
    // 2026-05-02 09:15 UTC, then a few flying days.
    std::chrono::system_clock::time_point when{1777713300000ms};
    BackupStore store(
        root, [](std::string_view) {}, [&] { return when; });
    SettingsImage record = factoryRecord(10775);
    store.keep(record);
    when += 26h + 7min;
    record.setTargetRpm(0, 1900);
    record.setGearRatio(850);
    store.keep(record);
    when += 3h + 41min;
    record.setGovernorGain(55);
    record.setWorkingModeBit(!record.workingModeBit());
    store.keep(record);
    when += 2h;
    store.keep(factoryRecord(4021));

    const SettingsImage shown = factoryRecord(10775);
    BackupListDlg dialog(backupChoice(listBackups(store, std::nullopt, shown), shown));
    dialog.show();
    QTreeWidget* list = dialog.backupList();
    list->setCurrentItem(list->topLevelItem(1)->child(0));
    QApplication::processEvents();
    return dialog.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
