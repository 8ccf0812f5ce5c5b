#pragma once

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QRectF>

// The program's own pictures, drawn in code so that no image file has to travel with
// the binary.

// Program icon: 16, 32 and 48 pixel images.
QIcon programIcon();

// Draws the program icon into the square `box` on any paint device: the pictures of
// programIcon(), and the icon files installed for the desktop, come from this one drawing.
void drawProgramIcon(QPainter& painter, const QRectF& box);

// The logo shown in the main dialog, 263 x 52 pixels.
QPixmap logoBitmap();
