#include "ui/MessageBox.h"

#include "ui/FinderApp.h"

#include <QMessageBox>
#include <QString>

namespace {

CMessageBox::FnAnswer& Answerer() {
    static CMessageBox::FnAnswer s_fnAnswer;
    return s_fnAnswer;
}

QMessageBox::Icon ToQtIcon(EBoxIcon icon) {
    switch (icon) {
    case EBoxIcon::Warning:
        return QMessageBox::Warning;
    case EBoxIcon::Question:
        return QMessageBox::Question;
    case EBoxIcon::Information:
        break;
    }
    return QMessageBox::Information;
}

} // namespace

int CMessageBox::AfxMessageBox(QWidget* pParent, const CString& strText, EBoxIcon icon) {
    return Show(pParent, {theApp.AppTitle(), strText, icon, false});
}

int CMessageBox::Question(QWidget* pParent, const CString& strText, const CString& strCaption) {
    return Show(pParent, {strCaption, strText, EBoxIcon::Question, true});
}

CMessageBox::FnAnswer CMessageBox::SetAnswerer(FnAnswer fnAnswer) {
    FnAnswer fnPrevious = std::move(Answerer());
    Answerer() = std::move(fnAnswer);
    return fnPrevious;
}

int CMessageBox::Show(QWidget* pParent, const CBoxInfo& box) {
    if (Answerer())
        return Answerer()(box);
    QMessageBox msgBox(ToQtIcon(box.icon), QString::fromUtf8(box.strCaption),
                       QString::fromUtf8(box.strText),
                       box.bYesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, pParent);
    switch (msgBox.exec()) {
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Ok:
        return IDOK;
    default:
        // Closed without a button: a question counts as No, a notice as read.
        return box.bYesNo ? IDNO : IDOK;
    }
}
