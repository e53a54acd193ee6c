#include "res/Templates.h"

const CDialogTemplate* FindDialogTemplate(int nID) {
    for (const CDialogTemplate* pTmpl : {&g_tmplMainDialog, &g_tmplCopyMove, &g_tmplAbout})
        if (pTmpl->nID == nID)
            return pTmpl;
    return nullptr;
}
