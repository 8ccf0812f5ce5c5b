#include "qt_prompter.h"

#include "backup_list_dlg.h"
#include "language.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

// The initial name "*.gvx" is a pattern, which the desktop's own dialogs take as a
// filter; taken as a name it would create a file called "*.gvx". A pattern therefore
// keeps the dialog open until the user names a file.
class SettingsFileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

protected:
    void accept() override {
        const QStringList chosen = selectedFiles();
        if (!chosen.isEmpty()) {
            const QString name = QFileInfo(chosen.constFirst()).fileName();
            if (name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'))) {
                return;
            }
        }
        QFileDialog::accept();
    }
};

QMessageBox::Icon boxIcon(Prompter::Icon icon) {
    switch (icon) {
    case Prompter::Icon::Error:
        return QMessageBox::Critical;
    case Prompter::Icon::Information:
        return QMessageBox::Information;
    case Prompter::Icon::Warning:
        return QMessageBox::Warning;
    case Prompter::Icon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(Prompter::Buttons buttons) {
    switch (buttons) {
    case Prompter::Buttons::Ok:
        break;
    case Prompter::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Prompter::Buttons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// A box closed without its buttons (Escape, the close box) answers No or Cancel.
Prompter::Answer answerOf(Prompter::Buttons buttons, int button) {
    switch (buttons) {
    case Prompter::Buttons::Ok:
        break;
    case Prompter::Buttons::YesNo:
        return button == QMessageBox::Yes ? Prompter::Answer::Yes : Prompter::Answer::No;
    case Prompter::Buttons::RetryCancel:
        return button == QMessageBox::Retry ? Prompter::Answer::Retry : Prompter::Answer::Cancel;
    }
    return Prompter::Answer::Ok;
}

QString askForFile(QWidget* owner, QFileDialog::AcceptMode mode) {
    SettingsFileDialog dialog(owner);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("gvx"));
    dialog.setNameFilter(uiText("Kelvo Files (*.gvx)"));
    dialog.selectFile(QStringLiteral("*.gvx"));
    // The Save As command asks its own overwrite question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace

Prompter::Answer QtPrompter::message(const QString& text, Icon icon, Buttons buttons) {
    QMessageBox box(boxIcon(icon), QStringLiteral("Varnel"), text, boxButtons(buttons), owner);
    return answerOf(buttons, box.exec());
}

QString QtPrompter::openFileName() {
    return askForFile(owner, QFileDialog::AcceptOpen);
}

QString QtPrompter::saveFileName() {
    return askForFile(owner, QFileDialog::AcceptSave);
}

std::optional<std::size_t> QtPrompter::chooseBackup(const BackupChoice& choice) {
    BackupListDlg dialog(choice, owner);
    dialog.exec();
    return dialog.chosenRow();
}
