#include "engine/CompareByBytes.h"

#include "engine/MappedFile.h"

int CompareByBytes(const CString& path, const CString& representative) {
    CMappedFile looked;
    CMappedFile held;
    // A file that cannot be mapped (missing, unreadable, empty) sorts after every file that
    // can, on either side, so the index stays in one order and the binary search still finds
    // every readable duplicate when such files are among the representatives.
    if (!looked.Open(path.c_str()))
        return 1;
    if (!held.Open(representative.c_str()))
        return -1;
    // Both objects release their views and mappings when they go, on every path.
    return looked.CompareWith(held);
}
