#include "engine/Md5.h"

#include <cstring>

namespace {

constexpr std::uint32_t RotateLeft(std::uint32_t x, int n) {
    return (x << n) | (x >> (32 - n));
}

// F and G in forms equal to RFC 1321's (x & y) | (~x & z) and (x & z) | (y & ~z) with shorter
// dependency chains: F needs x only at its last step; G's two halves have no bits in common,
// so they may be added instead of or'ed, and the half without x is ready before x is.
constexpr std::uint32_t F(std::uint32_t x, std::uint32_t y, std::uint32_t z) {
    return z ^ (x & (y ^ z));
}
constexpr std::uint32_t G(std::uint32_t x, std::uint32_t y, std::uint32_t z) {
    return (y & ~z) + (x & z);
}
constexpr std::uint32_t H(std::uint32_t x, std::uint32_t y, std::uint32_t z) {
    return x ^ y ^ z;
}
constexpr std::uint32_t I(std::uint32_t x, std::uint32_t y, std::uint32_t z) {
    return y ^ (x | ~z);
}

// One step: a = b + ((a + f(b, c, d) + x + t) <<< s).
template <std::uint32_t (*Fn)(std::uint32_t, std::uint32_t, std::uint32_t)>
inline void Step(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                 std::uint32_t x, std::uint32_t t, int s) {
    // The message word and constant do not wait for the chain, so they are added to a first.
    a = b + RotateLeft(a + (x + t) + Fn(b, c, d), s);
}

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
    // The 64 steps of RFC 1321 written out, each with its message word, sine constant and
    // shift, so that the compiler keeps the four words in registers.
    // Round 1.
    Step<F>(a, b, c, d, x[0], 0xd76aa478, 7);
    Step<F>(d, a, b, c, x[1], 0xe8c7b756, 12);
    Step<F>(c, d, a, b, x[2], 0x242070db, 17);
    Step<F>(b, c, d, a, x[3], 0xc1bdceee, 22);
    Step<F>(a, b, c, d, x[4], 0xf57c0faf, 7);
    Step<F>(d, a, b, c, x[5], 0x4787c62a, 12);
    Step<F>(c, d, a, b, x[6], 0xa8304613, 17);
    Step<F>(b, c, d, a, x[7], 0xfd469501, 22);
    Step<F>(a, b, c, d, x[8], 0x698098d8, 7);
    Step<F>(d, a, b, c, x[9], 0x8b44f7af, 12);
    Step<F>(c, d, a, b, x[10], 0xffff5bb1, 17);
    Step<F>(b, c, d, a, x[11], 0x895cd7be, 22);
    Step<F>(a, b, c, d, x[12], 0x6b901122, 7);
    Step<F>(d, a, b, c, x[13], 0xfd987193, 12);
    Step<F>(c, d, a, b, x[14], 0xa679438e, 17);
    Step<F>(b, c, d, a, x[15], 0x49b40821, 22);
    // Round 2.
    Step<G>(a, b, c, d, x[1], 0xf61e2562, 5);
    Step<G>(d, a, b, c, x[6], 0xc040b340, 9);
    Step<G>(c, d, a, b, x[11], 0x265e5a51, 14);
    Step<G>(b, c, d, a, x[0], 0xe9b6c7aa, 20);
    Step<G>(a, b, c, d, x[5], 0xd62f105d, 5);
    Step<G>(d, a, b, c, x[10], 0x02441453, 9);
    Step<G>(c, d, a, b, x[15], 0xd8a1e681, 14);
    Step<G>(b, c, d, a, x[4], 0xe7d3fbc8, 20);
    Step<G>(a, b, c, d, x[9], 0x21e1cde6, 5);
    Step<G>(d, a, b, c, x[14], 0xc33707d6, 9);
    Step<G>(c, d, a, b, x[3], 0xf4d50d87, 14);
    Step<G>(b, c, d, a, x[8], 0x455a14ed, 20);
    Step<G>(a, b, c, d, x[13], 0xa9e3e905, 5);
    Step<G>(d, a, b, c, x[2], 0xfcefa3f8, 9);
    Step<G>(c, d, a, b, x[7], 0x676f02d9, 14);
    Step<G>(b, c, d, a, x[12], 0x8d2a4c8a, 20);
    // Round 3.
    Step<H>(a, b, c, d, x[5], 0xfffa3942, 4);
    Step<H>(d, a, b, c, x[8], 0x8771f681, 11);
    Step<H>(c, d, a, b, x[11], 0x6d9d6122, 16);
    Step<H>(b, c, d, a, x[14], 0xfde5380c, 23);
    Step<H>(a, b, c, d, x[1], 0xa4beea44, 4);
    Step<H>(d, a, b, c, x[4], 0x4bdecfa9, 11);
    Step<H>(c, d, a, b, x[7], 0xf6bb4b60, 16);
    Step<H>(b, c, d, a, x[10], 0xbebfbc70, 23);
    Step<H>(a, b, c, d, x[13], 0x289b7ec6, 4);
    Step<H>(d, a, b, c, x[0], 0xeaa127fa, 11);
    Step<H>(c, d, a, b, x[3], 0xd4ef3085, 16);
    Step<H>(b, c, d, a, x[6], 0x04881d05, 23);
    Step<H>(a, b, c, d, x[9], 0xd9d4d039, 4);
    Step<H>(d, a, b, c, x[12], 0xe6db99e5, 11);
    Step<H>(c, d, a, b, x[15], 0x1fa27cf8, 16);
    Step<H>(b, c, d, a, x[2], 0xc4ac5665, 23);
    // Round 4.
    Step<I>(a, b, c, d, x[0], 0xf4292244, 6);
    Step<I>(d, a, b, c, x[7], 0x432aff97, 10);
    Step<I>(c, d, a, b, x[14], 0xab9423a7, 15);
    Step<I>(b, c, d, a, x[5], 0xfc93a039, 21);
    Step<I>(a, b, c, d, x[12], 0x655b59c3, 6);
    Step<I>(d, a, b, c, x[3], 0x8f0ccc92, 10);
    Step<I>(c, d, a, b, x[10], 0xffeff47d, 15);
    Step<I>(b, c, d, a, x[1], 0x85845dd1, 21);
    Step<I>(a, b, c, d, x[8], 0x6fa87e4f, 6);
    Step<I>(d, a, b, c, x[15], 0xfe2ce6e0, 10);
    Step<I>(c, d, a, b, x[6], 0xa3014314, 15);
    Step<I>(b, c, d, a, x[13], 0x4e0811a1, 21);
    Step<I>(a, b, c, d, x[4], 0xf7537e82, 6);
    Step<I>(d, a, b, c, x[11], 0xbd3af235, 10);
    Step<I>(c, d, a, b, x[2], 0x2ad7d2bb, 15);
    Step<I>(b, c, d, a, x[9], 0xeb86d391, 21);
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
