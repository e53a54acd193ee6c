#include "cli/Md5Lanes.h"

#include <cstring>
#include <immintrin.h>

// The steps of RFC 1321 on eight independent messages at once, one in each 32-bit lane of a
// 256-bit register. Built for AVX2 and chosen at run time, so the program still runs on
// processors without it.
namespace {

#define TWINSIFT_AVX2 __attribute__((target("avx2")))

TWINSIFT_AVX2 inline __m256i Rotl(__m256i x, int n) {
    return _mm256_or_si256(_mm256_slli_epi32(x, n), _mm256_srli_epi32(x, 32 - n));
}
TWINSIFT_AVX2 inline __m256i F(__m256i b, __m256i c, __m256i d) {
    return _mm256_or_si256(_mm256_and_si256(b, c), _mm256_andnot_si256(b, d));
}
TWINSIFT_AVX2 inline __m256i G(__m256i b, __m256i c, __m256i d) {
    return _mm256_or_si256(_mm256_and_si256(b, d), _mm256_andnot_si256(d, c));
}
TWINSIFT_AVX2 inline __m256i H(__m256i b, __m256i c, __m256i d) {
    return _mm256_xor_si256(_mm256_xor_si256(b, c), d);
}
TWINSIFT_AVX2 inline __m256i I(__m256i b, __m256i c, __m256i d) {
    return _mm256_xor_si256(c, _mm256_or_si256(b, _mm256_xor_si256(d, _mm256_set1_epi32(-1))));
}

#define TWINSIFT_MD5_STEP(Fn)                                                                      \
    TWINSIFT_AVX2 inline void Step##Fn(__m256i& a, __m256i b, __m256i c, __m256i d, __m256i x,     \
                                       std::uint32_t k, int s) {                                   \
        a = _mm256_add_epi32(                                                                      \
            b, Rotl(_mm256_add_epi32(_mm256_add_epi32(a, Fn(b, c, d)),                             \
                                     _mm256_add_epi32(x, _mm256_set1_epi32(static_cast<int>(k)))), \
                    s));                                                                           \
    }
TWINSIFT_MD5_STEP(F)
TWINSIFT_MD5_STEP(G)
TWINSIFT_MD5_STEP(H)
TWINSIFT_MD5_STEP(I)
#undef TWINSIFT_MD5_STEP

