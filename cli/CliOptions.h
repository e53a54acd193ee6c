// The command line of twinsift-cli: what it asks for, and the usage text.
#pragma once

#include "platform/ByteString.h"

#include <string>
#include <vector>

enum class SearchEngine {
    // Walks once and groups files by each method's rule (the fast default).
    Grouped,
    // The window's search: SearchThreadProc with its sorted index of representatives.
    Index,
};

struct CCliOptions {
    CString strFolder;
    bool bRecursive = false;
    // 0 name, 1 CRC-32 and size, 2 byte by byte, 3 MD5, as CompareMethod takes it.
    int nMethod = 0;
    bool bJson = false;
    bool bQuiet = false;
    SearchEngine engine = SearchEngine::Grouped;
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
// value may follow its option joined or apart ("-mbytes", "-m bytes", "--method=bytes",
// "--engine index"), and
// "--" ends the options so that a folder may begin with "-".
CParseResult ParseCommandLine(const std::vector<std::string>& args);

// The method's name on the command line ("name", "crc", "bytes", "md5"), or "" when the
// number is none of them.
const char* MethodName(int nMethod);
// The method number for a name, or -1.
int MethodFromName(const std::string& strName);

// The full usage text, ending with a newline.
std::string UsageText();
// The engine's name on the command line ("grouped", "index").
const char* EngineName(SearchEngine engine);

// "twinsift-cli 1.0.0.1\n".
std::string VersionText();
