// Helpers shared by the end-to-end tests of twinsift-cli.
#pragma once

#include "tests/cli/ChildProcess.h"

#include <set>
#include <string>
#include <vector>

// Runs the built twinsift-cli with the arguments.
CChildResult RunCliBinary(const std::vector<std::string>& args, const CChildOptions& options = {});

// The groups of the text output: runs of non-empty lines, each ended by a blank line. Fails
// the current test when the last group is not ended.
std::vector<std::vector<std::string>> ParseTextGroups(const std::string& strOut);

// Groups as sets of files, for comparisons where the order does not matter.
using GroupSet = std::set<std::set<std::string>>;
GroupSet AsGroupSet(const std::vector<std::vector<std::string>>& groups);

// The groups the search worker itself reports for the folder, in the order they are created,
// each with its representative first and its duplicates in report order.
std::vector<std::vector<std::string>> WorkerGroups(const std::string& strFolder, bool bRecursive,
                                                   int nMethod);
