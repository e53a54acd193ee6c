#include "ui/DialogBuilder.h"

#include "res/Artwork.h"
#include "res/ResourceIds.h"
#include "ui/TreeCtrl.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QTreeWidget>
#include <QVariant>
#include <algorithm>

namespace {

const char* const kIdProperty = "twinsiftControlId";

QString ObjectNameFor(int nID) {
    return QStringLiteral("ctrl%1").arg(nID);
}

int MulDiv(int nValue, int nMul, int nDiv) {
    return (nValue * nMul + nDiv / 2) / nDiv;
}

QWidget* MakeControl(const CControlTemplate& ctl, QDialog& dlg, QButtonGroup*& pRadioGroup) {
    const QString strText = QString::fromUtf8(ctl.pszText);
    switch (ctl.kind) {
    case EControlKind::PushButton: {
        auto* pButton = new QPushButton(strText, &dlg);
        // Enter on a focused button clicks it; no button becomes the default by focus alone.
        pButton->setAutoDefault(false);
        pButton->setDefault((ctl.nStyles & CS_DEFAULT) != 0);
        return pButton;
    }
    case EControlKind::Edit: {
        auto* pEdit = new QLineEdit(strText, &dlg);
        pEdit->setFrame((ctl.nStyles & CS_BORDER) != 0);
        pEdit->setReadOnly((ctl.nStyles & CS_READONLY) != 0);
        return pEdit;
    }
    case EControlKind::CheckBox:
        return new QCheckBox(strText, &dlg);
    case EControlKind::RadioButton: {
        auto* pRadio = new QRadioButton(strText, &dlg);
        // Radio buttons exclude each other within their group only.
        pRadio->setAutoExclusive(false);
        if (!pRadioGroup) {
            pRadioGroup = new QButtonGroup(&dlg);
            pRadioGroup->setExclusive(true);
        }
        pRadioGroup->addButton(pRadio, ctl.nID);
        return pRadio;
    }
    case EControlKind::TreeView: {
        auto* pTree = new CTreeCtrl(&dlg);
        pTree->setColumnCount(1);
        pTree->header()->hide();
        pTree->setRootIsDecorated(true);
        pTree->setSelectionMode(QAbstractItemView::SingleSelection);
        pTree->setSelectionBehavior(QAbstractItemView::SelectRows);
        pTree->setDragEnabled(false);
        pTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
        // Every row is one line of text: with uniform heights the view lays out a new row in
        // constant time instead of measuring all rows again, which a search with a hundred
        // thousand reports needs.
        pTree->setUniformRowHeights(true);
        pTree->setFrameShape((ctl.nStyles & CS_BORDER) != 0 ? QFrame::StyledPanel
                                                            : QFrame::NoFrame);
        return pTree;
    }
    case EControlKind::Static: {
        auto* pLabel = new QLabel(strText, &dlg);
        pLabel->setTextFormat(Qt::PlainText);
        pLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        return pLabel;
    }
    case EControlKind::Picture: {
        auto* pLabel = new QLabel(&dlg);
        if (const char* pszPath = ArtworkPath(ctl.nArtId))
            pLabel->setPixmap(QPixmap(QString::fromUtf8(pszPath)));
        pLabel->setScaledContents(true);
        return pLabel;
    }
    }
    return new QWidget(&dlg);
}

} // namespace

QSize DialogBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const QString strAlphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int nAverage = (metrics.horizontalAdvance(strAlphabet) / 26 + 1) / 2;
    return {std::max(1, nAverage), std::max(1, metrics.height())};
}

void BuildDialog(QDialog& dlg, const CDialogTemplate& tmpl) {
    dlg.setWindowTitle(QString::fromUtf8(tmpl.pszCaption));
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if ((tmpl.nStyles & DS_MINIMIZEBOX) != 0)
        flags |= Qt::WindowMinimizeButtonHint;
    if ((tmpl.nStyles & DS_MAXIMIZEBOX) != 0)
        flags |= Qt::WindowMaximizeButtonHint;
    dlg.setWindowFlags(flags);

    const QSize units = DialogBaseUnits(dlg.font());
    const auto toRect = [&](int x, int y, int cx, int cy) {
        return QRect(MulDiv(x, units.width(), 4), MulDiv(y, units.height(), 8),
                     MulDiv(cx, units.width(), 4), MulDiv(cy, units.height(), 8));
    };

    // Radio buttons between two group starts exclude each other.
    QButtonGroup* pRadioGroup = nullptr;
    for (const CControlTemplate& ctl : tmpl.controls) {
        if ((ctl.nStyles & CS_GROUP) != 0)
            pRadioGroup = nullptr;
        QWidget* pWidget = MakeControl(ctl, dlg, pRadioGroup);
        QRect rect = toRect(ctl.x, ctl.y, ctl.cx, ctl.cy);
        // Text is never cut off: a font wider than the one the template was drawn for
        // lengthens a text control to the right as far as its text needs.
        if (ctl.kind == EControlKind::Static || ctl.kind == EControlKind::CheckBox ||
            ctl.kind == EControlKind::RadioButton)
            rect.setWidth(std::max(rect.width(), pWidget->sizeHint().width()));
        pWidget->setGeometry(rect);
        // Controls keep their place and size for good. A fixed size also spares the dialog a
        // layout request for every text change (the status line changes with every report,
        // and each such request searches the whole queue of pending events).
        pWidget->setFixedSize(rect.size());
        if (ctl.nID != IDC_STATIC) {
            pWidget->setObjectName(ObjectNameFor(ctl.nID));
            pWidget->setProperty(kIdProperty, ctl.nID);
        }
        if (ctl.kind == EControlKind::Static || ctl.kind == EControlKind::Picture)
            pWidget->setFocusPolicy(Qt::NoFocus);
        else
            pWidget->setFocusPolicy((ctl.nStyles & CS_TABSTOP) != 0 ? Qt::StrongFocus
                                                                    : Qt::ClickFocus);
        pWidget->setEnabled((ctl.nStyles & CS_DISABLED) == 0);
    }
    dlg.setFixedSize(toRect(0, 0, tmpl.cx, tmpl.cy).size());
}

QWidget* GetDlgItem(const QWidget& dlg, int nID) {
    if (nID == IDC_STATIC)
        return nullptr;
    return dlg.findChild<QWidget*>(ObjectNameFor(nID), Qt::FindDirectChildrenOnly);
}
