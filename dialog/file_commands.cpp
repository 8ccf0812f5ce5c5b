// Initialize, Open, Save and Save As: the dialog's side of them. The settings file and
// the remembered path belong to the unit session.

#include "dialog/dialog_logic.h"

#include "commands/settings_file.h"
#include "resources/text_catalogue.h"

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
    // A file that cannot be read leaves the controls as the user left them; one that
    // is read but refused shows the working image again.
    if (!fileIsReadable(path)) {
        showFailure(CommandOutcome::FileReadError);
        return;
    }
    showFailure(session.open(path));
    showAfterFill();
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
