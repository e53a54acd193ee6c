#include "ui/LinkLabel.h"

#include "res/MakerInfo.h"

#include <QCursor>
#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QUrl>

void StyleLinkLabel(QLabel& label, bool bVisited, const QCursor& hCursor) {
    // Derived from the dialog's font each time, so it always matches it.
    QFont font = label.parentWidget() ? label.parentWidget()->font() : label.font();
    font.setUnderline(true);
    label.setFont(font);
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, bVisited ? kVisitedLinkColor : kLinkColor);
    label.setPalette(palette);
    label.setCursor(hCursor);
}

bool IsLinkClick(const QLabel& label, const QEvent& event) {
    if (event.type() != QEvent::MouseButtonRelease)
        return false;
    const auto& mouse = static_cast<const QMouseEvent&>(event);
    return mouse.button() == Qt::LeftButton && label.rect().contains(mouse.position().toPoint());
}

void OpenMakerWebSite() {
    QDesktopServices::openUrl(QUrl(QString::fromUtf8(kMakerWebAddress)));
}
