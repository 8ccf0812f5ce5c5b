// The unit commands, the file commands, the limit point procedure and the close
// confirmation. Wired to their buttons, menus and shortcuts; their work is still to do.

#include "varnel_dlg.h"

void VarnelDlg::OnReadFromUnit() {}
void VarnelDlg::OnWriteToUnit() {}
void VarnelDlg::OnFileInitialize() {}
void VarnelDlg::OnFileOpen() {}
void VarnelDlg::OnFileSave() {}
void VarnelDlg::OnFileSaveAs() {}
void VarnelDlg::OnLimitInput() {}
void VarnelDlg::OnLimitSet() {}
void VarnelDlg::ConfirmClose() {}
