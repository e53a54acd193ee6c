// Template 134, the Copy/Move dialog. Its caption and transfer button say "Copy"; the dialog
// changes both in move mode.
#include "res/ResourceIds.h"
#include "res/Templates.h"

namespace {

using K = EControlKind;

constexpr CControlTemplate kControls[] = {
    {IDC_DO_COPY, K::PushButton, "Copy File", 60, 86, 50, 14, CS_TABSTOP | CS_DEFAULT},
    {IDCANCEL, K::PushButton, "Close", 141, 86, 50, 14, CS_TABSTOP},
    {IDC_DEST_FOLDER, K::Edit, "", 21, 23, 192, 14, CS_BORDER | CS_TABSTOP | CS_AUTOHSCROLL},
    {IDC_STATIC, K::Static, "Select destination path", 20, 7, 73, 8, CS_GROUP},
    {IDC_DEST_BROWSE, K::PushButton, "...", 220, 22, 13, 14, CS_TABSTOP},
};

} // namespace

const CDialogTemplate g_tmplCopyMove = {IDD_COPY_MOVE, "Copy", 248, 120, DS_NONE, kControls};
