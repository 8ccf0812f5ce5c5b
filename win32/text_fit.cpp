#include "text_fit.h"

#include "device/platform/wide_text.h"
#include "resources/text_catalogue.h"

#include <algorithm>

std::wstring shownText(const ControlRow& row) {
    std::wstring text = widen(localText(row.text));
    std::erase(text, L'&');
    return text;
}

TextFit measureText(HWND dialog, HWND control, const ControlRow& row) {
    const std::wstring text = shownText(row);
    HDC dc = GetDC(control);
    const HGDIOBJ before =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, before);
    ReleaseDC(control, dc);

    RECT cell{0, 0, 4, 8}; // one average character in dialog units
    MapDialogRect(dialog, &cell);
    RECT box;
    GetClientRect(control, &box);
    int room = box.right;
    switch (row.kind) {
    case ControlKind::Radio:
    case ControlKind::CheckBox:
        room -= GetSystemMetrics(SM_CXMENUCHECK) + cell.right / 2;
        break;
    case ControlKind::GroupBox:
        room -= 2 * cell.right; // the title's margin on either side
        break;
    case ControlKind::CheckButton:
    case ControlKind::PushButton:
        room -= 2 * GetSystemMetrics(SM_CXEDGE) + 2;
        break;
    default:
        break;
    }
    return {extent.cx, room};
}

std::vector<HWND> controlWindows(HWND dialog) {
    std::vector<HWND> windows;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        windows.push_back(child);
    }
    return windows;
}

std::vector<HFONT> narrowToFit(HWND dialog) {
    std::vector<HFONT> made;
    const std::vector<HWND> windows = controlWindows(dialog);
    const auto rows = controlTable();
    for (std::size_t at = 0; at < rows.size() && at < windows.size(); ++at) {
        const ControlRow& row = rows[at];
        if (row.text == nullptr || row.kind == ControlKind::Combo) {
            continue;
        }
        HWND control = windows[at];
        // Narrower and narrower until it fits; a font's width steps are coarse.
        for (int attempt = 0; attempt < 8; ++attempt) {
            const TextFit fit = measureText(dialog, control, row);
            if (fit.needed <= fit.room || fit.room <= 0) {
                break;
            }
            HFONT current = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
            LOGFONTW shape{};
            GetObjectW(current, sizeof shape, &shape);
            HDC dc = GetDC(control);
            const HGDIOBJ before = SelectObject(dc, current);
            TEXTMETRICW metrics{};
            GetTextMetricsW(dc, &metrics);
            SelectObject(dc, before);
            ReleaseDC(control, dc);
            const LONG width = shape.lfWidth != 0 ? shape.lfWidth : metrics.tmAveCharWidth;
            shape.lfWidth =
                std::max<LONG>(1, std::min<LONG>(width - 1, width * fit.room / fit.needed));
            HFONT narrowed = CreateFontIndirectW(&shape);
            made.push_back(narrowed);
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(narrowed), TRUE);
        }
    }
    return made;
}
