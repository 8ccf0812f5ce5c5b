#pragma once

#include <windows.h>

// Gives screen readers the names the control table holds: each label or group box
// names the controls it lists, and the few controls without a label carry their own.
// Windows would otherwise name an edit or a slider after the static text before it in
// the tab order, which here is another row's label. Through Windows' dynamic annotation
// (IAccPropServices); returns false where the system does not offer it.
bool annotateAccessibleNames(HWND dialog);
