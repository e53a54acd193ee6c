#include "cli/CliOptions.h"

#include <array>

namespace {

constexpr std::array<const char*, 4> kMethodNames = {"name", "crc", "bytes", "md5"};

// Takes the method of -m or --method; false when the name is unknown.
bool TakeMethod(const std::string& strName, CParseResult& result) {
    const int nMethod = MethodFromName(strName);
    if (nMethod < 0) {
        result.strError = "unknown method '" + strName + "'";
        return false;
    }
    result.options.nMethod = nMethod;
    return true;
}

bool TakeEngine(const std::string& strName, CParseResult& result) {
    if (strName == "grouped")
        result.options.engine = SearchEngine::Grouped;
    else if (strName == "index")
        result.options.engine = SearchEngine::Index;
    else {
        result.strError = "unknown engine '" + strName + "'";
        return false;
    }
    return true;
}

} // namespace

const char* EngineName(SearchEngine engine) {
    return engine == SearchEngine::Index ? "index" : "grouped";
}

const char* MethodName(int nMethod) {
    if (nMethod < 0 || nMethod >= static_cast<int>(kMethodNames.size()))
        return "";
    return kMethodNames[static_cast<std::size_t>(nMethod)];
}

int MethodFromName(const std::string& strName) {
    for (std::size_t i = 0; i < kMethodNames.size(); ++i)
        if (strName == kMethodNames[i])
            return static_cast<int>(i);
    return -1;
}

CParseResult ParseCommandLine(const std::vector<std::string>& args) {
    CParseResult result;
    std::vector<std::string> folders;
    bool bOptionsEnded = false;
    bool bHelp = false;
    bool bVersion = false;
    auto fail = [&result](std::string strError) {
        result.outcome = ParseOutcome::Error;
        result.strError = std::move(strError);
        return result;
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (bOptionsEnded || arg.size() < 2 || arg[0] != '-') {
            // A lone "-" is taken as a folder name too.
            folders.push_back(arg);
        } else if (arg == "--") {
            bOptionsEnded = true;
        } else if (arg.starts_with("--")) {
            const std::size_t nEq = arg.find('=');
            const std::string strName = arg.substr(0, nEq);
            if (strName == "--method" || strName == "--engine") {
                std::string strValue;
                if (nEq != std::string::npos)
                    strValue = arg.substr(nEq + 1);
                else if (i + 1 < args.size())
                    strValue = args[++i];
                else
                    return fail("option '" + strName + "' needs a value");
                const bool bTaken = strName == "--method" ? TakeMethod(strValue, result)
                                                          : TakeEngine(strValue, result);
                if (!bTaken)
                    return fail(result.strError);
                continue;
            }
            if (nEq != std::string::npos)
                return fail("option '" + strName + "' takes no value");
            if (arg == "--recursive")
                result.options.bRecursive = true;
            else if (arg == "--json")
                result.options.bJson = true;
            else if (arg == "--quiet")
                result.options.bQuiet = true;
            else if (arg == "--help")
                bHelp = true;
            else if (arg == "--version")
                bVersion = true;
            else
                return fail("unknown option '" + arg + "'");
        } else {
            // One or more bundled short options.
            for (std::size_t j = 1; j < arg.size(); ++j) {
                const char ch = arg[j];
                if (ch == 'r') {
                    result.options.bRecursive = true;
                } else if (ch == 'q') {
                    result.options.bQuiet = true;
                } else if (ch == 'h') {
                    bHelp = true;
                } else if (ch == 'm') {
                    std::string strValue;
                    if (j + 1 < arg.size())
                        strValue = arg.substr(j + 1);
                    else if (i + 1 < args.size())
                        strValue = args[++i];
                    else
                        return fail("option '-m' needs a method");
                    if (!TakeMethod(strValue, result))
                        return fail(result.strError);
                    break;
                } else {
                    return fail(std::string("unknown option '-") + ch + "'");
                }
            }
        }
    }

    if (bHelp) {
        result.outcome = ParseOutcome::Help;
        return result;
    }
    if (bVersion) {
        result.outcome = ParseOutcome::Version;
        return result;
    }
    if (folders.empty())
        return fail("no folder given");
    if (folders.size() > 1)
        return fail("only one folder may be given");
    result.options.strFolder = folders.front();
    result.outcome = ParseOutcome::Run;
    return result;
}

std::string UsageText() {
    return "Usage: twinsift-cli [OPTIONS] FOLDER\n"
           "Finds duplicate files in FOLDER.\n"
           "\n"
           "  -r, --recursive        include subfolders\n"
           "  -m, --method METHOD    how files are compared (default: name):\n"
           "                           name   equal file names\n"
           "                           crc    equal size and CRC-32\n"
           "                           bytes  equal size and equal bytes\n"
           "                           md5    equal MD5 digests (files of equal size\n"
           "                                  only: other sizes could only match by\n"
           "                                  a collision)\n"
           "      --engine ENGINE    grouped (default): one walk, files grouped by the\n"
           "                         method's rule, each read as few times as it can;\n"
           "                         index: the window's search, file by file against a\n"
           "                         sorted index; both report the same groups\n"
           "      --json             write one JSON document instead of text\n"
           "  -q, --quiet            no progress line on standard error\n"
           "  -h, --help             show this help and exit\n"
           "      --version          show the version and exit\n"
           "\n"
           "Each group of duplicates is written as its first file (the one the others\n"
           "equal) followed by its duplicates, one full path a line, and a blank line\n"
           "after every group; groups come in the order they were found. Paths are\n"
           "written as their raw bytes; a name holding a line break is ambiguous in\n"
           "this form, so use --json for such trees. The total goes to standard error:\n"
           "\"Total Duplicate files: N\". The grouped engine leaves files it cannot\n"
           "read out of every group and says how many in a warning line there.\n"
           "\n"
           "JSON: {\"folder\", \"recursive\", \"method\", \"interrupted\", \"duplicates\",\n"
           "\"groups\": [{\"size\", \"files\": [...]}]}, where size is the first file's\n"
           "size in bytes (null if it can no longer be read). A path that is valid\n"
           "UTF-8 is a JSON string; any other path is an object {\"hex\": \"...\"} holding\n"
           "its bytes in lowercase hexadecimal, so every path survives without loss.\n"
           "\n"
           "Ctrl-C stops the search and writes the groups found so far (status 130);\n"
           "a second Ctrl-C ends the program at once.\n"
           "\n"
           "Exit status: 0 done, 1 folder missing or unreadable or output failed,\n"
           "2 wrong command line, 130 interrupted.\n";
}

std::string VersionText() {
    return std::string("twinsift-cli ") + TWINSIFT_VERSION + "\n";
}
