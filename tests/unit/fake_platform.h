// An in-memory stand-in for the system: a configuration file as a table, a
// set of existing files, and a record of messages and starts.
#pragma once

#include <algorithm>
#include <cwctype>
#include <map>
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
        bool elevate = false;
    };
    std::vector<Start> starts;
    StartResult nextStart{StartOutcome::Started, 0, Text()};
    std::vector<std::wstring> reads;   // "SECTION/Key" in order
    std::wstring language;             // the user's UI language tag; empty: none
    // The machine that "Requires" conditions see.
    Architecture architecture = Architecture::X64;
    WindowsVersion windowsVersion{10, 0, 19045};
    std::set<std::wstring> existingPaths;   // lower-cased, as written in the condition

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
    void ShowErrorMessage(WStr text) override { messages.emplace_back(text); }
    Text UserLanguage() override { return Text(language); }
    Architecture NativeArchitecture() override { return architecture; }
    WindowsVersion RealWindowsVersion() override { return windowsVersion; }
    bool PathExists(WStr path) override { return existingPaths.count(Lower(std::wstring(path))) > 0; }
    StartResult StartCommand(WStr program, WStr parameters, bool elevate) override {
        starts.push_back({std::wstring(program), std::wstring(parameters), elevate});
        return StartResult{nextStart.outcome, nextStart.systemError, Text(nextStart.systemMessage)};
    }
    void EndProcess(int exitCode) override { throw ProgramEnded{exitCode}; }
};

// Records what the set-up does to the window, in order.
class FakeView : public SplashView {
public:
    std::wstring captions[kButtonSlots];
    std::wstring tips[kButtonSlots];
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
    void SetButtonTip(int i, WStr text) override {
        tips[i] = text;
        calls.push_back(L"tip" + std::to_wstring(i));
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
