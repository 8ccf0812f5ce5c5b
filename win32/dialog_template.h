#pragma once

#include "dialog/control_table.h"

#include <windows.h>

#include <span>
#include <string>
#include <vector>

// Dialog templates built in memory (DLGTEMPLATEEX), so that the dialog manager lays
// the controls out in dialog units through the template's font, exactly as it does for
// a template from a resource script.

struct TemplateFont {
    const wchar_t* face;
    WORD points;
    BYTE charset;
};

struct TemplateItem {
    const wchar_t* className; // a registered class, or null with classAtom
    WORD classAtom;           // 0x80 button, 0x81 edit, 0x82 static, 0x85 combo box
    std::wstring text;
    DialogRect rect;
    int id;
    DWORD style;
    DWORD exStyle;
};

struct TemplateHeader {
    std::wstring caption;
    DialogRect size;
    DWORD style;
    DWORD exStyle;
    TemplateFont font;
};

// The template's bytes, DWORD-aligned as the dialog manager wants them.
std::vector<DWORD> buildTemplate(const TemplateHeader& header, std::span<const TemplateItem> items);

// A control of the table as a template item: its window class and styles. `text` is
// the text in the interface's language.
TemplateItem templateItem(const ControlRow& row, const std::wstring& text);

// The main dialog: caption "Varnel 4.0", 599 x 444 in "MS Shell Dlg" 8 point with the
// Japanese character set, the controls of the table in template order.
std::vector<DWORD> mainDialogTemplate();
