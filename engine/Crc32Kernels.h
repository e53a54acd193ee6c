// The inner loops of the CRC-32: each runs the reflected CRC register (not yet complemented)
// over a block of bytes and returns how many bytes it took; the caller finishes the rest a
// byte at a time with the 256-entry table. All give the same CRC as a byte at a time does.
#pragma once

#include <cstddef>
#include <cstdint>

// Carry-less multiplication folding, where the processor has it; takes nothing otherwise,
// and nothing from blocks under 64 bytes. Takes a multiple of 16 bytes.
std::size_t Crc32Clmul(std::uint32_t& crc, const unsigned char* p, std::size_t nBytes);
bool Crc32ClmulAvailable();

// Sixteen bytes a step through tables derived from the same polynomial. Takes a multiple of
// 16 bytes.
std::size_t Crc32Slices(std::uint32_t& crc, const unsigned char* p, std::size_t nBytes);
