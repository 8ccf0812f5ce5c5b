// Initialize, Open, Save and Save As: the dialog's side of them. The settings file and
// the remembered path belong to the unit session.

#include "dialog/dialog_logic.h"

#include "commands/backup_list.h"
#include "commands/settings_file.h"
#include "device/platform/utf8_path.h"
#include "dialog/backup_choice.h"
#include "resources/text_catalogue.h"
#include "settings/packing.h"

#include <filesystem>

namespace {

// The last part of a UTF-8 path, by the platform's own separators.
std::string fileNameOf(const std::string& path) {
    const std::u8string name =
        std::filesystem::path(std::u8string(path.begin(), path.end())).filename().u8string();
    return {name.begin(), name.end()};
}

} // namespace

void DialogLogic::OnFileInitialize() {
    if (tell(msg::initializeQuestion, DialogView::Icon::Question, DialogView::Buttons::YesNo) !=
        DialogView::Answer::Yes) {
        return;
    }
    session.initialize();
    showAfterFill();
}

void DialogLogic::OnFileOpen() {
    const std::string path = view.chooseFile(DialogView::FileChoice::Open);
    if (path.empty()) {
        return;
    }
    loadFile(path, true);
}

void DialogLogic::loadFile(const std::string& path, bool remember) {
    // A file that cannot be read leaves the controls as the user left them; one that
    // is read but refused shows the working image again.
    if (!fileIsReadable(path)) {
        showFailure(CommandOutcome::FileReadError);
        return;
    }
    showFailure(remember ? session.open(path) : session.openCopy(path));
    showAfterFill();
}

SettingsImage DialogLogic::shownImage() {
    SettingsImage shown = session.workingImage();
    packValues(dialogValues.panel, shown);
    packControlResponseAndGain(dialogValues.panel.controlResponse, dialogValues.panel.governorGain,
                               shown);
    return shown;
}

void DialogLogic::OnFileOpenBackup() {
    // Typing not yet taken counts as shown, as it does for Write; one that does not
    // parse is told and nothing opens.
    if (!Save()) {
        return;
    }
    if (!backups) {
        view.message(backupText(backup_text::noFolder), DialogView::Icon::Error,
                     DialogView::Buttons::Ok);
        return;
    }
    const SettingsImage shown = shownImage();
    const std::optional<unsigned> unit =
        session.unitRead() ? std::optional<unsigned>(session.receivedImage().unitId())
                           : std::nullopt;
    const BackupListing listing = listBackups(*backups, unit, shown);
    if (listing.state == BackupListing::State::Unreadable) {
        view.message(backupText(backup_text::unreadable, listing.problem), DialogView::Icon::Error,
                     DialogView::Buttons::Ok);
        return;
    }
    if (const auto row = view.chooseBackup(backupChoice(listing, shown))) {
        loadFile(utf8Of(listing.rows.at(*row).file), false);
    }
}

void DialogLogic::OnFileSave() {
    if (session.hasFilePath()) {
        showFailure(session.save());
    } else {
        OnFileSaveAs();
    }
}

void DialogLogic::OnFileSaveAs() {
    const std::string path = view.chooseFile(DialogView::FileChoice::Save);
    if (path.empty()) {
        return;
    }
    if (fileIsReadable(path)) {
        const std::string question = localOverwriteQuestion(fileNameOf(path));
        if (view.message(question, DialogView::Icon::Warning, DialogView::Buttons::YesNo) !=
            DialogView::Answer::Yes) {
            return;
        }
    }
    showFailure(session.saveAs(path));
}
