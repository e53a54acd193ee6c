#include "engine/Md5.h"

#include <cstring>

namespace {

constexpr std::uint32_t RotateLeft(std::uint32_t x, int n) {
    return (x << n) | (x >> (32 - n));
}

constexpr std::uint32_t F(std::uint32_t x, std::uint32_t y, std::uint32_t z) {
    return (x & y) | (~x & z);
}
constexpr std::uint32_t G(std::uint32_t x, std::uint32_t y, std::uint32_t z) {
    return (x & z) | (y & ~z);
}
constexpr std::uint32_t H(std::uint32_t x, std::uint32_t y, std::uint32_t z) {
    return x ^ y ^ z;
}
constexpr std::uint32_t I(std::uint32_t x, std::uint32_t y, std::uint32_t z) {
    return y ^ (x | ~z);
}

// The sine-derived constants T[1..64] of RFC 1321.
constexpr std::uint32_t T[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

// Shift amounts per round, four per round.
constexpr int S[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

std::uint32_t LoadLittleEndian(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void StoreLittleEndian(std::uint32_t v, unsigned char* p) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

} // namespace

void Md5Context::Init() {
    state[0] = 0x67452301;
    state[1] = 0xefcdab89;
    state[2] = 0x98badcfe;
    state[3] = 0x10325476;
    count[0] = 0;
    count[1] = 0;
}

void Md5Context::Transform(const unsigned char* pBlock) {
    std::uint32_t x[16];
    for (int i = 0; i < 16; ++i)
        x[i] = LoadLittleEndian(pBlock + 4 * i);
    std::uint32_t a = state[0];
    std::uint32_t b = state[1];
    std::uint32_t c = state[2];
    std::uint32_t d = state[3];
    for (int i = 0; i < 64; ++i) {
        const int nRound = i / 16;
        std::uint32_t f = 0;
        int k = 0;
        switch (nRound) {
        case 0:
            f = F(b, c, d);
            k = i;
            break;
        case 1:
            f = G(b, c, d);
            k = (5 * i + 1) % 16;
            break;
        case 2:
            f = H(b, c, d);
            k = (3 * i + 5) % 16;
            break;
        default:
            f = I(b, c, d);
            k = (7 * i) % 16;
            break;
        }
        const std::uint32_t nNext = b + RotateLeft(a + f + x[k] + T[i], S[nRound][i % 4]);
        a = d;
        d = c;
        c = b;
        b = nNext;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    std::memset(x, 0, sizeof x);
}

void Md5Context::Update(const unsigned char* pInput, std::uint32_t nLength) {
    std::uint32_t nIndex = (count[0] >> 3) & 0x3F;
    // The bit count is 64 bits wide in two words; carry into the upper one.
    const std::uint32_t nBitsLow = nLength << 3;
    count[0] += nBitsLow;
    if (count[0] < nBitsLow)
        ++count[1];
    count[1] += nLength >> 29;

    const std::uint32_t nPartLength = 64 - nIndex;
    std::uint32_t i = 0;
    if (nLength >= nPartLength) {
        std::memcpy(buffer + nIndex, pInput, nPartLength);
        Transform(buffer);
        for (i = nPartLength; i + 63 < nLength; i += 64)
            Transform(pInput + i);
        nIndex = 0;
    }
    if (nLength > i)
        std::memcpy(buffer + nIndex, pInput + i, nLength - i);
}

void Md5Context::Final() {
    unsigned char bits[8];
    StoreLittleEndian(count[0], bits);
    StoreLittleEndian(count[1], bits + 4);
    // Pad with one 1 bit and zeros up to 56 bytes modulo 64, then append the bit count.
    static constexpr unsigned char PADDING[64] = {0x80};
    const std::uint32_t nIndex = (count[0] >> 3) & 0x3F;
    const std::uint32_t nPadLength = nIndex < 56 ? 56 - nIndex : 120 - nIndex;
    Update(PADDING, nPadLength);
    Update(bits, 8);
    for (int i = 0; i < 4; ++i)
        StoreLittleEndian(state[i], digest + 4 * i);
    std::memset(state, 0, sizeof state);
    std::memset(count, 0, sizeof count);
    std::memset(buffer, 0, sizeof buffer);
}
