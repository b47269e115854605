#include "news/win/NewsIntake.h"

#include "news/win/WinNewsReaderHost.h"

namespace pelo::news {

NewsIntake::NewsIntake(INewsDispatch& dispatch, const NewsIntakeConfig& config)
    : host_(std::make_unique<WinNewsReaderHost>(config)),
      readers_(std::make_unique<TNewsReaders>(*host_, dispatch))
{
    // The label follows whatever callback the owner sets, also one set after construction.
    host_->OnActiveSourceCount = [this](int count) {
        if (OnActiveSourceCount)
            OnActiveSourceCount(count);
    };
}

NewsIntake::~NewsIntake()
{
    // The readers remove their hooks through the host: they go first.
    readers_.reset();
}

void NewsIntake::StartReading(const terminals::TTerminalList& terminals)
{
    readers_->Clear();
    readers_->StartReading(terminals);
}

void NewsIntake::StopReading() { readers_->Clear(); }

void NewsIntake::OnNewsNotification(LPARAM lParam) { readers_->HandleNewsNotification(lParam); }

int NewsIntake::ActiveSourceCount() const { return readers_->ActiveSourceCount(); }

bool NewsIntake::Reading() const { return readers_->Count() != 0; }

int NewsIntake::InTerminalPasses() const
{
    int passes = 0;
    for (std::size_t i = 0; i < readers_->Count(); ++i)
        passes += readers_->Reader(i).InTerminalPasses();
    return passes;
}

int NewsIntake::RemotePasses() const
{
    int passes = 0;
    for (std::size_t i = 0; i < readers_->Count(); ++i)
        passes += readers_->Reader(i).RemotePasses();
    return passes;
}

}  // namespace pelo::news
