#include "tests/ui/UiTestSupport.h"

#include "search/SearchEvents.h"
#include "tests/support/RecordingTarget.h"
#include "ui/DialogBuilder.h"
#include "ui/FinderDlg.h"
#include "ui/SearchEvent.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

CBoxRecorder::CBoxRecorder() {
    m_fnPrevious = CMessageBox::SetAnswerer([this](const CBoxInfo& box) {
        m_boxes.push_back(box);
        if (m_fnOnBox)
            m_fnOnBox(box);
        if (!box.bYesNo)
            return static_cast<int>(IDOK);
        if (m_answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << box.strText;
            return static_cast<int>(IDNO);
        }
        const int nAnswer = m_answers.front();
        m_answers.pop_front();
        return nAnswer;
    });
}

CBoxRecorder::~CBoxRecorder() {
    CMessageBox::SetAnswerer(std::move(m_fnPrevious));
}

std::vector<std::string> CBoxRecorder::Texts() const {
    std::vector<std::string> texts;
    for (const CBoxInfo& box : m_boxes)
        texts.push_back(box.strText);
    return texts;
}

CModalDriver::CModalDriver() {
    m_timer.setInterval(5);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { OnTick(); });
    m_timer.start();
}

CModalDriver::~CModalDriver() {
    m_timer.stop();
}

void CModalDriver::Then(FnStep fnStep) {
    m_steps.push_back(std::move(fnStep));
}

void CModalDriver::AnswerBox(const std::string& strText, const std::string& strButton) {
    Then([this, strText, strButton](QWidget* pModal) {
        auto* pBox = qobject_cast<QMessageBox*>(pModal);
        if (!pBox || pBox->text().toStdString() != strText)
            return false;
        for (QAbstractButton* pButton : pBox->buttons()) {
            if (pButton->text().remove(QLatin1Char('&')).toStdString() == strButton) {
                m_captions.push_back(pBox->windowTitle().toStdString());
                pButton->click();
                return true;
            }
        }
        return false;
    });
}

void CModalDriver::OnTick() {
    if (m_steps.empty())
        return;
    QWidget* pModal = QApplication::activeModalWidget();
    if (!pModal)
        return;
    // Take the step out first: it may open another modal window and so re-enter this tick.
    FnStep fnStep = std::move(m_steps.front());
    m_steps.pop_front();
    if (!fnStep(pModal))
        m_steps.push_front(std::move(fnStep));
}

CUrlCatcher::CUrlCatcher(const QString& strScheme) : m_strScheme(strScheme) {
    QDesktopServices::setUrlHandler(m_strScheme, this, "OnOpenUrl");
}

CUrlCatcher::~CUrlCatcher() {
    QDesktopServices::unsetUrlHandler(m_strScheme);
}

bool WaitUntil(const std::function<bool()>& fnDone, int nTimeoutMs) {
    return QTest::qWaitFor(fnDone, nTimeoutMs);
}

void ProcessEventsFor(int nMs) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < nMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

QAbstractButton* Button(const QWidget& dlg, int nID) {
    auto* pButton = GetDlgItemAs<QAbstractButton>(dlg, nID);
    EXPECT_NE(pButton, nullptr) << "no button " << nID;
    return pButton;
}

std::string WidgetText(const QWidget& dlg, int nID) {
    QWidget* pWidget = GetDlgItem(dlg, nID);
    if (auto* pLabel = qobject_cast<QLabel*>(pWidget))
        return pLabel->text().toStdString();
    if (auto* pButton = qobject_cast<QAbstractButton*>(pWidget))
        return pButton->text().toStdString();
    if (auto* pEdit = qobject_cast<QLineEdit*>(pWidget))
        return pEdit->text().toStdString();
    ADD_FAILURE() << "no text control " << nID;
    return {};
}

void Click(const QWidget& dlg, int nID) {
    QAbstractButton* pButton = Button(dlg, nID);
    ASSERT_NE(pButton, nullptr);
    QTest::mouseClick(pButton, Qt::LeftButton);
}

void SetFolderText(const QWidget& dlg, const std::string& strFolder) {
    auto* pEdit = GetDlgItemAs<QLineEdit>(dlg, 1001);
    ASSERT_NE(pEdit, nullptr);
    pEdit->setText(QFile::decodeName(QByteArray::fromStdString(strFolder)));
}

void CUiTest::SetUp() {
    ResetSearchEvents();
}

void CUiTest::TearDown() {
    ResetSearchEvents();
}

void SendSearchMessage(CFinderDlg& dlg, CSearchMessage msg) {
    CSearchEvent event(std::make_unique<CSearchMessage>(std::move(msg)));
    QCoreApplication::sendEvent(&dlg, &event);
}
