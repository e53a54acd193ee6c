// twinsift-cli as a function: parses the command line, runs one search and writes its result.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// Runs the program on the arguments after its name. Results go to out, the total, errors and
// the progress line to err; the progress line is drawn only when bErrIsTerminal. Returns the
// exit status: 0 done, 1 folder missing or unreadable or output failed, 2 wrong command
// line, 130 stopped by Ctrl-C. Never throws.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool bErrIsTerminal) noexcept;
