// Turns a dialog template (res/DialogTemplate.h) into a dialog: one widget per control, placed
// and sized by dialog units converted with the dialog font's metrics (x * average character
// width / 4, y * character height / 8). Every control can be found again by its identifier.
#pragma once

#include "res/DialogTemplate.h"

#include <QSize>

class QDialog;
class QFont;
class QWidget;

// The pixel size of one horizontal (width) and one vertical (height) base unit of the font:
// the average character width and the character height.
QSize DialogBaseUnits(const QFont& font);

// Creates the controls of tmpl as children of dlg in template order (so the tab order follows
// the template), sets the caption, the window flags and the fixed client size.
void BuildDialog(QDialog& dlg, const CDialogTemplate& tmpl);

// The control with the identifier, or null. Controls without an identifier (IDC_STATIC) cannot
// be found.
QWidget* GetDlgItem(const QWidget& dlg, int nID);

template <typename T>
T* GetDlgItemAs(const QWidget& dlg, int nID) {
    return dynamic_cast<T*>(GetDlgItem(dlg, nID));
}
