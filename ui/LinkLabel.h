// The look and the click of a link label: a static text showing the maker's web address,
// underlined in its dialog's font, blue until clicked and purple after, with the hand cursor
// over it. Each dialog with a link label keeps its own visited flag and cursor and uses these
// helpers from its handlers.
#pragma once

#include <QColor>

class QCursor;
class QEvent;
class QLabel;
class QObject;

inline constexpr QColor kLinkColor(0, 0, 255);
inline constexpr QColor kVisitedLinkColor(128, 0, 128);

// Draws the label as a link: the dialog's font underlined, the colour for bVisited, and
// hCursor while the pointer is over the label.
void StyleLinkLabel(QLabel& label, bool bVisited, const QCursor& hCursor);

// Whether pEvent is a left click released over the label.
bool IsLinkClick(const QLabel& label, const QEvent& event);

// Opens the maker's web address with the desktop's default handler. A failure is not
// reported: nothing can be done about it here.
void OpenMakerWebSite();
