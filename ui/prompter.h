#pragma once

#include <QString>

// Every message box and file dialog of the program goes through this, so that tests
// can answer them.
class Prompter {
public:
    enum class Icon { Error, Information, Warning, Question };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    virtual ~Prompter() = default;

    virtual Answer message(const QString& text, Icon icon, Buttons buttons) = 0;
    // The chosen file's full path; empty when the user cancels.
    virtual QString openFileName() = 0;
    virtual QString saveFileName() = 0;
};

// A message of the string table.
Prompter::Answer showMessage(Prompter& prompter, int messageId, Prompter::Icon icon,
                             Prompter::Buttons buttons = Prompter::Buttons::Ok);
