// Reading a file's bytes with one open and one read.
#pragma once

#include <cstddef>
#include <cstdint>

#include "../launcher/byte_buffer.h"

// Reads up to `limit` bytes from the start of the file; fileSize gets the
// whole file's size. Returns 0, or the system's error number when it cannot
// (taken before the file is closed).
unsigned long ReadFileStart(const wchar_t* path, std::size_t limit, ByteBuffer& bytes, std::uint64_t& fileSize);
