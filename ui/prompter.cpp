#include "prompter.h"

#include "language.h"

Prompter::Answer showMessage(Prompter& prompter, int messageId, Prompter::Icon icon,
                             Prompter::Buttons buttons) {
    return prompter.message(uiMessage(messageId), icon, buttons);
}
