// Dialog templates as data: every control with its identifier, kind, text, position and size in
// dialog units and the styles that matter. One builder (ui/DialogBuilder.h) turns a template
// into a window, so every dialog of the program is laid out the same way.
#pragma once

#include <span>

enum class EControlKind {
    PushButton,
    Edit,
    CheckBox,
    RadioButton,
    TreeView,
    Static,
    // A static picture: the text field holds nothing; nArtId names the bitmap or icon.
    Picture,
};

// Styles that the builder honours; a template may combine them.
enum EControlStyle : unsigned {
    CS_NONE = 0,
    CS_TABSTOP = 1u << 0,
    CS_DISABLED = 1u << 1,
    CS_BORDER = 1u << 2,
    // Starts a new group: radio buttons after it no longer exclude those before it.
    CS_GROUP = 1u << 3,
    CS_DEFAULT = 1u << 4,
    CS_AUTOHSCROLL = 1u << 5,
    // The control reports clicks (the link labels).
    CS_NOTIFY = 1u << 6,
    CS_READONLY = 1u << 7,
};

struct CControlTemplate {
    int nID;
    EControlKind kind;
    const char* pszText;
    int x;
    int y;
    int cx;
    int cy;
    unsigned nStyles;
    // Artwork shown by a picture control; 0 for every other kind.
    int nArtId = 0;
};

// Dialog styles that the builder honours.
enum EDialogStyle : unsigned {
    DS_NONE = 0,
    DS_MINIMIZEBOX = 1u << 0,
    DS_MAXIMIZEBOX = 1u << 1,
    // The dialog has its own taskbar button.
    DS_APPWINDOW = 1u << 2,
};

struct CDialogTemplate {
    int nID;
    const char* pszCaption;
    int cx;
    int cy;
    unsigned nStyles;
    // Controls in template order, which is also the tab order.
    std::span<const CControlTemplate> controls;
};

// The templates of the program, by identifier; null for an unknown one.
const CDialogTemplate* FindDialogTemplate(int nID);
