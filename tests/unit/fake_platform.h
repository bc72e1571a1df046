// An in-memory stand-in for the system: a configuration file as a table, a
// set of existing files, and a record of messages and starts.
#pragma once

#include <algorithm>
#include <cwctype>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "launcher/platform.h"
#include "window/splash_view.h"

// The program ending; thrown so a test can see where and how it ended.
struct ProgramEnded {
    int exitCode;
};

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
    std::vector<std::wstring> messages;
    struct Start {
        std::wstring program, parameters;
    };
    std::vector<Start> starts;
    StartResult nextStart{StartOutcome::Started, 0, Text()};
    std::vector<std::wstring> reads;   // "SECTION/Key" in order

    void Set(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
        ini[Lower(section)][Lower(key)] = value;
    }
    void AddFile(const std::wstring& path) { files.insert(Lower(path)); }

    Text CurrentDirectory() override { return Text(currentDirectory); }
    Text ExecutableBaseName() override { return Text(exeBaseName); }
    bool FileExists(WStr path) override { return files.count(Lower(std::wstring(path))) > 0; }
    std::uint32_t ReadProfileString(WStr, WStr section, WStr key, wchar_t* buffer, std::uint32_t size) override {
        reads.push_back(std::wstring(section) + L"/" + std::wstring(key));
        std::wstring value;
        auto s = ini.find(Lower(std::wstring(section)));
        if (s != ini.end()) {
            auto k = s->second.find(Lower(std::wstring(key)));
            if (k != s->second.end()) value = k->second;
        }
        std::uint32_t count = std::min<std::uint32_t>(static_cast<std::uint32_t>(value.size()), size - 1);
        std::copy_n(value.data(), count, buffer);
        buffer[count] = L'\0';
        return count;
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
    std::wstring captions[kButtonSlots] = {L"Command1", L"Command1", L"Command1", L"Command1", L"Command1"};
    int lefts[kButtonSlots] = {30, 1470, 2910, 4350, 5790};
    bool visible[kButtonSlots] = {true, true, true, true, true};
    BackColor backColor{};
    std::wstring picture, icon, caption;
    std::vector<std::wstring> calls;

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
    void SetPicture(WStr path, const ValueOrigin&) override {
        picture = path;
        calls.push_back(L"picture");
    }
    void SetIcon(WStr path, const ValueOrigin&) override {
        icon = path;
        calls.push_back(L"icon");
    }
    void SetCaption(WStr text) override {
        caption = text;
        calls.push_back(L"title");
    }
};

inline std::wstring ToStd(WStr text) { return std::wstring(text); }
