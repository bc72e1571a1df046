// Ownership of Win32 handles and COM pointers: each is released exactly once,
// on every path, when its owner goes out of scope.
#pragma once

#include <windows.h>

#include "unique_owner.h"

struct FileHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HANDLE handle) { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};

using UniqueKernelHandle = UniqueHandle<HANDLE, NullHandleTraits<HANDLE, CloseHandle>>;
using UniqueFileHandle = UniqueHandle<HANDLE, FileHandleTraits>;
using UniqueBitmap = UniqueHandle<HBITMAP, NullHandleTraits<HBITMAP, DeleteObject>>;
using UniqueFont = UniqueHandle<HFONT, NullHandleTraits<HFONT, DeleteObject>>;
using UniqueBrush = UniqueHandle<HBRUSH, NullHandleTraits<HBRUSH, DeleteObject>>;
using UniqueIcon = UniqueHandle<HICON, NullHandleTraits<HICON, DestroyIcon>>;
using UniqueModule = UniqueHandle<HMODULE, NullHandleTraits<HMODULE, FreeLibrary>>;
using UniqueDC = UniqueHandle<HDC, NullHandleTraits<HDC, DeleteDC>>;
using UniqueEnhMetaFile = UniqueHandle<HENHMETAFILE, NullHandleTraits<HENHMETAFILE, DeleteEnhMetaFile>>;

// A COM interface pointer, released when it goes out of scope.
template <class Interface>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        Reset();
        pointer_ = std::exchange(other.pointer_, nullptr);
        return *this;
    }
    ~ComPtr() { Reset(); }

    Interface* Get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    Interface** Put() {
        Reset();
        return &pointer_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }
    void Reset() {
        if (pointer_) pointer_->Release();
        pointer_ = nullptr;
    }

private:
    Interface* pointer_ = nullptr;
};
