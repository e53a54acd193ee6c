// Helpers of the window tests: answering message boxes (preset answers, or the real modal box),
// waiting while events are processed, and reaching the main dialog's controls.
#pragma once

#include "search/SearchMessages.h"
#include "ui/MessageBox.h"

#include <QObject>
#include <QTimer>
#include <QUrl>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

class QAbstractButton;
class QWidget;
class CFinderDlg;

// Answers every box instead of showing it, and records it. Notices are answered IDOK; questions
// take the next preset answer (a question without one fails the test and is answered IDNO).
class CBoxRecorder {
public:
    CBoxRecorder();
    CBoxRecorder(const CBoxRecorder&) = delete;
    CBoxRecorder& operator=(const CBoxRecorder&) = delete;
    ~CBoxRecorder();

    void PresetAnswer(int nAnswer) { m_answers.push_back(nAnswer); }
    const std::vector<CBoxInfo>& Boxes() const { return m_boxes; }
    // Texts of the boxes shown so far.
    std::vector<std::string> Texts() const;
    // Called when a box arrives, before it is answered.
    std::function<void(const CBoxInfo&)> m_fnOnBox;

private:
    std::vector<CBoxInfo> m_boxes;
    std::deque<int> m_answers;
    CMessageBox::FnAnswer m_fnPrevious;
};

// Acts on the real modal windows as they appear: each step is tried on the active modal widget
// every few milliseconds until it returns true, then the next step is tried.
class CModalDriver {
public:
    using FnStep = std::function<bool(QWidget* pModal)>;

    CModalDriver();
    CModalDriver(const CModalDriver&) = delete;
    CModalDriver& operator=(const CModalDriver&) = delete;
    ~CModalDriver();

    void Then(FnStep fnStep);
    // A step that clicks the button with the given text on the message box whose text is
    // strText, and records the box's caption.
    void AnswerBox(const std::string& strText, const std::string& strButton);
    bool Done() const { return m_steps.empty(); }
    const std::vector<std::string>& Captions() const { return m_captions; }

private:
    void OnTick();

    std::deque<FnStep> m_steps;
    std::vector<std::string> m_captions;
    QTimer m_timer;
};

// Catches every address opened through QDesktopServices with the scheme, instead of a browser.
class CUrlCatcher : public QObject {
    Q_OBJECT
public:
    explicit CUrlCatcher(const QString& strScheme);
    ~CUrlCatcher() override;

    std::vector<QUrl> m_urls;

public slots:
    void OnOpenUrl(const QUrl& url) { m_urls.push_back(url); }

private:
    QString m_strScheme;
};

// Processes events until fnDone holds or nTimeoutMs pass; returns whether it holds.
bool WaitUntil(const std::function<bool()>& fnDone, int nTimeoutMs = 20000);
// Processes events for a while (to show that something does not happen).
void ProcessEventsFor(int nMs);

// Controls of a dialog by identifier.
QAbstractButton* Button(const QWidget& dlg, int nID);
std::string WidgetText(const QWidget& dlg, int nID);
void Click(const QWidget& dlg, int nID);
// Hands one search message to the dialog at once, as its queue would.
void SendSearchMessage(CFinderDlg& dlg, CSearchMessage msg);
void SetFolderText(const QWidget& dlg, const std::string& strFolder);

// Base of the dialog tests: fresh search events, and no box left to a real window unless a
// test installs a driver for it.
class CUiTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};
