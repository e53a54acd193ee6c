// MD5 on eight messages at once, for hashing many files: the compression function of
// RFC 1321 run in the eight 32-bit lanes of 256-bit registers. The states it leaves are the
// states Md5Context would reach on the same blocks, so a lane is finished by handing its
// state to an Md5Context, which pads and writes the digest.
#pragma once

#include <cstddef>
#include <cstdint>

struct CMd5Lanes {
    static constexpr std::size_t kLanes = 8;
    // The chaining words A, B, C, D of every lane.
    alignas(32) std::uint32_t a[kLanes];
    alignas(32) std::uint32_t b[kLanes];
    alignas(32) std::uint32_t c[kLanes];
    alignas(32) std::uint32_t d[kLanes];
};

// Whether this processor can run Md5LanesTransform (it needs AVX2).
bool Md5LanesAvailable();

// Runs nBlocks 64-byte blocks through every lane: lane i takes its blocks at ppBlocks[i],
// ppBlocks[i] + pStrides[i], ... (a stride of 0 feeds the same block again, for a lane whose
// result is not wanted).
void Md5LanesTransform(CMd5Lanes& lanes, const unsigned char* const* ppBlocks,
                       const std::size_t* pStrides, std::size_t nBlocks);
