// Where the artwork of the program lies in the Qt resource system, by resource identifier.
#pragma once

// The resource path of the icon, bitmap or cursor, or null for an unknown identifier.
const char* ArtworkPath(int nID);

// The hot spot of cursor IDC_LINK_CURSOR: the tip of the pointing finger.
inline constexpr int kLinkCursorHotX = 5;
inline constexpr int kLinkCursorHotY = 0;
