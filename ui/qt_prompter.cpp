#include "qt_prompter.h"

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
    const bool yesNo = buttons == Buttons::YesNo;
    QMessageBox box(boxIcon(icon), QStringLiteral("Varnel"), text,
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, owner);
    const int answer = box.exec();
    if (!yesNo) {
        return Answer::Ok;
    }
    return answer == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

QString QtPrompter::openFileName() {
    return askForFile(owner, QFileDialog::AcceptOpen);
}

QString QtPrompter::saveFileName() {
    return askForFile(owner, QFileDialog::AcceptSave);
}
