// Owning wide-character text and the view type used across the launcher.
// The product links no C++ string library: std::wstring drags the runtime's
// exception and locale machinery into a static build, which would multiply
// the size of an exe that has to start quickly from a slow disc.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

using WStr = std::wstring_view;

class Text {
public:
    Text() = default;
    Text(WStr text) { Append(text); }
    Text(const wchar_t* text) : Text(WStr(text)) {}
    Text(const Text& other) : Text(other.View()) {}
    Text(Text&& other) noexcept;
    Text& operator=(const Text& other);
    Text& operator=(Text&& other) noexcept;
    ~Text();

    Text& Append(WStr text);
    Text& Append(wchar_t ch) { return Append(WStr(&ch, 1)); }
    Text& AppendNumber(long long value);
    Text& AppendHex(std::uint32_t value);   // upper case, no leading zeros

    // Makes room for `count` characters and returns the buffer; call
    // SetLength afterwards with how many were written.
    wchar_t* Reserve(std::size_t count);
    void SetLength(std::size_t length);

    const wchar_t* CStr() const { return data_ ? data_ : L""; }
    std::size_t Length() const { return length_; }
    bool Empty() const { return length_ == 0; }
    WStr View() const { return WStr(CStr(), length_); }
    operator WStr() const { return View(); }

private:
    void Grow(std::size_t needed);

    wchar_t* data_ = nullptr;
    std::size_t length_ = 0;
    std::size_t capacity_ = 0;
};

inline bool operator==(const Text& a, const Text& b) { return a.View() == b.View(); }

// Letter-case-insensitive comparison for the ASCII letters of keywords.
bool EqualsIgnoringCase(WStr a, WStr b);
inline bool IsBlank(wchar_t ch) { return ch == L' ' || ch == L'\t'; }
WStr TrimBlanks(WStr text);
WStr TrimLeadingBlanks(WStr text);
// text with every occurrence of `from` replaced by `to`.
Text ReplaceAll(WStr text, WStr from, WStr to);

// The text without its first n characters (all of them when it is shorter).
inline WStr DropFirst(WStr text, std::size_t n) {
    return n < text.size() ? WStr(text.data() + n, text.size() - n) : WStr();
}

// The first n characters of the text (all of it when it is shorter).
// Unlike substr, never throws: the product has no exception support.
inline WStr TakeFirst(WStr text, std::size_t n) { return WStr(text.data(), n < text.size() ? n : text.size()); }
