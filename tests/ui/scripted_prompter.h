#pragma once

#include "ui/prompter.h"

#include <QList>
#include <QQueue>
#include <QString>

#include <functional>

// Answers the dialog's message boxes and file dialogs from queues, and records every
// box it was shown.
class ScriptedPrompter : public Prompter {
public:
    struct Box {
        QString text;
        Icon icon;
        Buttons buttons;
    };

    QList<Box> boxes;
    QQueue<Answer> answers;    // when empty: OK, or No to a question
    QQueue<QString> fileNames; // when empty: the user cancels
    // Runs while a box is up, before it is answered: what the user sees at that moment.
    std::function<void(const Box&)> whileShown;

    Answer message(const QString& text, Icon icon, Buttons buttons) override {
        boxes.append({text, icon, buttons});
        if (whileShown) {
            whileShown(boxes.back());
        }
        if (!answers.isEmpty()) {
            return answers.dequeue();
        }
        if (buttons == Buttons::RetryCancel) {
            return Answer::Cancel;
        }
        return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
    QString openFileName() override { return nextFileName(); }
    QString saveFileName() override { return nextFileName(); }
    // The list of backups; by default the user cancels it.
    std::function<std::optional<std::size_t>(const BackupChoice&)> backupChooser;
    int backupLists = 0;
    std::optional<std::size_t> chooseBackup(const BackupChoice& choice) override {
        ++backupLists;
        return backupChooser ? backupChooser(choice) : std::nullopt;
    }

    QStringList texts() const {
        QStringList all;
        for (const Box& box : boxes) {
            all.append(box.text);
        }
        return all;
    }

private:
    QString nextFileName() { return fileNames.isEmpty() ? QString() : fileNames.dequeue(); }
};
