// twinsift-cli: finds duplicate files from a terminal or a script.
#include "cli/CliApp.h"

#include <iostream>
#include <malloc.h>
#include <string>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    // One heap for all threads: the reading threads allocate little, and memory they free
    // then goes back to the one heap instead of staying in a heap of each thread.
    mallopt(M_ARENA_MAX, 1);
    std::ios::sync_with_stdio(false);
    std::vector<std::string> args;
    try {
        args.assign(argv + 1, argv + argc);
    } catch (...) {
        return 1;
    }
    return RunCli(args, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
}
