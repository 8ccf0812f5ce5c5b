#pragma once

#include <windows.h>

// The program's icon, a speed dial with its needle just past the top, drawn at the size
// asked for: the picture of the Qt face's artwork, painted with GDI, since that artwork
// needs Qt. The caller destroys it (DestroyIcon).
HICON createProgramIcon(int size);
