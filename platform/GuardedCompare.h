// Reading memory that may vanish under the reader.
//
// The pages of a mapped file that another process truncates are gone: touching them raises
// SIGBUS, which would end the program. GuardedCompare catches that fault on the calling thread
// and reports it as a failed read; faults anywhere else keep their usual effect.
#pragma once

#include <cstddef>

// Compares nBytes at p1 and p2 as unsigned bytes, as memcmp does. Returns true and sets nResult
// to -1, 0 or 1 when every byte could be read; returns false when reading raised SIGBUS.
bool GuardedCompare(const void* p1, const void* p2, std::size_t nBytes, int& nResult);
