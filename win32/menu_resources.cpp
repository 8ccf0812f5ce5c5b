#include "menu_resources.h"

#include "device/platform/wide_text.h"
#include "dialog/menu_table.h"
#include "resources/text_catalogue.h"

#include <string_view>

HMENU buildMenuBar() {
    HMENU bar = CreateMenu();
    HMENU popup = nullptr;
    for (const MenuEntry& entry : menuTable()) {
        if (entry.menu != nullptr) {
            popup = CreatePopupMenu();
            AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup),
                        widen(localText(entry.menu)).c_str());
        }
        if (entry.text == nullptr) {
            AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(popup, MF_STRING, static_cast<UINT_PTR>(entry.commandId),
                        widen(localText(entry.text)).c_str());
        }
    }
    return bar;
}

std::vector<ACCEL> acceleratorEntries() {
    constexpr std::string_view ctrl = "Ctrl+";
    std::vector<ACCEL> entries;
    for (const MenuEntry& entry : menuTable()) {
        if (entry.shortcut == nullptr) {
            continue;
        }
        const std::string_view shortcut(entry.shortcut);
        if (shortcut.size() == ctrl.size() + 1 && shortcut.substr(0, ctrl.size()) == ctrl) {
            entries.push_back({FVIRTKEY | FCONTROL, static_cast<WORD>(shortcut.back()),
                               static_cast<WORD>(entry.commandId)});
        }
    }
    return entries;
}

HACCEL buildAccelerators() {
    std::vector<ACCEL> entries = acceleratorEntries();
    return CreateAcceleratorTableW(entries.data(), static_cast<int>(entries.size()));
}

void addVersionItem(HWND window) {
    HMENU systemMenu = GetSystemMenu(window, FALSE);
    const std::string text = localMessage(msg::aboutMenuItem);
    if (systemMenu == nullptr || text.empty()) {
        return;
    }
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(systemMenu, MF_STRING, systemAboutCommand, widen(text).c_str());
}
