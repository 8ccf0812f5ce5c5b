#include "dialog_units.h"

#include "language.h"

#include <QFontMetrics>

namespace {

// Rounded a * b / c, as the layout's original arithmetic does.
int mulDiv(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    return static_cast<int>((product >= 0 ? product + c / 2 : product - c / 2) / c);
}

} // namespace

DialogUnits DialogUnits::fromFont(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average over the 52 letters, rounded the same way the original layout was.
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

int DialogUnits::x(int units) const {
    return mulDiv(units, baseX, 4);
}
int DialogUnits::y(int units) const {
    return mulDiv(units, baseY, 8);
}

QRect DialogUnits::toPixels(const DialogRect& rect) const {
    // Both edges are mapped, so that neighbouring controls keep their common edge.
    const int left = x(rect.x);
    const int top = y(rect.y);
    return {left, top, x(rect.x + rect.width) - left, y(rect.y + rect.height) - top};
}

QFont layoutFont(int pointSize) {
    QFont font(QStringLiteral("Noto Sans CJK JP"), pointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont dialogFont(int pointSize) {
    if (currentLanguage() == Language::Japanese) {
        return layoutFont(pointSize);
    }
    // Latin text set in the CJK font's wide Latin glyphs would need far more room.
    QFont font(QStringLiteral("Liberation Sans"), pointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
