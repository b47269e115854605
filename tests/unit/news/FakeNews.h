#pragma once
// A news list whose rows the test controls, and a dispatch that records what it is handed.
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "news/NewsReader.h"
#include "core/SystemErrors.h"

namespace pelo::news::test {

class FakeNewsList final : public INewsList {
public:
    explicit FakeNewsList(std::vector<std::string>* rows) : rows_(rows) {}

    int NextRow(int row) override
    {
        ThrowIfLost();
        ++nextRowCalls;
        if (nextRow)
            return nextRow(row);
        return row + 1 < static_cast<int>(rows_->size()) ? row + 1 : -1;
    }
    std::string RowText(int row) override
    {
        ThrowIfLost();
        if (failReads)
            throw std::runtime_error("terminal gone");
        readRows.push_back(row);
        if (beforeRead)
            beforeRead(row);
        return rows_->at(static_cast<std::size_t>(row));
    }

    std::vector<int> readRows;
    // Runs before a row's text is taken: the terminal may insert rows between two of our requests.
    std::function<void(int row)> beforeRead;
    bool failReads = false;
    // Answers in place of the list's own order (a list whose window is gone answers 0 to everything).
    std::function<int(int row)> nextRow;
    int nextRowCalls = 0;
    // Nonzero: every request fails as for a list that is lost (1400 window gone, 1460 terminal hung).
    std::uint32_t lostCode = 0;

private:
    void ThrowIfLost() const
    {
        if (lostCode != 0)
            throw EListLost(lostCode, "list lost", lostCode == 1460);
    }

    std::vector<std::string>* rows_;
};

// New rows go on top, as the terminal lists them.
inline void AddNewestRows(std::vector<std::string>& rows, const std::vector<std::string>& oldestFirst)
{
    for (const std::string& text : oldestFirst)
        rows.insert(rows.begin(), text);
}

struct DispatchedBatch {
    std::string source;
    bool firstPass;
    std::vector<std::string> texts;  // index 0 newest
    std::vector<bool> duplicates;
};

class FakeDispatch final : public INewsDispatch {
public:
    int HistMT4HBuffer() override { return history; }
    bool NoDuplicates() override { return noDuplicates; }
    bool CheckDuplicate(const std::string& text) override
    {
        ++duplicateChecks;
        return !seen.insert(text).second;
    }
    void DispatchHeadlines(const TNewsReader& reader) override
    {
        DispatchedBatch batch{reader.ShortName(), reader.FirstPass(), {}, {}};
        for (const headlines::THeadline& h : reader.Batch()) {
            batch.texts.push_back(h.Text);
            batch.duplicates.push_back(h.Duplicate);
        }
        batches.push_back(batch);
        if (onDispatch)
            onDispatch(reader);
    }

    int history = 30;
    bool noDuplicates = false;
    int duplicateChecks = 0;
    std::set<std::string> seen;
    std::vector<DispatchedBatch> batches;
    std::function<void(const TNewsReader&)> onDispatch;
};

inline std::vector<std::string> Numbered(const std::string& prefix, int from, int to)
{
    std::vector<std::string> texts;
    for (int i = from; i <= to; ++i)
        texts.push_back(prefix + std::to_string(i));
    return texts;
}

}  // namespace pelo::news::test
