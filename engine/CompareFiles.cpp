#include "engine/CompareByBytes.h"
#include "engine/CompareByMd5.h"
#include "engine/CompareByName.h"
#include "engine/CompareBySizeCrc.h"
#include "engine/CompareMethod.h"

int CompareMethod = METHOD_NAME;

int CompareFiles(const CString& path, const CString& representative) {
    switch (CompareMethod) {
    case METHOD_NAME:
        return CompareByName(path, representative);
    case METHOD_SIZE_CRC:
        return CompareBySizeCrc(path, representative);
    case METHOD_BYTES:
        return CompareByBytes(path, representative);
    case METHOD_MD5:
        return CompareByMd5(path, representative);
    default:
        return 1;
    }
}
