#include "news/NewsReader.h"

#include <algorithm>

namespace pelo::news {

TNewsReader::TNewsReader(std::string fullName, std::string shortName, std::string windowPattern)
    : fullName_(std::move(fullName)), shortName_(std::move(shortName)), windowPattern_(std::move(windowPattern))
{
    batch_.reserve(headlines::MaxHeadlineBatch);
    seenTexts_.reserve(headlines::MaxHeadlineBatch);
}

TNewsReader::~TNewsReader() = default;

void TNewsReader::AttachList(WindowHandle listView, int headlineColumn, std::unique_ptr<INewsList> list)
{
    listView_ = listView;
    headlineColumn_ = headlineColumn;
    list_ = std::move(list);
}

void TNewsReader::MarkActive(HookHandle hook)
{
    hook_ = hook;
    active_ = true;
}

HookHandle TNewsReader::Close()
{
    closed_ = true;
    active_ = false;
    passRequested_ = false;
    list_.reset();
    const HookHandle hook = hook_;
    hook_ = 0;
    return hook;
}

void TNewsReader::ReadNewHeadlines(INewsDispatch& dispatch)
{
    if (passRunning_) {
        // Called from inside our own dispatch: starting now would overwrite the batch being dispatched.
        passRequested_ = true;
        return;
    }
    passRunning_ = true;
    struct PassEnd {
        TNewsReader& reader;
        ~PassEnd() { reader.passRunning_ = false; }
    } passEnd{*this};
    try {
        bool again = true;
        readByPreviousPass_.clear();
        while (again && !closed_) {
            passRequested_ = false;
            const bool repeatSeen = ReadOnePass(dispatch);
            again = repeatSeen || passRequested_;
            if (repeatSeen)
                readByPreviousPass_.swap(seenTexts_);
            else
                readByPreviousPass_.clear();
        }
        readByPreviousPass_.clear();
    } catch (...) {
        readByPreviousPass_.clear();
        // The failure reaches the user once; a notification queued behind it would only fail the same way.
        passRequested_ = false;
        throw;
    }
}

bool TNewsReader::ReadOnePass(INewsDispatch& dispatch)
{
    if (listView_ == 0 || !list_)
        return false;
    batch_.clear();
    seenTexts_.clear();
    bool readAgain = false;
    std::optional<std::string> newTopText;
    const int history = std::clamp(dispatch.HistMT4HBuffer(), 0, headlines::MaxHeadlineBatch);
    // The first pass stops after the history (or, with none, after noting the top row); later ones at the
    // remembered top or after a full batch.
    const int rowsWanted = firstPass_ ? std::max(history, 1) : headlines::MaxHeadlineBatch;
    if (list_->BeginPass(lastTopText_, rowsWanted))
        ++inTerminalPasses_;
    else
        ++remotePasses_;

    int row = list_->NextRow(-1);
    while (row >= 0 && BatchCount() < headlines::MaxHeadlineBatch) {
        if (firstPass_ && BatchCount() >= history) {
            // With no history wanted the first pass still notes the top row, so that the rows listed before
            // reading started are not taken for news by the next pass.
            if (history == 0 && row == 0)
                lastTopText_ = list_->RowText(row);
            break;
        }
        std::string text = list_->RowText(row);
        if (lastTopText_ && text == *lastTopText_)
            break;
        if (row == 0)
            newTopText = text;
        if (std::find(seenTexts_.rbegin(), seenTexts_.rend(), text) != seenTexts_.rend()) {
            readAgain = true;
        } else if (std::find(readByPreviousPass_.begin(), readByPreviousPass_.end(), text) !=
                   readByPreviousPass_.end()) {
            // Handed on by the pass just before; counts neither as new nor as a repeat of this pass.
        } else {
            seenTexts_.push_back(text);
            const bool duplicate = dispatch.NoDuplicates() && dispatch.CheckDuplicate(text);
            batch_.push_back(headlines::THeadline{std::move(text), duplicate});
        }
        // Rows only ever come further down. A list whose window has gone answers 0 to everything, and the text
        // buffer still holds the last text read: following such an answer would read that text forever.
        const int next = list_->NextRow(row);
        if (next <= row)
            break;
        row = next;
    }

    if (!batch_.empty()) {
        try {
            dispatch.DispatchHeadlines(*this);
        } catch (...) {
            // The rows have been handed on; reading them again would show and log them twice.
            lastTopText_ = std::move(newTopText);
            firstPass_ = false;
            throw;
        }
        lastTopText_ = std::move(newTopText);
    }
    firstPass_ = false;
    return readAgain;
}

}  // namespace pelo::news
