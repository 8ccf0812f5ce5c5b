// Renders the program icon for the desktop's hicolor icon theme at build time:
//   render_icons OUTPUT_FOLDER
// writes OUTPUT_FOLDER/<n>x<n>/apps/varnel.png for each size the desktops look up and
// OUTPUT_FOLDER/scalable/apps/varnel.svg, all from the drawing the program's own window
// icon uses.
#include "resources/artwork.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <array>
#include <cstdio>

namespace {

constexpr std::array iconSizes{16, 32, 48, 64, 128, 256};
constexpr int svgSize = 256;

QString themeFile(const QString& root, const QString& sizeFolder, const QString& extension) {
    const QString folder = root + QStringLiteral("/") + sizeFolder + QStringLiteral("/apps");
    if (!QDir().mkpath(folder)) {
        return {};
    }
    return folder + QStringLiteral("/varnel.") + extension;
}

bool writePng(const QString& root, int size) {
    const QString path = themeFile(root, QStringLiteral("%1x%1").arg(size), QStringLiteral("png"));
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        drawProgramIcon(painter, QRectF(0, 0, size, size));
    }
    return !path.isEmpty() && image.save(path, "PNG");
}

bool writeSvg(const QString& root) {
    const QString path = themeFile(root, QStringLiteral("scalable"), QStringLiteral("svg"));
    if (path.isEmpty()) {
        return false;
    }
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(svgSize, svgSize));
    svg.setViewBox(QRect(0, 0, svgSize, svgSize));
    svg.setTitle(QStringLiteral("Varnel"));
    svg.setDescription(QStringLiteral("The Varnel program icon"));
    QPainter painter;
    if (!painter.begin(&svg)) {
        return false;
    }
    drawProgramIcon(painter, QRectF(0, 0, svgSize, svgSize));
    return painter.end();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: render_icons OUTPUT_FOLDER\n", stderr);
        return 2;
    }
    // Drawing needs no screen; the build machine may have none.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication app(argc, argv);
    const QString root = QString::fromLocal8Bit(argv[1]);
    bool written = writeSvg(root);
    for (const int size : iconSizes) {
        written = writePng(root, size) && written;
    }
    if (!written) {
        std::fprintf(stderr, "render_icons: cannot write the icons under %s\n", argv[1]);
        return 1;
    }
    return 0;
}
