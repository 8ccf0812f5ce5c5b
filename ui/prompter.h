#pragma once

#include "dialog/dialog_view.h"

#include <QString>

#include <cstddef>
#include <optional>

// Every message box and file dialog of the Qt face goes through this, so that tests
// can answer them.
class Prompter {
public:
    using Icon = DialogView::Icon;
    using Buttons = DialogView::Buttons;
    using Answer = DialogView::Answer;

    virtual ~Prompter() = default;

    virtual Answer message(const QString& text, Icon icon, Buttons buttons) = 0;
    // The chosen file's full path; empty when the user cancels.
    virtual QString openFileName() = 0;
    virtual QString saveFileName() = 0;
    // The row of the list of backups that the user opens; none when they cancel.
    virtual std::optional<std::size_t> chooseBackup(const BackupChoice& choice) = 0;
};
