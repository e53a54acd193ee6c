// The command line of twinsift-cli: what it asks for, and the usage text.
#pragma once

#include "platform/ByteString.h"

#include <string>
#include <vector>

struct CCliOptions {
    CString strFolder;
    bool bRecursive = false;
    // 0 name, 1 CRC-32 and size, 2 byte by byte, 3 MD5, as CompareMethod takes it.
    int nMethod = 0;
    bool bJson = false;
    bool bQuiet = false;
};

enum class ParseOutcome {
    Run,     // options are complete: search
    Help,    // --help: print the usage on standard output
    Version, // --version
    Error,   // wrong option, method or folder count: usage on standard error, status 2
};

struct CParseResult {
    ParseOutcome outcome = ParseOutcome::Error;
    CCliOptions options;
    // Why the command line was refused (empty unless outcome is Error).
    std::string strError;
};

// Parses the arguments after the program name. Short options may be bundled ("-rq"), a
// method may follow its option joined or apart ("-mbytes", "-m bytes", "--method=bytes"), and
// "--" ends the options so that a folder may begin with "-".
CParseResult ParseCommandLine(const std::vector<std::string>& args);

// The method's name on the command line ("name", "crc", "bytes", "md5"), or "" when the
// number is none of them.
const char* MethodName(int nMethod);
// The method number for a name, or -1.
int MethodFromName(const std::string& strName);

// The full usage text, ending with a newline.
std::string UsageText();
// "twinsift-cli 1.0.0.1\n".
std::string VersionText();
