#include "cli/CliApp.h"

#include "cli/CliOptions.h"
#include "cli/DuplicateGroups.h"
#include "cli/GroupOutput.h"
#include "cli/GroupedRun.h"
#include "cli/InterruptSignal.h"
#include "cli/ProgressLine.h"
#include "cli/SearchRun.h"
#include "engine/CompareMethod.h"
#include "platform/ErrorCodes.h"
#include "platform/PathExists.h"
#include "search/SearchEvents.h"

#include <cerrno>
#include <chrono>
#include <dirent.h>
#include <sys/stat.h>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kExitInterrupted = 130;

// How often the main thread looks at the Ctrl-C flag and the progress line while no message
// comes.
constexpr auto kPollInterval = std::chrono::milliseconds(50);

// Checks that the folder can be searched; prints why not and returns false otherwise. A
// search of something that is not a readable folder would find nothing and look like success.
bool CheckFolder(const CString& strFolder, std::ostream& err) {
    if (!PathFileExists(strFolder)) {
        err << "The path specified doesn't exist.\n";
        return false;
    }
    struct stat st {};
    if (stat(strFolder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        err << "The path specified is not a folder.\n";
        return false;
    }
    DIR* pDir = opendir(strFolder.c_str());
    if (!pDir) {
        err << "twinsift-cli: cannot read " << strFolder << ": " << ErrnoText(errno) << '\n';
        return false;
    }
    closedir(pDir);
    return true;
}

// Runs the search to its end or until Ctrl-C, gathering the groups. Returns whether it was
// stopped; bIncomplete tells whether it could not go on for want of memory.
bool RunSearch(const CCliOptions& options, CDuplicateGroups& groups, CProgressLine& progress,
               bool& bIncomplete) {
    bIncomplete = false;
    CompareMethod = options.nMethod;
    g_evtStop.ResetEvent();
    g_evtRun.SetEvent();
    InstallInterruptHandler();

    bool bStopRequested = false;
    {
        CSearchRun run(options.strFolder, options.bRecursive);
        int nResets = 0;
        bool bFinished = false;
        while (!bFinished) {
            if (!bStopRequested && InterruptRequested()) {
                run.RequestStop();
                bStopRequested = true;
            }
            std::unique_ptr<CSearchMessage> pMsg = run.Target().WaitNext(kPollInterval);
            if (pMsg) {
                switch (pMsg->nMessage) {
                case UWM_RESET_RESULTS:
                    groups.Clear();
                    if (nResets++ == 0)
                        progress.OnCountingStarted();
                    else
                        progress.OnCounted(pMsg->nLParam);
                    break;
                case UWM_FILE_SCANNED:
                    progress.OnFileScanned();
                    break;
                case UWM_DUPLICATE_FOUND:
                    groups.OnDuplicateFound(pMsg->strWParam, pMsg->strLParam);
                    progress.OnDuplicateFound();
                    break;
                case UWM_SEARCH_FINISHED:
                    bFinished = true;
                    bIncomplete = pMsg->nLParam == SEARCH_INCOMPLETE;
                    break;
                default:
                    break;
                }
                // pMsg is released here: a sent message counts as handled.
            }
            progress.Tick();
        }
        run.Finish();
    }
    RemoveInterruptHandler();
    progress.Clear();
    return bStopRequested;
}

// Runs the grouped engine to its end or until Ctrl-C. Returns false when it failed for want
// of memory; bStopped tells whether it was stopped.
bool RunGrouped(const CCliOptions& options, CGroupedResult& result, CProgressLine& progress,
                bool& bStopped) {
    InstallInterruptHandler();
    bStopped = false;
    bool bOk = true;
    {
        CGroupedRunThread run(options.strFolder, options.bRecursive, options.nMethod);
        CGroupedProgress& shared = run.Progress();
        while (!run.WaitDone(kPollInterval)) {
            if (!bStopped && InterruptRequested()) {
                shared.bStop = true;
                bStopped = true;
            }
            if (!shared.bWalkDone)
                progress.OnListing(shared.nListed);
            else
                progress.OnReading(shared.nRead, shared.nToRead);
            progress.Tick();
        }
        bStopped = bStopped || InterruptRequested();
        bOk = !run.Failed();
        result = std::move(run.Result());
    }
    RemoveInterruptHandler();
    progress.Clear();
    return bOk;
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        bool bErrIsTerminal) {
    const CParseResult parsed = ParseCommandLine(args);
    switch (parsed.outcome) {
    case ParseOutcome::Help:
        out << UsageText() << std::flush;
        return out ? kExitOk : kExitFailure;
    case ParseOutcome::Version:
        out << VersionText() << std::flush;
        return out ? kExitOk : kExitFailure;
    case ParseOutcome::Error:
        err << "twinsift-cli: " << parsed.strError << "\n\n" << UsageText();
        return kExitUsage;
    case ParseOutcome::Run:
        break;
    }

    const CCliOptions& options = parsed.options;
    if (!CheckFolder(options.strFolder, err))
        return kExitFailure;

    CProgressLine progress(err, bErrIsTerminal && !options.bQuiet);
    CGroupedResult grouped;
    bool bInterrupted = false;
    if (options.engine == SearchEngine::Index) {
        bool bIncomplete = false;
        bInterrupted = RunSearch(options, grouped.groups, progress, bIncomplete);
        if (bIncomplete) {
            err << "twinsift-cli: the search failed for want of memory\n";
            return kExitFailure;
        }
    } else if (!RunGrouped(options, grouped, progress, bInterrupted)) {
        err << "twinsift-cli: the search failed for want of memory\n";
        return kExitFailure;
    }
    const CDuplicateGroups& groups = grouped.groups;

    if (options.bJson)
        WriteGroupsJson(
            out,
            CSearchSummary{options.strFolder, options.bRecursive, options.nMethod, bInterrupted},
            groups);
    else
        WriteGroupsText(out, groups);
    out.flush();
    if (grouped.nUnreadable > 0)
        err << "Warning: " << grouped.nUnreadable
            << " files could not be read and are in no group.\n";
    err << "Total Duplicate files: " << groups.DuplicateCount() << '\n';
    if (!out) {
        err << "twinsift-cli: cannot write the results\n";
        return kExitFailure;
    }
    return bInterrupted ? kExitInterrupted : kExitOk;
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool bErrIsTerminal) noexcept {
    try {
        return Run(args, out, err, bErrIsTerminal);
    } catch (...) {
        // Out of memory, or a thread that could not be started.
        try {
            err << "twinsift-cli: the search failed for want of resources\n";
        } catch (...) {
        }
        return kExitFailure;
    }
}