TWINSIFT_AVX2 void TransformBlocks(CMd5Lanes& lanes, const unsigned char* const* ppBlocks,
                                   const std::size_t* pStrides, std::size_t nBlocks) {
    __m256i a = _mm256_load_si256(reinterpret_cast<const __m256i*>(lanes.a));
    __m256i b = _mm256_load_si256(reinterpret_cast<const __m256i*>(lanes.b));
    __m256i c = _mm256_load_si256(reinterpret_cast<const __m256i*>(lanes.c));
    __m256i d = _mm256_load_si256(reinterpret_cast<const __m256i*>(lanes.d));
    for (std::size_t nBlock = 0; nBlock < nBlocks; ++nBlock) {
        // Message word w of every lane, little-endian as the processor reads it.
        alignas(32) std::uint32_t words[16][CMd5Lanes::kLanes];
        for (std::size_t nLane = 0; nLane < CMd5Lanes::kLanes; ++nLane) {
            const unsigned char* pBlock = ppBlocks[nLane] + nBlock * pStrides[nLane];
            for (int w = 0; w < 16; ++w)
                std::memcpy(&words[w][nLane], pBlock + 4 * w, 4);
        }
        __m256i x[16];
        for (int w = 0; w < 16; ++w)
            x[w] = _mm256_load_si256(reinterpret_cast<const __m256i*>(words[w]));
        const __m256i a0 = a;
        const __m256i b0 = b;
        const __m256i c0 = c;
        const __m256i d0 = d;
        StepF(a, b, c, d, x[0], 0xd76aa478, 7);
        StepF(d, a, b, c, x[1], 0xe8c7b756, 12);
        StepF(c, d, a, b, x[2], 0x242070db, 17);
        StepF(b, c, d, a, x[3], 0xc1bdceee, 22);
        StepF(a, b, c, d, x[4], 0xf57c0faf, 7);
        StepF(d, a, b, c, x[5], 0x4787c62a, 12);
        StepF(c, d, a, b, x[6], 0xa8304613, 17);
        StepF(b, c, d, a, x[7], 0xfd469501, 22);
        StepF(a, b, c, d, x[8], 0x698098d8, 7);
        StepF(d, a, b, c, x[9], 0x8b44f7af, 12);
        StepF(c, d, a, b, x[10], 0xffff5bb1, 17);
        StepF(b, c, d, a, x[11], 0x895cd7be, 22);
        StepF(a, b, c, d, x[12], 0x6b901122, 7);
        StepF(d, a, b, c, x[13], 0xfd987193, 12);
        StepF(c, d, a, b, x[14], 0xa679438e, 17);
        StepF(b, c, d, a, x[15], 0x49b40821, 22);
        StepG(a, b, c, d, x[1], 0xf61e2562, 5);
        StepG(d, a, b, c, x[6], 0xc040b340, 9);
        StepG(c, d, a, b, x[11], 0x265e5a51, 14);
        StepG(b, c, d, a, x[0], 0xe9b6c7aa, 20);
        StepG(a, b, c, d, x[5], 0xd62f105d, 5);
        StepG(d, a, b, c, x[10], 0x02441453, 9);
        StepG(c, d, a, b, x[15], 0xd8a1e681, 14);
        StepG(b, c, d, a, x[4], 0xe7d3fbc8, 20);
        StepG(a, b, c, d, x[9], 0x21e1cde6, 5);
        StepG(d, a, b, c, x[14], 0xc33707d6, 9);
        StepG(c, d, a, b, x[3], 0xf4d50d87, 14);
        StepG(b, c, d, a, x[8], 0x455a14ed, 20);
        StepG(a, b, c, d, x[13], 0xa9e3e905, 5);
        StepG(d, a, b, c, x[2], 0xfcefa3f8, 9);
        StepG(c, d, a, b, x[7], 0x676f02d9, 14);
        StepG(b, c, d, a, x[12], 0x8d2a4c8a, 20);
        StepH(a, b, c, d, x[5], 0xfffa3942, 4);
        StepH(d, a, b, c, x[8], 0x8771f681, 11);
        StepH(c, d, a, b, x[11], 0x6d9d6122, 16);
        StepH(b, c, d, a, x[14], 0xfde5380c, 23);
        StepH(a, b, c, d, x[1], 0xa4beea44, 4);
        StepH(d, a, b, c, x[4], 0x4bdecfa9, 11);
        StepH(c, d, a, b, x[7], 0xf6bb4b60, 16);
        StepH(b, c, d, a, x[10], 0xbebfbc70, 23);
        StepH(a, b, c, d, x[13], 0x289b7ec6, 4);
        StepH(d, a, b, c, x[0], 0xeaa127fa, 11);
        StepH(c, d, a, b, x[3], 0xd4ef3085, 16);
        StepH(b, c, d, a, x[6], 0x04881d05, 23);
        StepH(a, b, c, d, x[9], 0xd9d4d039, 4);
        StepH(d, a, b, c, x[12], 0xe6db99e5, 11);
        StepH(c, d, a, b, x[15], 0x1fa27cf8, 16);
        StepH(b, c, d, a, x[2], 0xc4ac5665, 23);
        StepI(a, b, c, d, x[0], 0xf4292244, 6);
        StepI(d, a, b, c, x[7], 0x432aff97, 10);
        StepI(c, d, a, b, x[14], 0xab9423a7, 15);
        StepI(b, c, d, a, x[5], 0xfc93a039, 21);
        StepI(a, b, c, d, x[12], 0x655b59c3, 6);
        StepI(d, a, b, c, x[3], 0x8f0ccc92, 10);
        StepI(c, d, a, b, x[10], 0xffeff47d, 15);
        StepI(b, c, d, a, x[1], 0x85845dd1, 21);
        StepI(a, b, c, d, x[8], 0x6fa87e4f, 6);
        StepI(d, a, b, c, x[15], 0xfe2ce6e0, 10);
        StepI(c, d, a, b, x[6], 0xa3014314, 15);
        StepI(b, c, d, a, x[13], 0x4e0811a1, 21);
        StepI(a, b, c, d, x[4], 0xf7537e82, 6);
        StepI(d, a, b, c, x[11], 0xbd3af235, 10);
        StepI(c, d, a, b, x[2], 0x2ad7d2bb, 15);
        StepI(b, c, d, a, x[9], 0xeb86d391, 21);
        a = _mm256_add_epi32(a, a0);
        b = _mm256_add_epi32(b, b0);
        c = _mm256_add_epi32(c, c0);
        d = _mm256_add_epi32(d, d0);
    }
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes.a), a);
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes.b), b);
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes.c), c);
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes.d), d);
}

} // namespace

bool Md5LanesAvailable() {
    return __builtin_cpu_supports("avx2");
}

void Md5LanesTransform(CMd5Lanes& lanes, const unsigned char* const* ppBlocks,
                       const std::size_t* pStrides, std::size_t nBlocks) {
    TransformBlocks(lanes, ppBlocks, pStrides, nBlocks);
}
