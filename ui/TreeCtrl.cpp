#include "ui/TreeCtrl.h"

void CTreeCtrl::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                            const QList<int>& roles) {
    // Items carry text only and are never edited in place, so a single changed item needs
    // nothing but a repaint.
    if (topLeft == bottomRight) {
        viewport()->update();
        return;
    }
    QTreeWidget::dataChanged(topLeft, bottomRight, roles);
}
