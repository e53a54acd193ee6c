// Runs a piece of work for every index of a range on a few threads, each taking the next
// index as it becomes free, so the indices start in their order.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

// The number of threads for reading and hashing: every core.
inline unsigned WorkerThreadCount() {
    return std::max(1u, std::thread::hardware_concurrency());
}

// fnWork(nIndex, nThread) for every nIndex below nCount; nThread is below nThreads and tells
// which thread runs it, for per-thread state. A piece of work that throws (out of memory) is
// left as it stands, and the others go on. When a thread cannot be started, the threads that
// did start (at least the calling one) do all the work.
template <typename FnWork>
void ParallelFor(std::size_t nCount, unsigned nThreads, FnWork&& fnWork) {
    std::atomic<std::size_t> nNext{0};
    auto fnRun = [&](unsigned nThread) {
        for (std::size_t i = nNext.fetch_add(1); i < nCount; i = nNext.fetch_add(1)) {
            try {
                fnWork(i, nThread);
            } catch (...) {
            }
        }
    };
    std::vector<std::thread> threads;
    for (unsigned nThread = 1; nThread < nThreads && nThread < nCount; ++nThread) {
        try {
            threads.emplace_back(fnRun, nThread);
        } catch (...) {
            break;
        }
    }
    fnRun(0);
    for (std::thread& thread : threads)
        thread.join();
}
