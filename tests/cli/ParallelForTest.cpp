#include "cli/ParallelFor.h"

#include <atomic>
#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

namespace {

TEST(ParallelFor, EveryIndexRunsOnceEvenWhenSomeThrow) {
    for (const std::size_t nCount : {std::size_t{0}, std::size_t{1}, std::size_t{1000}}) {
        SCOPED_TRACE(nCount);
        std::vector<std::atomic<int>> runs(nCount);
        std::atomic<unsigned> nHighestThread{0};
        ParallelFor(nCount, 4, [&](std::size_t i, unsigned nThread) {
            runs[i].fetch_add(1);
            unsigned nSeen = nHighestThread.load();
            while (nThread > nSeen && !nHighestThread.compare_exchange_weak(nSeen, nThread)) {
            }
            if (i % 7 == 3)
                throw std::runtime_error("this piece fails");
        });
        for (std::size_t i = 0; i < nCount; ++i)
            EXPECT_EQ(runs[i].load(), 1) << i;
        EXPECT_LT(nHighestThread.load(), 4u);
    }
}

} // namespace
