#include "logo.h"

#include "device/platform/wide_text.h"
#include "resources/text_catalogue.h"

namespace {

constexpr COLORREF deepBlue = RGB(20, 48, 96);

void fillGradient(HDC dc, const RECT& box) {
    TRIVERTEX corners[2] = {
        {box.left, box.top, 20 << 8, 48 << 8, 96 << 8, 0},
        {box.right, box.bottom, 64 << 8, 140 << 8, 220 << 8, 0},
    };
    GRADIENT_RECT span{0, 1};
    if (!GdiGradientFill(dc, corners, 2, &span, 1, GRADIENT_FILL_RECT_H)) {
        HBRUSH brush = CreateSolidBrush(deepBlue);
        FillRect(dc, &box, brush);
        DeleteObject(brush);
    }
}

HFONT fontOfHeight(int height, int weight) {
    return CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, L"MS Shell Dlg 2");
}

} // namespace

void paintLogo(const DRAWITEMSTRUCT& item) {
    const RECT box = item.rcItem;
    HDC dc = item.hDC;
    fillGradient(dc, box);
    const int height = box.bottom - box.top;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    HFONT name = fontOfHeight(height * 9 / 16, FW_BOLD);
    HFONT line = fontOfHeight(height / 4, FW_NORMAL);
    RECT nameBox{box.left + height / 4, box.top, box.right, box.top + height * 2 / 3};
    RECT lineBox{box.left + height / 4, box.top + height * 5 / 8, box.right, box.bottom};
    HGDIOBJ before = SelectObject(dc, name);
    DrawTextW(dc, L"Varnel", -1, &nameBox, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, line);
    DrawTextW(dc, widen(localText("Kelvo governor settings")).c_str(), -1, &lineBox,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, before);
    DeleteObject(name);
    DeleteObject(line);
}
