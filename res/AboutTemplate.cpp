// Template 100, the About box.
#include "res/MakerInfo.h"
#include "res/ResourceIds.h"
#include "res/Templates.h"

namespace {

using K = EControlKind;

constexpr CControlTemplate kControls[] = {
    {IDC_STATIC, K::Picture, "", 11, 17, 20, 20, CS_NONE, IDR_MAINFRAME},
    {IDC_STATIC, K::Static, "Orvane Twinsift Version 1.0", 40, 10, 119, 8, CS_GROUP},
    {IDC_STATIC, K::Static, kMakerNotice, 40, 25, 119, 8, CS_GROUP},
    {IDOK, K::PushButton, "OK", 175, 30, 50, 14, CS_DEFAULT | CS_GROUP | CS_TABSTOP},
    {IDC_STATIC, K::Static, kMakerCompany, 15, 52, 101, 8, CS_GROUP},
    {IDC_ABOUT_WEBLINK, K::Static, kMakerWebAddress, 88, 65, 95, 8, CS_GROUP | CS_NOTIFY},
    {IDC_STATIC, K::Static, "For any query or suggestion please contact: ", 15, 86, 140, 8,
     CS_GROUP},
    {IDC_STATIC, K::Static, kMakerContact, 88, 99, 102, 8, CS_GROUP},
};

} // namespace

const CDialogTemplate g_tmplAbout = {IDD_ABOUTBOX, "About Orvane Twinsift", 235, 124, DS_NONE,
                                     kControls};
