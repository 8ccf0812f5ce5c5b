#pragma once

#include <windows.h>

// The logo beside the Read and Write buttons: the program's name on a blue band.
void paintLogo(const DRAWITEMSTRUCT& item);
