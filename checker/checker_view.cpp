#include "checker_view.h"

#include "launcher/layout.h"
#include "recording_platform.h"

ViewResult DecodeCache::Picture(const std::filesystem::path& file, PictureFacts& facts) {
    auto found = pictures_.find(file);
    if (found == pictures_.end()) {
        Entry entry;
        entry.result = decoder_.DecodePicture(file, entry.facts);
        found = pictures_.emplace(file, entry).first;
    }
    facts = found->second.facts;
    return found->second.result;
}

ViewResult DecodeCache::Icon(const std::filesystem::path& file) {
    auto found = icons_.find(file);
    if (found == icons_.end()) found = icons_.emplace(file, Entry{decoder_.DecodeIcon(file), {}}).first;
    return found->second.result;
}

CheckerView::CheckerView(const Disc& disc, DecodeCache& decoder) : disc_(disc), decoder_(decoder) {
    for (int i = 0; i < kButtonSlots; ++i) {
        state.captions[i] = kDesignButtonCaption;
        state.lefts[i] = kDesignButtonLeft[i];
        state.visible[i] = true;
    }
    state.backColor.value = kDesignBackColor;
}

std::filesystem::path CheckerView::HostFile(WStr path) const {
    const DiscEntry* entry = disc_.Find(path);
    return entry && !entry->directory ? entry->host : std::filesystem::path();
}

namespace {

// The form asks only for files it has seen exist; this keeps the view
// honest should that ever change.
ViewResult NotOnDisc() { return ViewResult{false, 2, Text(L"The system cannot find the file specified.")}; }

}  // namespace

ViewResult CheckerView::SetPicture(WStr path) {
    state.picture = path;
    if (path == WStr(kStandInFile)) return ViewResult{};
    std::filesystem::path file = HostFile(path);
    if (file.empty()) return NotOnDisc();
    ViewResult result = decoder_.Picture(file, state.pictureFacts);
    state.pictureLoaded = result.ok;
    return result;
}

ViewResult CheckerView::SetIcon(WStr path) {
    state.icon = path;
    std::filesystem::path file = HostFile(path);
    if (file.empty()) return NotOnDisc();
    return decoder_.Icon(file);
}
