#include "res/StringTable.h"

#include "res/ResourceIds.h"

CString LoadResourceString(int nID) {
    switch (nID) {
    case IDS_ABOUTBOX:
        return "&About Twinsift...";
    default:
        return {};
    }
}
