// The dialog templates of the program (internal to res/; callers use FindDialogTemplate).
#pragma once

#include "res/DialogTemplate.h"

extern const CDialogTemplate g_tmplMainDialog;
extern const CDialogTemplate g_tmplCopyMove;
extern const CDialogTemplate g_tmplAbout;
