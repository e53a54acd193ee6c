// Template 102, the main dialog.
#include "res/MakerInfo.h"
#include "res/ResourceIds.h"
#include "res/Templates.h"

namespace {

using K = EControlKind;

constexpr unsigned kRadio = CS_NONE; // one group: no tab stop, no group start
constexpr CControlTemplate kControls[] = {
    {IDC_BROWSE, K::PushButton, "...", 275, 19, 16, 14, CS_TABSTOP},
    {IDC_FOLDER, K::Edit, "", 30, 19, 240, 14, CS_BORDER | CS_TABSTOP | CS_AUTOHSCROLL},
    {IDC_SUBFOLDERS, K::CheckBox, "Include subfolder", 309, 21, 70, 10, CS_TABSTOP},
    {IDC_BY_NAME, K::RadioButton, "Filename Only", 45, 56, 60, 10, kRadio},
    {IDC_BY_CRC, K::RadioButton, "CRC32 + File size", 120, 56, 71, 10, kRadio},
    {IDC_BY_BYTES, K::RadioButton, "Byte by Byte comparision", 200, 56, 95, 10, kRadio},
    {IDC_BY_MD5, K::RadioButton, "MD5 Checksum", 305, 56, 67, 10, kRadio},
    {IDC_START, K::PushButton, "Start", 394, 82, 50, 15, CS_TABSTOP},
    {IDC_STOP, K::PushButton, "Stop", 394, 107, 50, 15, CS_TABSTOP},
    {IDC_PAUSE, K::PushButton, "Pause", 394, 132, 50, 15, CS_TABSTOP},
    {IDC_RESULTS, K::TreeView, "", 30, 75, 350, 229, CS_BORDER | CS_TABSTOP},
    {IDC_STATUS, K::Static, "", 33, 312, 222, 8, CS_GROUP},
    {IDC_FOLDER_LABEL, K::Static, "Select the folder to search:", 30, 3, 125, 8, CS_GROUP},
    {IDC_METHOD_LABEL, K::Static, "Select a method", 30, 43, 52, 8, CS_GROUP},
    {IDC_CLOSE, K::PushButton, "Close", 394, 288, 50, 15, CS_TABSTOP},
    {IDC_DELETE, K::PushButton, "Delete", 394, 175, 50, 14, CS_TABSTOP | CS_DISABLED},
    {IDC_COPY, K::PushButton, "Copy", 394, 199, 50, 15, CS_TABSTOP | CS_DISABLED},
    {IDC_MOVE, K::PushButton, "Move", 394, 227, 50, 15, CS_TABSTOP | CS_DISABLED},
    {IDC_STATIC, K::Picture, "", 18, 328, 33, 30, CS_NONE, IDB_LOGO},
    {IDC_STATIC, K::Picture, "", 60, 328, 418, 28, CS_NONE, IDB_BANNER},
    {IDC_STATIC, K::Picture, "", 85, 365, 121, 10, CS_NONE, IDB_TAGLINE},
    {IDC_WEBLINK, K::Static, kMakerWebAddress, 216, 367, 95, 8, CS_GROUP | CS_NOTIFY},
    {IDC_ABOUT, K::PushButton, "About", 394, 266, 50, 15, CS_TABSTOP},
};

} // namespace

const CDialogTemplate g_tmplMainDialog = {IDD_MAIN_DIALOG, "Orvane Twinsift", 491, 388,
                                          DS_APPWINDOW,    kControls};
