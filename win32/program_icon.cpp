#include "program_icon.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace {

constexpr COLORREF deepBlue = RGB(20, 48, 96);
constexpr COLORREF needleOrange = RGB(240, 140, 30);
constexpr COLORREF white = RGB(255, 255, 255);

// A line from the centre outwards, between two fractions of the radius, at an angle in
// degrees clockwise from the top.
void spoke(HDC dc, double centre, double radius, double angle, double from, double to) {
    const double turn = angle * std::numbers::pi / 180.0;
    const double dx = std::sin(turn);
    const double dy = -std::cos(turn);
    MoveToEx(dc, static_cast<int>(std::lround(centre + dx * radius * from)),
             static_cast<int>(std::lround(centre + dy * radius * from)), nullptr);
    LineTo(dc, static_cast<int>(std::lround(centre + dx * radius * to)),
           static_cast<int>(std::lround(centre + dy * radius * to)));
}

} // namespace

HICON createProgramIcon(int size) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP colour = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (colour == nullptr) {
        return nullptr;
    }
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ bitmapBefore = SelectObject(dc, colour);
    const int line = std::max(1, size / 14);
    HPEN rim = CreatePen(PS_SOLID, line, white);
    HPEN tick = CreatePen(PS_SOLID, std::max(1, line * 2 / 3), white);
    HPEN needle = CreatePen(PS_SOLID, line, needleOrange);
    HBRUSH face = CreateSolidBrush(deepBlue);
    HBRUSH hub = CreateSolidBrush(needleOrange);

    const HGDIOBJ penBefore = SelectObject(dc, rim);
    const HGDIOBJ brushBefore = SelectObject(dc, face);
    Ellipse(dc, line / 2, line / 2, size - line / 2, size - line / 2);
    const double centre = (size - 1) / 2.0;
    const double radius = size / 2.0 - line;
    SelectObject(dc, tick);
    for (int step = 0; step <= 6; ++step) {
        spoke(dc, centre, radius, -135 + step * 45, 0.6, 0.85);
    }
    SelectObject(dc, needle);
    spoke(dc, centre, radius, 20, -0.1, 0.7);
    SelectObject(dc, hub);
    const int dot = std::max(1, line);
    Ellipse(dc, static_cast<int>(centre) - dot, static_cast<int>(centre) - dot,
            static_cast<int>(centre) + dot + 1, static_cast<int>(centre) + dot + 1);
    SelectObject(dc, penBefore);
    SelectObject(dc, brushBefore);
    SelectObject(dc, bitmapBefore);
    GdiFlush();

    // GDI leaves every pixel transparent: what it painted becomes opaque.
    auto* pixel = static_cast<std::uint32_t*>(bits);
    for (int at = 0; at < size * size; ++at) {
        if ((pixel[at] & 0x00FFFFFFU) != 0) {
            pixel[at] |= 0xFF000000U;
        }
    }
    // The colour's alpha decides; the mask only has to exist, all clear.
    const std::vector<BYTE> clear(static_cast<std::size_t>((size + 15) / 16 * 2 * size), 0);
    HBITMAP mask = CreateBitmap(size, size, 1, 1, clear.data());
    ICONINFO parts{TRUE, 0, 0, mask, colour};
    HICON icon = CreateIconIndirect(&parts);
    for (HGDIOBJ object :
         {static_cast<HGDIOBJ>(rim), static_cast<HGDIOBJ>(tick), static_cast<HGDIOBJ>(needle),
          static_cast<HGDIOBJ>(face), static_cast<HGDIOBJ>(hub), static_cast<HGDIOBJ>(mask),
          static_cast<HGDIOBJ>(colour)}) {
        DeleteObject(object);
    }
    DeleteDC(dc);
    return icon;
}
