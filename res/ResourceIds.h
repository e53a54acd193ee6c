// Identifiers of the program's resources: dialog templates, controls, strings, artwork and the
// system-menu command. The numbers are fixed; tests and the dialogs look controls up by them.
#pragma once

// Dialog templates.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_MAIN_DIALOG = 102;
inline constexpr int IDD_COPY_MOVE = 134;

// Strings.
inline constexpr int IDS_ABOUTBOX = 101;

// Artwork.
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDB_BANNER = 129;
inline constexpr int IDB_LOGO = 130;
inline constexpr int IDB_TAGLINE = 131;
inline constexpr int IDC_LINK_CURSOR = 133;

// The About entry of the main dialog's system menu.
inline constexpr int IDM_ABOUTBOX = 16;

// The platform's standard buttons, which are also the dialog results they give.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// A control that nothing looks up.
inline constexpr int IDC_STATIC = -1;

// Controls of the main dialog.
inline constexpr int IDC_BROWSE = 1000;
inline constexpr int IDC_FOLDER = 1001;
inline constexpr int IDC_SUBFOLDERS = 1003;
inline constexpr int IDC_START = 1004;
inline constexpr int IDC_RESULTS = 1005;
inline constexpr int IDC_BY_NAME = 1006;
inline constexpr int IDC_BY_CRC = 1007;
inline constexpr int IDC_BY_BYTES = 1008;
inline constexpr int IDC_STOP = 1009;
inline constexpr int IDC_PAUSE = 1010;
inline constexpr int IDC_STATUS = 1012;
inline constexpr int IDC_BY_MD5 = 1013;
inline constexpr int IDC_CLOSE = 1014;
inline constexpr int IDC_DELETE = 1015;
inline constexpr int IDC_COPY = 1016;
inline constexpr int IDC_MOVE = 1017;
inline constexpr int IDC_WEBLINK = 1018;
inline constexpr int IDC_ABOUT_WEBLINK = 1019;
inline constexpr int IDC_ABOUT = 1020;
inline constexpr int IDC_FOLDER_LABEL = 1023;
inline constexpr int IDC_METHOD_LABEL = 1024;

// Controls of the Copy/Move dialog.
inline constexpr int IDC_DEST_BROWSE = 1014;
inline constexpr int IDC_DEST_FOLDER = 1021;
inline constexpr int IDC_DO_COPY = 1022;
