// The program's message boxes. AfxMessageBox shows information and warnings with the application
// title as caption; Question asks a yes/no question with a caption of the caller's choice.
//
// Tests may install an answerer: every box is then handed to it instead of being shown, and its
// return value is the answer. Without one, a real modal QMessageBox runs; its nested event loop
// keeps delivering the search worker's messages while it is open.
#pragma once

#include "platform/ByteString.h"
#include "res/ResourceIds.h"

#include <functional>

class QWidget;

enum class EBoxIcon { Information, Warning, Question };

// Answers, numbered as the platform's dialog results (IDOK and IDCANCEL with the buttons).
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

struct CBoxInfo {
    CString strCaption;
    CString strText;
    EBoxIcon icon = EBoxIcon::Information;
    // True for a Yes/No question, false for a box with an OK button.
    bool bYesNo = false;
};

class CMessageBox {
public:
    using FnAnswer = std::function<int(const CBoxInfo&)>;

    // Information or warning with an OK button; the caption is the application title.
    static int AfxMessageBox(QWidget* pParent, const CString& strText, EBoxIcon icon);
    // A question with Yes and No; returns IDYES or IDNO.
    static int Question(QWidget* pParent, const CString& strText, const CString& strCaption);

    // Installs (or, with an empty function, removes) the answerer; returns the previous one.
    static FnAnswer SetAnswerer(FnAnswer fnAnswer);

private:
    static int Show(QWidget* pParent, const CBoxInfo& box);
};
