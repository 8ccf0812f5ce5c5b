#include "prompter.h"

#include "resources/string_table.h"

Prompter::Answer showMessage(Prompter& prompter, int messageId, Prompter::Icon icon,
                             Prompter::Buttons buttons) {
    return prompter.message(QString::fromUtf8(messageText(messageId)), icon, buttons);
}
