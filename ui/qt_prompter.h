#pragma once

#include "prompter.h"

class QWidget;

// Message boxes with the program's name as caption, and the settings file dialogs.
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* owner) : owner(owner) {}

    Answer message(const QString& text, Icon icon, Buttons buttons) override;
    QString openFileName() override;
    QString saveFileName() override;
    std::optional<std::size_t> chooseBackup(const BackupChoice& choice) override;

private:
    QWidget* owner;
};
