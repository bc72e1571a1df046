// Ownership of Win32 handles and COM pointers: each is released exactly once,
// on every path, when its owner goes out of scope.
#pragma once

#include <windows.h>

#include <utility>

template <class Handle, class Traits>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return Traits::IsValid(handle_); }
    Handle Release() { return std::exchange(handle_, Traits::Invalid()); }
    void Reset(Handle handle = Traits::Invalid()) {
        if (Traits::IsValid(handle_)) Traits::Close(handle_);
        handle_ = handle;
    }
    // For functions that hand back a new handle through a pointer.
    Handle* Put() {
        Reset();
        return &handle_;
    }

private:
    Handle handle_ = Traits::Invalid();
};

template <class Handle, auto CloseFunction>
struct NullHandleTraits {
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle handle) { return handle != nullptr; }
    static void Close(Handle handle) { CloseFunction(handle); }
};

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
