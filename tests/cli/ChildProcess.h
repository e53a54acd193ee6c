// Runs a program as a child process for end-to-end tests and collects what it writes.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

struct CChildOptions {
    // Standard error goes to a pseudo-terminal, so the program sees a terminal there.
    bool bErrIsTerminal = false;
    // When not empty, standard output is opened on this path instead of a pipe.
    std::string strStdoutPath;
    // Called whenever more standard error arrives, with everything read so far.
    std::function<void(pid_t, const std::string&)> fnOnErr;
    // The child is killed when it runs longer than this.
    std::chrono::seconds timeout{120};
};

struct CChildResult {
    // The exit status, or 128 + the signal number when a signal ended the child.
    int nStatus = -1;
    bool bTimedOut = false;
    std::string strOut;
    std::string strErr;
};

CChildResult RunChild(const std::vector<std::string>& argv, const CChildOptions& options = {});
