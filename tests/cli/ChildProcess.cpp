#include "tests/cli/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// Appends what the descriptor has; false at its end (or, for a pseudo-terminal whose child
// side is closed, at EIO).
bool ReadSome(int fd, std::string& strInto) {
    char buffer[65536];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0) {
        strInto.append(buffer, static_cast<std::size_t>(n));
        return true;
    }
    return n < 0 && (errno == EINTR || errno == EAGAIN);
}

} // namespace

CChildResult RunChild(const std::vector<std::string>& argv, const CChildOptions& options) {
    int outPipe[2] = {-1, -1};
    int errRead = -1;
    int errWrite = -1;
    if (options.strStdoutPath.empty() && pipe2(outPipe, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    if (options.bErrIsTerminal) {
        if (openpty(&errRead, &errWrite, nullptr, nullptr, nullptr) != 0)
            throw std::runtime_error("openpty failed");
        fcntl(errRead, F_SETFD, FD_CLOEXEC);
        fcntl(errWrite, F_SETFD, FD_CLOEXEC);
    } else {
        int errPipe[2];
        if (pipe2(errPipe, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe failed");
        errRead = errPipe[0];
        errWrite = errPipe[1];
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (options.strStdoutPath.empty())
        posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, options.strStdoutPath.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, errWrite, 2);

    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    pid_t pid = -1;
    const int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (outPipe[1] >= 0)
        close(outPipe[1]);
    close(errWrite);
    if (rc != 0) {
        if (outPipe[0] >= 0)
            close(outPipe[0]);
        close(errRead);
        throw std::runtime_error("posix_spawn failed");
    }

    CChildResult result;
    const auto deadline = std::chrono::steady_clock::now() + options.timeout;
    bool bOutOpen = outPipe[0] >= 0;
    bool bErrOpen = true;
    while (bOutOpen || bErrOpen) {
        pollfd fds[2];
        nfds_t nFds = 0;
        if (bOutOpen)
            fds[nFds++] = pollfd{outPipe[0], POLLIN, 0};
        if (bErrOpen)
            fds[nFds++] = pollfd{errRead, POLLIN, 0};
        const int nReady = poll(fds, nFds, 100);
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            result.bTimedOut = true;
            break;
        }
        if (nReady <= 0)
            continue;
        for (nfds_t i = 0; i < nFds; ++i) {
            if (fds[i].revents == 0)
                continue;
            if (fds[i].fd == errRead) {
                bErrOpen = ReadSome(errRead, result.strErr);
                if (options.fnOnErr)
                    options.fnOnErr(pid, result.strErr);
            } else {
                bOutOpen = ReadSome(outPipe[0], result.strOut);
            }
        }
    }
    if (outPipe[0] >= 0)
        close(outPipe[0]);
    close(errRead);

    int nWait = 0;
    while (waitpid(pid, &nWait, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(nWait))
        result.nStatus = WEXITSTATUS(nWait);
    else if (WIFSIGNALED(nWait))
        result.nStatus = 128 + WTERMSIG(nWait);
    return result;
}
