#include "engine/CompareByBytes.h"

#include "engine/MappedFile.h"

int CompareByBytes(const CString& path, const CString& representative) {
    CMappedFile looked;
    CMappedFile held;
    if (!looked.Open(path.c_str()))
        return 1;
    if (!held.Open(representative.c_str()))
        return 1;
    // Both objects release their views and mappings when they go, on every path.
    return looked.CompareWith(held);
}
