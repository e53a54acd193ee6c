// Placeholder until the content methods land: they select no method yet.
#include "engine/CompareByBytes.h"
#include "engine/CompareByMd5.h"
#include "engine/CompareBySizeCrc.h"

int CompareBySizeCrc(const CString&, const CString&) { return 1; }
int CompareByBytes(const CString&, const CString&) { return 1; }
int CompareByMd5(const CString&, const CString&) { return 1; }
