// A small JSON writer for the test tools: UTF-16 in, UTF-8 JSON out.
#pragma once

#include <windows.h>

#include <string>

class JsonWriter {
public:
    JsonWriter& BeginObject() { Separate(); out_ += '{'; return *this; }
    JsonWriter& EndObject() { out_ += '}'; return *this; }
    JsonWriter& BeginArray() { Separate(); out_ += '['; return *this; }
    JsonWriter& EndArray() { out_ += ']'; return *this; }

    JsonWriter& Key(const char* name) {
        Separate();
        out_ += '"';
        out_ += name;
        out_ += "\":";
        return *this;
    }

    JsonWriter& String(const std::wstring& text) {
        Separate();
        out_ += '"';
        for (char c : ToUtf8(text)) {
            unsigned char u = static_cast<unsigned char>(c);
            switch (c) {
                case '"': out_ += "\\\""; break;
                case '\\': out_ += "\\\\"; break;
                case '\n': out_ += "\\n"; break;
                case '\r': out_ += "\\r"; break;
                case '\t': out_ += "\\t"; break;
                default:
                    if (u < 0x20) {
                        char escaped[8];
                        wsprintfA(escaped, "\\u%04x", u);
                        out_ += escaped;
                    } else {
                        out_ += c;
                    }
            }
        }
        out_ += '"';
        return *this;
    }

    JsonWriter& Number(long long value) {
        Separate();
        out_ += std::to_string(value);
        return *this;
    }

    JsonWriter& Bool(bool value) {
        Separate();
        out_ += value ? "true" : "false";
        return *this;
    }

    // Already-written JSON, such as a record made by another writer.
    JsonWriter& Raw(const std::string& json) {
        if (json.empty()) return *this;
        Separate();
        out_ += json;
        return *this;
    }

    JsonWriter& Null() {
        Separate();
        out_ += "null";
        return *this;
    }

    const std::string& Utf8() const { return out_; }

    static std::string ToUtf8(const std::wstring& text) {
        if (text.empty()) return {};
        int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
        std::string utf8(static_cast<size_t>(size), '\0');
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size, nullptr,
                            nullptr);
        return utf8;
    }

private:
    // A comma goes before every element except the first of an object or
    // array and a value right after its key.
    void Separate() {
        if (!out_.empty() && out_.back() != '{' && out_.back() != '[' && out_.back() != ':') out_ += ',';
    }

    std::string out_;
};
