// Initialize, Open, Save and Save As: the dialog's side of them. The settings file and
// the remembered path belong to the unit session.

#include "varnel_dlg.h"

#include "commands/settings_file.h"
#include "language.h"
#include "prompter.h"
#include "resources/string_table.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The file system's own encoding of a path the file dialog gave.
std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

QString VarnelDlg::filePath() const {
    return QFile::decodeName(QByteArray::fromStdString(session.filePath()));
}

void VarnelDlg::OnFileInitialize() {
    if (showMessage(*activePrompter, msg::initializeQuestion, Prompter::Icon::Question,
                    Prompter::Buttons::YesNo) != Prompter::Answer::Yes) {
        return;
    }
    session.initialize();
    showAfterFill();
}

void VarnelDlg::OnFileOpen() {
    const QString path = activePrompter->openFileName();
    if (path.isEmpty()) {
        return;
    }
    // A file that cannot be read leaves the controls as the user left them; one that
    // is read but refused shows the working image again.
    if (!fileIsReadable(localPath(path))) {
        showFailure(CommandOutcome::FileReadError);
        return;
    }
    showFailure(session.open(localPath(path)));
    showAfterFill();
}

void VarnelDlg::OnFileSave() {
    if (session.hasFilePath()) {
        showFailure(session.save());
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
    showFailure(session.saveAs(localPath(path)));
}
