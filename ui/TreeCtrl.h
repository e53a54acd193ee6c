// The tree control of the dialogs: a QTreeWidget that repaints a changed row cheaply.
//
// When one item's text changes, the plain view finds that row among all its rows to repaint
// just it; with tens of thousands of groups whose labels change with every report, that search
// made the window slower with every group. This one repaints the visible part instead, which
// Qt coalesces into one paint.
#pragma once

#include <QTreeWidget>

class CTreeCtrl : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;

protected:
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles) override;
};
