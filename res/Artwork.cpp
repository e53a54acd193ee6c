#include "res/Artwork.h"

#include "res/ResourceIds.h"

const char* ArtworkPath(int nID) {
    switch (nID) {
    case IDR_MAINFRAME:
        return ":/twinsift/icon.png";
    case IDB_BANNER:
        return ":/twinsift/banner.png";
    case IDB_LOGO:
        return ":/twinsift/logo.png";
    case IDB_TAGLINE:
        return ":/twinsift/tagline.png";
    case IDC_LINK_CURSOR:
        return ":/twinsift/cursor.png";
    default:
        return nullptr;
    }
}
