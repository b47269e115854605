#pragma once
// The news readers' dispatch over the main window's headline core: settings are read afresh for every call, so
// a change in the options dialog applies to the next batch.
#include "core/AppSettings.h"
#include "headlines/HeadlineCore.h"
#include "news/NewsReader.h"

namespace pelo::news {

class HeadlineCoreDispatch final : public INewsDispatch {
public:
    HeadlineCoreDispatch(THeadlineCore& core, const AppSettings& settings) : core_(core), settings_(settings) {}

    int HistMT4HBuffer() override { return settings_.HistMT4HBuffer; }
    bool NoDuplicates() override { return settings_.NoDuplicates; }
    bool CheckDuplicate(const std::string& text) override { return core_.DupCache.CheckDuplicate(text); }
    void DispatchHeadlines(const TNewsReader& reader) override
    {
        THeadlineSettings s;
        s.DisplayHeadlines = settings_.DisplayHeadlines;
        s.NoDuplicates = settings_.NoDuplicates;
        s.LogHeadlines = settings_.LogHeadlines;
        s.AltTimeFormat = settings_.AltTimeFormat;
        core_.Dispatcher.DispatchHeadlines(reader.Batch(), reader.ShortName(), reader.FirstPass(), s);
    }

private:
    THeadlineCore& core_;
    const AppSettings& settings_;
};

}  // namespace pelo::news
