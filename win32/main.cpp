// varnel.exe: the main dialog as a native Windows program.

#include "main_dialog.h"
#include "message_box.h"
#include "options.h"

#include "device/platform/program_folder.h"
#include "device/platform/wide_text.h"

#include <commctrl.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <vector>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Every common control class the dialog may use, the track bar among them.
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), 0xFF};
    InitCommonControlsEx(&classes);

    // The wide command line keeps every character; none but the program's name is
    // the program's own.
    std::vector<std::string> arguments;
    int count = 0;
    if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i) {
            arguments.push_back(narrow(wide[i]));
        }
        LocalFree(wide);
    }
    const ParsedOptions parsed = parseOptions(arguments, programFolder(), userLanguage());
    if (!parsed.options) {
        showMessageBox(nullptr, "varnel: " + parsed.error, DialogView::Icon::Error,
                       DialogView::Buttons::Ok);
        return 2;
    }
    setTextLanguage(parsed.options->language);

    DialogServices services;
    services.port = parsed.options->port;
    Win32Prompter prompter;
    MainDialog dialog(std::move(services), prompter);
    dialog.quitOnClose();
    if (dialog.open() == nullptr) {
        return 1;
    }
    MSG message;
    while (!dialog.closed() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!dialog.preTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}
