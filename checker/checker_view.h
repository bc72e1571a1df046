// The launcher's window for the checker: it keeps what the form sets and
// has the picture and icon decoded, the one part of dressing the window
// that can fail.
#pragma once

#include <map>
#include <string>

#include "disc.h"
#include "launcher/splash_view.h"
#include "picture_decoder.h"

// Decoding the same file again for every simulated click would only cost time.
class DecodeCache {
public:
    explicit DecodeCache(PictureDecoder& decoder) : decoder_(decoder) {}
    ViewResult Picture(const std::filesystem::path& file, PictureFacts& facts);
    ViewResult Icon(const std::filesystem::path& file);

private:
    struct Entry {
        ViewResult result;
        PictureFacts facts;
    };
    PictureDecoder& decoder_;
    std::map<std::filesystem::path, Entry> pictures_, icons_;
};

struct ViewState {
    std::wstring captions[kButtonSlots];
    int lefts[kButtonSlots] = {};
    bool visible[kButtonSlots] = {};
    BackColor backColor{};
    std::wstring picture, icon, title;   // as the form passed them
    PictureFacts pictureFacts;
    bool pictureLoaded = false;
    bool shown = false;
};

class CheckerView final : public SplashView {
public:
    CheckerView(const Disc& disc, DecodeCache& decoder);

    void SetButtonCaption(int index, WStr caption) override { state.captions[index] = caption; }
    void SetButtonLeft(int index, int leftTwips) override { state.lefts[index] = leftTwips; }
    void SetButtonVisible(int index, bool visible) override { state.visible[index] = visible; }
    void SetBackColor(const BackColor& color) override { state.backColor = color; }
    ViewResult SetPicture(WStr path) override;
    ViewResult SetIcon(WStr path) override;
    void SetCaption(WStr caption) override { state.title = caption; }
    ViewResult Show() override {
        state.shown = true;
        return ViewResult{};
    }

    ViewState state;

private:
    // The file a path of the INI names on the disc; empty when none.
    std::filesystem::path HostFile(WStr path) const;

    const Disc& disc_;
    DecodeCache& decoder_;
};
