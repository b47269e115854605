#pragma once
// One terminal's news reader: the state of its reading passes and the pass itself.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "headlines/Headline.h"
#include "news/NewsList.h"
#include "news/NewsListDiscovery.h"

namespace pelo::news {

class TNewsReader;

// What a reading pass hands on: the settings it obeys, the duplicate filter and the dispatch of its batch.
class INewsDispatch {
public:
    virtual ~INewsDispatch() = default;
    // Older headlines taken in a reader's first pass (0 to 200).
    virtual int HistMT4HBuffer() = 0;
    virtual bool NoDuplicates() = 0;
    // True when `text` was seen recently; otherwise it is remembered from now on.
    virtual bool CheckDuplicate(const std::string& text) = 0;
    // The reader's batch (index 0 newest), its short name and first-pass flag are read from `reader`.
    // May run a nested message loop, and so a notification for this or any other reader.
    virtual void DispatchHeadlines(const TNewsReader& reader) = 0;
};

using HookHandle = std::uintptr_t;

class TNewsReader {
public:
    TNewsReader(std::string fullName, std::string shortName, std::string windowPattern);
    ~TNewsReader();
    TNewsReader(const TNewsReader&) = delete;
    TNewsReader& operator=(const TNewsReader&) = delete;

    const std::string& FullName() const { return fullName_; }
    const std::string& ShortName() const { return shortName_; }
    const std::string& WindowPattern() const { return windowPattern_; }

    bool FirstPass() const { return firstPass_; }
    bool Active() const { return active_; }
    WindowHandle ListView() const { return listView_; }
    int HeadlineColumn() const { return headlineColumn_; }
    HookHandle Hook() const { return hook_; }
    // The text of the list's top row when the last pass that found something ended; nothing before that.
    const std::optional<std::string>& LastTopText() const { return lastTopText_; }

    // The headlines of the current pass, index 0 being the list's top row.
    std::span<const headlines::THeadline> Batch() const { return batch_; }
    int BatchCount() const { return static_cast<int>(batch_.size()); }

    // Reads the rows that are new since the last pass and dispatches them. A call made while a pass of this
    // reader is dispatching (from a nested message loop) is carried out once that pass has ended.
    void ReadNewHeadlines(INewsDispatch& dispatch);
    bool PassRunning() const { return passRunning_; }
    // Passes whose rows were read inside the terminal in one go, and passes that asked for them row by row.
    int InTerminalPasses() const { return inTerminalPasses_; }
    int RemotePasses() const { return remotePasses_; }

    // Set up by the creation steps (TNewsReaders): the list found and the reading interface to it.
    void AttachList(WindowHandle listView, int headlineColumn, std::unique_ptr<INewsList> list);
    void MarkActive(HookHandle hook);
    // Ends reading: no later pass reads anything, the list and its remote memory are released at once.
    // Returns the hook to remove (0 when none).
    HookHandle Close();

private:
    // One pass; true when the pass asks for another one at once (a text repeated within the pass).
    bool ReadOnePass(INewsDispatch& dispatch);

    std::string fullName_;
    std::string shortName_;
    std::string windowPattern_;
    bool firstPass_ = true;
    bool active_ = false;
    bool closed_ = false;
    WindowHandle listView_ = 0;
    int headlineColumn_ = 0;
    HookHandle hook_ = 0;
    std::unique_ptr<INewsList> list_;
    std::optional<std::string> lastTopText_;
    std::vector<headlines::THeadline> batch_;
    std::vector<std::string> seenTexts_;
    // Texts the previous pass read, kept for the pass that its repeated text started at once. A repeat within a
    // pass means rows were inserted on top while the pass walked down, so some of them were read and dispatched
    // already and now stand above the recorded top: reading them again would hand the same headline on twice.
    std::vector<std::string> readByPreviousPass_;
    bool passRunning_ = false;
    bool passRequested_ = false;
    int inTerminalPasses_ = 0;
    int remotePasses_ = 0;
};

}  // namespace pelo::news
