// The About box: the program's icon, name and version, the maker's details and a link label to
// the maker's web site. Modal; OK, Enter and the close box close it, Escape does not.
#pragma once

#include <QCursor>
#include <QDialog>

class QLabel;

class CAboutDlg : public QDialog {
public:
    explicit CAboutDlg(QWidget* pParent = nullptr);

    bool IsLinkVisited() const { return m_bLinkVisited; }

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void OnInitDialog();
    void OnWebLink();

    QCursor m_hHandCursor;
    bool m_bLinkVisited = false;
    QLabel* m_pLink = nullptr;
};
