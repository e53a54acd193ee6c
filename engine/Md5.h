// MD5 message digest, as RFC 1321 defines it.
#pragma once

#include <cstdint>

struct Md5Context {
    // The chaining words A, B, C, D.
    std::uint32_t state[4];
    // Bits hashed so far, low word first.
    std::uint32_t count[2];
    // Input waiting to fill a 64-byte block.
    unsigned char buffer[64];
    // The result, written by Final.
    unsigned char digest[16];

    // Starts a new digest.
    void Init();
    // Hashes nLength more bytes.
    void Update(const unsigned char* pInput, std::uint32_t nLength);
    // Pads, writes the digest, then wipes state, count and buffer to zero so that nothing of
    // the input stays behind; digest is kept.
    void Final();

private:
    void Transform(const unsigned char* pBlock);
};
