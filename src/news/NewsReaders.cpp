#include "news/NewsReaders.h"

#include "core/SystemErrors.h"

namespace pelo::news {

namespace {

const char* const HowToFixAdminRights =
    "HOW TO FIX: if you just installed or updated the MT4 terminal and it was launched by the installer/updater, "
    "simply restart the terminal and try again. Alternative: run Pelo as Administrator.";

}  // namespace

std::string AccessWarningText(std::string_view fullName)
{
    std::string text = "Unable to read news from broker \"";
    text += fullName;
    text += "\"! MT4 terminal is probably running with Administrator privileges.\r\n\r\n";
    text += HowToFixAdminRights;
    return text;
}

std::string NewsTabWarningText(std::string_view fullName)
{
    std::string text = "Could not find news tab for broker \"";
    text += fullName;
    text += "\"! News will not be read from this broker. Make sure the broker platform (terminal.exe) is running.";
    return text;
}

TNewsReaders::TNewsReaders(INewsReaderHost& host, INewsDispatch& dispatch) : host_(host), dispatch_(dispatch) {}

TNewsReaders::~TNewsReaders() { Clear(); }

void TNewsReaders::SetActiveSourceCount(int count)
{
    activeSourceCount_ = count;
    host_.ShowActiveSourceCount(count);
}

TNewsReader& TNewsReaders::CreateReader(const terminals::TMT4TermInfo& terminal)
{
    auto reader = std::make_shared<TNewsReader>(terminal.FullName, terminal.ShortName, terminal.WindowPattern);
    readers_.push_back(reader);

    const WindowHandle terminalWindow = host_.FindTerminalWindow(reader->WindowPattern());
    TNewsListMatch match;
    if (terminalWindow != 0) {
        if (!host_.CanAccessTerminal(terminalWindow)) {
            host_.ShowWarning(AccessWarningText(reader->FullName()));
            return *reader;
        }
        match = host_.FindNewsList(terminalWindow);
    }
    if (match.ListView == 0) {
        host_.ShowWarning(NewsTabWarningText(reader->FullName()));
        return *reader;
    }
    // The list view is recorded only once it can be read: a reader left half-made by an error stays inactive
    // and ignores notifications.
    std::unique_ptr<INewsList> list = host_.OpenNewsList(match.ListView, match.HeadlineColumn);
    reader->AttachList(match.ListView, match.HeadlineColumn, std::move(list));
    const HookHandle hook = host_.InstallNewsHook(match.ListView);
    reader->MarkActive(hook);
    SetActiveSourceCount(activeSourceCount_ + 1);
    return *reader;
}

void TNewsReaders::RunPass(const std::shared_ptr<TNewsReader>& reader)
{
    std::shared_ptr<TNewsReader> keepAlive = reader;
    try {
        keepAlive->ReadNewHeadlines(dispatch_);
    } catch (const EListLost&) {
        // The list will not answer again: the reader ends here, so that the user hears of it once and no later
        // notification waits on that terminal again.
        EndReader(*keepAlive);
        throw;
    }
}

void TNewsReaders::EndReader(TNewsReader& reader)
{
    const bool wasActive = reader.Active();
    const HookHandle hook = reader.Close();
    if (!wasActive)
        return;
    if (hook != 0)
        host_.RemoveNewsHook(hook);
    SetActiveSourceCount(activeSourceCount_ - 1);
}

void TNewsReaders::StartReading(const terminals::TTerminalList& terminals)
{
    SetActiveSourceCount(0);
    std::exception_ptr firstError;
    const unsigned clearsBefore = clearCount_;
    for (const terminals::TMT4TermInfo& terminal : terminals) {
        // A warning box or a first pass's dispatch runs a message loop, in which the user may stop reading.
        if (clearCount_ != clearsBefore)
            break;
        try {
            CreateReader(terminal);
            RunPass(readers_.back());
        } catch (...) {
            if (!firstError)
                firstError = std::current_exception();
        }
    }
    if (firstError)
        std::rethrow_exception(firstError);
}

void TNewsReaders::HandleNewsNotification(std::intptr_t listView)
{
    if (listView < 0)
        return;
    for (const std::shared_ptr<TNewsReader>& reader : readers_) {
        if (reader->ListView() == static_cast<WindowHandle>(listView)) {
            RunPass(reader);
            return;
        }
    }
}

void TNewsReaders::Clear()
{
    // Taken out first: a reader's end may run into a nested message loop that looks at the list.
    ++clearCount_;
    std::vector<std::shared_ptr<TNewsReader>> ending;
    ending.swap(readers_);
    for (const std::shared_ptr<TNewsReader>& reader : ending)
        EndReader(*reader);
}

}  // namespace pelo::news
