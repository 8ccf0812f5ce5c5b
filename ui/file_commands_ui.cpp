// Initialize, Open, Save and Save As.

#include "varnel_dlg.h"

#include "commands/outcome.h"
#include "commands/settings_file.h"
#include "language.h"
#include "prompter.h"
#include "resources/string_table.h"
#include "settings/factory_defaults.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The file system's own encoding of a path the file dialog gave.
std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

void VarnelDlg::OnFileInitialize() {
    if (showMessage(*activePrompter, msg::initializeQuestion, Prompter::Icon::Question,
                    Prompter::Buttons::YesNo) != Prompter::Answer::Yes) {
        return;
    }
    applyFactoryDefaults(unit.workingImage);
    showAfterFill();
}

void VarnelDlg::OnFileOpen() {
    const QString path = activePrompter->openFileName();
    if (path.isEmpty()) {
        return;
    }
    if (!fileIsReadable(localPath(path))) {
        showMessage(*activePrompter, msg::fileReadError, Prompter::Icon::Error);
        return;
    }
    // A refused file is not remembered: a later Save would overwrite it with settings
    // that did not come from it.
    if (LoadSettingsFile(path)) {
        settingsFilePath = path;
        hasSettingsFilePath = true;
    }
    showAfterFill();
}

void VarnelDlg::OnFileSave() {
    if (hasSettingsFilePath) {
        SaveSettingsFile(settingsFilePath);
    } else {
        OnFileSaveAs();
    }
}

void VarnelDlg::OnFileSaveAs() {
    const QString path = activePrompter->saveFileName();
    if (path.isEmpty()) {
        return;
    }
    if (fileIsReadable(localPath(path))) {
        const QString question = overwriteQuestion(QFileInfo(path).fileName());
        if (activePrompter->message(question, Prompter::Icon::Warning, Prompter::Buttons::YesNo) !=
            Prompter::Answer::Yes) {
            return;
        }
    }
    SaveSettingsFile(path);
    settingsFilePath = path;
    hasSettingsFilePath = true;
}

void VarnelDlg::SaveSettingsFile(const QString& path) {
    const int message = saveSettingsFile(unit.workingImage, localPath(path));
    if (message != noMessage) {
        showMessage(*activePrompter, message, Prompter::Icon::Error);
    }
}

bool VarnelDlg::LoadSettingsFile(const QString& path) {
    const int message = loadSettingsFile(unit.workingImage, localPath(path));
    if (message != noMessage) {
        showMessage(*activePrompter, message, Prompter::Icon::Error);
    }
    return message == noMessage;
}
