// An in-memory stand-in for the system: a configuration file's bytes (written
// from a table, or given raw), a set of existing files, and a record of file
// reads, messages and starts.
#pragma once

#include <algorithm>
#include <cwctype>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "launcher/layout.h"
#include "launcher/platform.h"
#include "launcher/splash_view.h"

// The program ending; thrown so a test can see where and how it ended.
struct ProgramEnded {
    int exitCode;
};

// UTF-16 code units (what the launcher works in) as UTF-8.
inline std::string Utf8(const std::wstring& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t code = static_cast<std::uint32_t>(text[i]) & 0xFFFF;
        std::uint32_t next = i + 1 < text.size() ? static_cast<std::uint32_t>(text[i + 1]) & 0xFFFF : 0;
        if (code >= 0xD800 && code < 0xDC00 && next >= 0xDC00 && next < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (next - 0xDC00);
            ++i;
        }
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

inline std::wstring Lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
    return text;
}

class FakePlatform : public Platform {
public:
    std::wstring currentDirectory = L"C:\\disc";
    std::wstring exeBaseName = L"launcher";
    std::set<std::wstring> files;                                  // lower-cased full or relative paths
    std::map<std::wstring, std::map<std::wstring, std::wstring>> ini;   // lower-cased section, key
    std::optional<std::string> iniBytes;   // when set, the file's bytes instead of the table
    ReadResult nextRead{true, 0, Text()};   // a failure here fails every read
    std::vector<std::wstring> messages;
    struct Start {
        std::wstring program, parameters;
    };
    std::vector<Start> starts;
    StartResult nextStart{StartOutcome::Started, 0, Text()};
    std::vector<std::wstring> fileReads;   // paths, in order

    void Set(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
        ini[Lower(section)][Lower(key)] = value;
    }
    void AddFile(const std::wstring& path) { files.insert(Lower(path)); }

    Text CurrentDirectory() override { return Text(currentDirectory); }
    Text ExecutableBaseName() override { return Text(exeBaseName); }
    bool FileExists(WStr path) override { return files.count(Lower(std::wstring(path))) > 0; }
    // The table as a file: every value in quotes, so it reads back exactly.
    std::wstring IniText() const {
        std::wstring text;
        for (const auto& [section, keys] : ini) {
            text += L"[" + section + L"]\r\n";
            for (const auto& [key, value] : keys) text += key + L"=\"" + value + L"\"\r\n";
        }
        return text;
    }
    ReadResult ReadWholeFile(WStr path, std::size_t maxBytes, ByteBuffer& bytes) override {
        fileReads.emplace_back(path);
        if (!nextRead.ok) return ReadResult{false, nextRead.systemError, Text(nextRead.systemMessage)};
        std::string data = iniBytes ? *iniBytes : "\xEF\xBB\xBF" + Utf8(IniText());
        if (data.size() > maxBytes) return ReadResult{false, 223, Text(L"The file is too large.")};
        std::copy(data.begin(), data.end(), bytes.Allocate(data.size()));
        bytes.SetSize(data.size());
        return ReadResult{true, 0, Text()};
    }
    // As Windows-1252 would, for the characters the tests use (Latin-1).
    Text TextFromAnsi(const std::uint8_t* data, std::size_t size) override {
        Text text;
        for (std::size_t i = 0; i < size; ++i) text.Append(static_cast<wchar_t>(data[i]));
        return text;
    }
    // Runs while a message is up, as events the window still receives then.
    std::function<void()> whileMessageShown;

    void ShowErrorMessage(WStr text) override {
        messages.emplace_back(text);
        if (whileMessageShown) whileMessageShown();
    }
    StartResult StartCommand(WStr program, WStr parameters) override {
        starts.push_back({std::wstring(program), std::wstring(parameters)});
        return StartResult{nextStart.outcome, nextStart.systemError, Text(nextStart.systemMessage)};
    }
    void EndProcess(int exitCode) override { throw ProgramEnded{exitCode}; }
};

// Records what the set-up does to the window, in order.
class FakeView : public SplashView {
public:
    std::wstring captions[kButtonSlots];
    int lefts[kButtonSlots];
    bool visible[kButtonSlots];
    BackColor backColor{};
    std::wstring picture, icon, caption;
    std::vector<std::wstring> calls;
    // What the next SetPicture, SetIcon or Show gets from the "system".
    ViewResult pictureResult, iconResult, showResult;

    FakeView() {
        for (int i = 0; i < kButtonSlots; ++i) {
            captions[i] = kDesignButtonCaption;
            lefts[i] = kDesignButtonLeft[i];
            visible[i] = true;
        }
    }

    void SetButtonCaption(int i, WStr text) override {
        captions[i] = text;
        calls.push_back(L"caption" + std::to_wstring(i));
    }
    void SetButtonLeft(int i, int left) override {
        lefts[i] = left;
        calls.push_back(L"left" + std::to_wstring(i));
    }
    void SetButtonVisible(int i, bool v) override {
        visible[i] = v;
        calls.push_back(L"visible" + std::to_wstring(i));
    }
    void SetBackColor(const BackColor& c) override {
        backColor = c;
        calls.push_back(L"backcolor");
    }
    ViewResult SetPicture(WStr path) override {
        picture = path;
        calls.push_back(L"picture");
        return pictureResult;
    }
    ViewResult SetIcon(WStr path) override {
        icon = path;
        calls.push_back(L"icon");
        return iconResult;
    }
    ViewResult Show() override {
        calls.push_back(L"show");
        return showResult;
    }
    void SetCaption(WStr text) override {
        caption = text;
        calls.push_back(L"title");
    }
};

inline std::wstring ToStd(WStr text) { return std::wstring(text); }
