#include "engine/Crc32Kernels.h"

#include <array>
#include <bit>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

constexpr std::uint32_t CRC_POLYNOMIAL = 0xEDB88320u;
constexpr std::size_t SLICES = 16;

// Slice 0 is the byte table; slice k advances a byte through k more zero bytes.
using CSliceTables = std::array<std::array<std::uint32_t, 256>, SLICES>;

constexpr CSliceTables MakeSliceTables() {
    CSliceTables tables{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t v = i;
        for (int nBit = 0; nBit < 8; ++nBit)
            v = (v & 1u) ? (v >> 1) ^ CRC_POLYNOMIAL : v >> 1;
        tables[0][i] = v;
    }
    for (std::size_t k = 1; k < SLICES; ++k)
        for (std::size_t i = 0; i < 256; ++i)
            tables[k][i] = (tables[k - 1][i] >> 8) ^ tables[0][tables[k - 1][i] & 0xFFu];
    return tables;
}

constexpr CSliceTables g_sliceTables = MakeSliceTables();

std::uint32_t Load32(const unsigned char* p) {
    std::uint32_t v = 0;
    std::memcpy(&v, p, sizeof v);
    return v;
}

#if defined(__x86_64__)
[[gnu::target("pclmul,sse4.1")]] inline __m128i Load128(const unsigned char* q) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
}

// One fold: the lane times the two constants, added to the next 128 bits.
[[gnu::target("pclmul,sse4.1")]] inline __m128i Fold(__m128i x, __m128i k, __m128i next) {
    const __m128i lo = _mm_clmulepi64_si128(x, k, 0x00);
    const __m128i hi = _mm_clmulepi64_si128(x, k, 0x11);
    return _mm_xor_si128(_mm_xor_si128(hi, lo), next);
}

// Folding by carry-less multiplication: four 128-bit lanes folded 64 bytes at a time, then
// into one lane, then Barrett reduction to 32 bits. The constants are powers of x modulo the
// bit-reflected polynomial (x^(4*128+32), x^(4*128-32), x^(128+32), x^(128-32), x^64) and the
// polynomial with its Barrett quotient.
[[gnu::target("pclmul,sse4.1")]] std::uint32_t FoldClmul(std::uint32_t crc, const unsigned char* p,
                                                         std::size_t nBytes) {
    const __m128i k1k2 = _mm_set_epi64x(0x01c6e41596, 0x0154442bd4);
    const __m128i k3k4 = _mm_set_epi64x(0x00ccaa009e, 0x01751997d0);
    const __m128i k5k0 = _mm_set_epi64x(0, 0x0163cd6124);
    const __m128i poly = _mm_set_epi64x(0x01f7011641, 0x01db710641);
    __m128i x1 = _mm_xor_si128(Load128(p), _mm_cvtsi32_si128(static_cast<int>(crc)));
    __m128i x2 = Load128(p + 16);
    __m128i x3 = Load128(p + 32);
    __m128i x4 = Load128(p + 48);
    p += 64;
    nBytes -= 64;
    for (; nBytes >= 64; p += 64, nBytes -= 64) {
        x1 = Fold(x1, k1k2, Load128(p));
        x2 = Fold(x2, k1k2, Load128(p + 16));
        x3 = Fold(x3, k1k2, Load128(p + 32));
        x4 = Fold(x4, k1k2, Load128(p + 48));
    }
    x1 = Fold(x1, k3k4, x2);
    x1 = Fold(x1, k3k4, x3);
    x1 = Fold(x1, k3k4, x4);
    for (; nBytes >= 16; p += 16, nBytes -= 16)
        x1 = Fold(x1, k3k4, Load128(p));

    // 128 bits to 64.
    const __m128i mask32 = _mm_setr_epi32(~0, 0, ~0, 0);
    __m128i x2b = _mm_clmulepi64_si128(x1, k3k4, 0x10);
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), x2b);
    x2b = _mm_srli_si128(x1, 4);
    x1 = _mm_and_si128(x1, mask32);
    x1 = _mm_clmulepi64_si128(x1, k5k0, 0x00);
    x1 = _mm_xor_si128(x1, x2b);
    // Barrett reduction to 32 bits.
    x2b = _mm_and_si128(x1, mask32);
    x2b = _mm_clmulepi64_si128(x2b, poly, 0x10);
    x2b = _mm_and_si128(x2b, mask32);
    x2b = _mm_clmulepi64_si128(x2b, poly, 0x00);
    x1 = _mm_xor_si128(x1, x2b);
    return static_cast<std::uint32_t>(_mm_extract_epi32(x1, 1));
}
#endif

} // namespace

bool Crc32ClmulAvailable() {
#if defined(__x86_64__)
    static const bool s_bAvailable =
        __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
    return s_bAvailable;
#else
    return false;
#endif
}

std::size_t Crc32Clmul(std::uint32_t& crc, const unsigned char* p, std::size_t nBytes) {
#if defined(__x86_64__)
    if (nBytes < 64 || !Crc32ClmulAvailable())
        return 0;
    const std::size_t nTaken = nBytes & ~std::size_t{15};
    crc = FoldClmul(crc, p, nTaken);
    return nTaken;
#else
    (void)crc;
    (void)p;
    (void)nBytes;
    return 0;
#endif
}

std::size_t Crc32Slices(std::uint32_t& crc, const unsigned char* p, std::size_t nBytes) {
    if constexpr (std::endian::native != std::endian::little)
        return 0;
    const auto& t = g_sliceTables;
    std::uint32_t c = crc;
    std::size_t nDone = 0;
    for (; nBytes - nDone >= SLICES; nDone += SLICES) {
        const unsigned char* q = p + nDone;
        const std::uint32_t one = Load32(q) ^ c;
        const std::uint32_t two = Load32(q + 4);
        const std::uint32_t three = Load32(q + 8);
        const std::uint32_t four = Load32(q + 12);
        c = t[0][four >> 24] ^ t[1][(four >> 16) & 0xFF] ^ t[2][(four >> 8) & 0xFF] ^
            t[3][four & 0xFF] ^ t[4][three >> 24] ^ t[5][(three >> 16) & 0xFF] ^
            t[6][(three >> 8) & 0xFF] ^ t[7][three & 0xFF] ^ t[8][two >> 24] ^
            t[9][(two >> 16) & 0xFF] ^ t[10][(two >> 8) & 0xFF] ^ t[11][two & 0xFF] ^
            t[12][one >> 24] ^ t[13][(one >> 16) & 0xFF] ^ t[14][(one >> 8) & 0xFF] ^
            t[15][one & 0xFF];
    }
    crc = c;
    return nDone;
}
