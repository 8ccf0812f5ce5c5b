#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own pictures, drawn in code so that no image file has to travel with
// the binary.

// Program icon: 16, 32 and 48 pixel images.
QIcon programIcon();

// The logo shown in the main dialog, 263 x 52 pixels.
QPixmap logoBitmap();
