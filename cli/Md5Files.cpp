#include "cli/Md5Files.h"

#include "cli/Md5Lanes.h"
#include "engine/Md5.h"

#include <cstring>
#include <optional>

namespace {

constexpr std::size_t kLaneBuffer = 64u << 10;
constexpr std::size_t kBlock = 64;

// One file being hashed in one lane.
struct CLaneFile {
    std::size_t nPos = 0;
    std::int64_t nSize = 0;
    CFileHandle file;
    std::size_t nBegin = 0;
    std::size_t nEnd = 0;
    std::int64_t nRead = 0;
    std::uint64_t nHashed = 0;
    bool bEnd = false;
};

} // namespace

void HashFilesInLanes(const CMd5Job& job, std::atomic<std::size_t>& nNext,
                      const std::atomic<bool>& bStop, std::vector<CMd5Digest>& digests,
                      std::vector<char>& outcome, const std::function<void(std::size_t)>& fnDone) {
    constexpr std::size_t kLanes = CMd5Lanes::kLanes;
    CMd5Lanes lanes{};
    std::vector<CAlignedBuffer> buffers;
    for (std::size_t i = 0; i < kLanes; ++i)
        buffers.emplace_back(kLaneBuffer);
    alignas(64) static const unsigned char kIdleBlock[kBlock] = {};
    std::optional<CLaneFile> slots[kLanes];

    auto fnFinish = [&](std::size_t nLane, bool bRead) {
        CLaneFile& lane = *slots[nLane];
        if (bRead) {
            // The rest, under one block, goes through Md5Context from the lane's state.
            Md5Context context;
            context.Init();
            context.state[0] = lanes.a[nLane];
            context.state[1] = lanes.b[nLane];
            context.state[2] = lanes.c[nLane];
            context.state[3] = lanes.d[nLane];
            const std::uint64_t nBits = lane.nHashed * 8;
            context.count[0] = static_cast<std::uint32_t>(nBits);
            context.count[1] = static_cast<std::uint32_t>(nBits >> 32);
            context.Update(buffers[nLane].Data() + lane.nBegin,
                           static_cast<std::uint32_t>(lane.nEnd - lane.nBegin));
            context.Final();
            std::memcpy(digests[lane.nPos].data(), context.digest, 16);
        }
        outcome[lane.nPos] = bRead ? 1 : 2;
        fnDone(lane.nPos);
        slots[nLane].reset();
    };

    for (;;) {
        if (bStop.load(std::memory_order_relaxed))
            return;
        // Fill idle lanes and make sure every busy lane has a block, or has ended.
        bool bAny = false;
        for (std::size_t nLane = 0; nLane < kLanes; ++nLane) {
            while (!slots[nLane]) {
                const std::size_t nPos = nNext.fetch_add(1);
                if (nPos >= job.nCount)
                    break;
                CLaneFile lane;
                lane.nPos = nPos;
                lane.nSize = job.fnSize(nPos);
                if (!OpenForReading(job.fnRef(nPos), lane.nSize, lane.file)) {
                    outcome[nPos] = 2;
                    fnDone(nPos);
                    continue;
                }
                slots[nLane] = std::move(lane);
                lanes.a[nLane] = 0x67452301;
                lanes.b[nLane] = 0xefcdab89;
                lanes.c[nLane] = 0x98badcfe;
                lanes.d[nLane] = 0x10325476;
            }
            if (!slots[nLane])
                continue;
            CLaneFile& lane = *slots[nLane];
            if (lane.nEnd - lane.nBegin < kBlock && !lane.bEnd) {
                unsigned char* pData = buffers[nLane].Data();
                std::memmove(pData, pData + lane.nBegin, lane.nEnd - lane.nBegin);
                lane.nEnd -= lane.nBegin;
                lane.nBegin = 0;
                const std::size_t nRoom = buffers[nLane].Size() - lane.nEnd;
                const std::int64_t nGot = ReadUpTo(lane.file, pData + lane.nEnd, nRoom);
                if (nGot < 0) {
                    fnFinish(nLane, false);
                    continue;
                }
                lane.nEnd += static_cast<std::size_t>(nGot);
                lane.nRead += nGot;
                // ReadUpTo stops short only at the end of the file.
                lane.bEnd = static_cast<std::size_t>(nGot) < nRoom;
            }
            if (lane.nRead > lane.nSize) {
                fnFinish(nLane, false); // grew since the walk
                continue;
            }
            if (lane.nEnd - lane.nBegin < kBlock) {
                // Ended: only whole files of the walk's size have a digest.
                fnFinish(nLane, lane.nRead == lane.nSize);
                continue;
            }
            bAny = true;
        }
        if (!bAny) {
            // Every lane ended its file in this round: take new ones, unless none are left.
            bool bBusy = false;
            for (const auto& slot : slots)
                bBusy = bBusy || slot.has_value();
            if (!bBusy && nNext.load() >= job.nCount)
                return;
            continue;
        }

        const unsigned char* blocks[kLanes];
        std::size_t strides[kLanes];
        std::size_t nBlocks = ~std::size_t{0};
        for (std::size_t nLane = 0; nLane < kLanes; ++nLane) {
            if (slots[nLane] && slots[nLane]->nEnd - slots[nLane]->nBegin >= kBlock) {
                const CLaneFile& lane = *slots[nLane];
                blocks[nLane] = buffers[nLane].Data() + lane.nBegin;
                strides[nLane] = kBlock;
                nBlocks = std::min(nBlocks, (lane.nEnd - lane.nBegin) / kBlock);
            } else {
                blocks[nLane] = kIdleBlock;
                strides[nLane] = 0;
            }
        }
        Md5LanesTransform(lanes, blocks, strides, nBlocks);
        for (std::size_t nLane = 0; nLane < kLanes; ++nLane) {
            if (strides[nLane] == 0)
                continue;
            slots[nLane]->nBegin += nBlocks * kBlock;
            slots[nLane]->nHashed += nBlocks * kBlock;
        }
    }
}
