// Reading a file's bytes with one open and one read.
#pragma once

#include <cstddef>
#include <cstdint>

#include "../launcher/byte_buffer.h"

// Reads up to `limit` bytes from the start of the file; fileSize gets the
// whole file's size. False when it cannot, with GetLastError telling why.
bool ReadFileStart(const wchar_t* path, std::size_t limit, ByteBuffer& bytes, std::uint64_t& fileSize);
