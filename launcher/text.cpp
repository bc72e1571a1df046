#include "text.h"

#include <cstdlib>
#include <cstring>

Text::Text(Text&& other) noexcept
    : data_(other.data_), length_(other.length_), capacity_(other.capacity_) {
    other.data_ = nullptr;
    other.length_ = other.capacity_ = 0;
}

Text& Text::operator=(const Text& other) {
    if (this != &other) {
        length_ = 0;
        Append(other.View());
    }
    return *this;
}

Text& Text::operator=(Text&& other) noexcept {
    if (this != &other) {
        std::free(data_);
        data_ = other.data_;
        length_ = other.length_;
        capacity_ = other.capacity_;
        other.data_ = nullptr;
        other.length_ = other.capacity_ = 0;
    }
    return *this;
}

Text::~Text() { std::free(data_); }

void Text::Grow(std::size_t needed) {
    if (needed + 1 <= capacity_) return;
    std::size_t capacity = capacity_ ? capacity_ : 32;
    while (capacity < needed + 1) capacity *= 2;
    auto* grown = static_cast<wchar_t*>(std::realloc(data_, capacity * sizeof(wchar_t)));
    // Out of memory at this size means the machine is unusable; there is
    // nothing sensible left to report with.
    if (!grown) std::abort();
    data_ = grown;
    capacity_ = capacity;
}

Text& Text::Append(WStr text) {
    // text may be a view of this very buffer, which growing can move: find
    // it again by its offset. memmove keeps an overlapping copy safe.
    const auto address = reinterpret_cast<std::uintptr_t>(text.data());
    const auto start = reinterpret_cast<std::uintptr_t>(data_);
    const bool ownText = data_ && address >= start && address <= start + length_ * sizeof(wchar_t);
    const std::size_t ownOffset = ownText ? (address - start) / sizeof(wchar_t) : 0;
    Grow(length_ + text.size());
    if (ownText) text = WStr(data_ + ownOffset, text.size());
    if (!text.empty()) std::memmove(data_ + length_, text.data(), text.size() * sizeof(wchar_t));
    length_ += text.size();
    data_[length_] = L'\0';
    return *this;
}

Text& Text::AppendNumber(long long value) {
    wchar_t digits[24];
    int n = 0;
    unsigned long long magnitude = value < 0 ? 0ull - static_cast<unsigned long long>(value)
                                             : static_cast<unsigned long long>(value);
    do {
        digits[n++] = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (value < 0) Append(L'-');
    while (n) Append(digits[--n]);
    return *this;
}

Text& Text::AppendHex(std::uint32_t value) {
    wchar_t digits[8];
    int n = 0;
    do {
        digits[n++] = L"0123456789ABCDEF"[value & 0xF];
        value >>= 4;
    } while (value);
    while (n) Append(digits[--n]);
    return *this;
}

wchar_t* Text::Reserve(std::size_t count) {
    Grow(count);
    return data_;
}

void Text::SetLength(std::size_t length) {
    Grow(length);
    length_ = length;
    data_[length_] = L'\0';
}

static wchar_t LowerAscii(wchar_t ch) { return (ch >= L'A' && ch <= L'Z') ? ch + (L'a' - L'A') : ch; }

bool EqualsIgnoringCase(WStr a, WStr b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

WStr TrimLeadingBlanks(WStr text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    return text;
}

WStr TrimBlanks(WStr text) {
    text = TrimLeadingBlanks(text);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

Text ReplaceAll(WStr text, WStr from, WStr to) {
    Text out;
    std::size_t start = 0;
    for (std::size_t found; !from.empty() && (found = text.find(from, start)) != WStr::npos;
         start = found + from.size())
        out.Append(WStr(text.data() + start, found - start)).Append(to);
    return out.Append(DropFirst(text, start));
}
