#include "file_bytes.h"

#include "unique_handle.h"

unsigned long ReadFileStart(const wchar_t* path, std::size_t limit, ByteBuffer& bytes, std::uint64_t& fileSize) {
    // Shared like the system's own readers: an editor that has the file open
    // must not make the disc unreadable.
    UniqueFileHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return GetLastError();
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(file.Get(), &length)) return GetLastError();
    fileSize = static_cast<std::uint64_t>(length.QuadPart);
    std::size_t wanted = fileSize < limit ? static_cast<std::size_t>(fileSize) : limit;
    std::uint8_t* data = bytes.Allocate(wanted);
    if (!data) return ERROR_NOT_ENOUGH_MEMORY;
    DWORD got = 0;
    if (!ReadFile(file.Get(), data, static_cast<DWORD>(wanted), &got, nullptr)) return GetLastError();
    bytes.SetSize(got);
    return ERROR_SUCCESS;
}
