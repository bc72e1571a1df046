// The owner of one handle-like value, released through Traits exactly once.
// Free of windows.h, so its rules are tested natively.
#pragma once

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
    // Taking over the handle already held keeps it open.
    void Reset(Handle handle = Traits::Invalid()) {
        if (handle == handle_) return;
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
