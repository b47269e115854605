#pragma once
// Recognising a terminal's news list by its column titles. The terminal shows "Time" and "Headline" in the
// language of its user interface; the titles are compared as the 8-bit bytes the ANSI column message returns.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "news/ListViewMessages.h"

namespace pelo::news {

class TProcessMemMgr;

struct TNewsColumnTitlePair {
    std::string_view Time;
    std::string_view Headline;
    // Windows code page in which the non-ASCII titles are encoded; 0 when both titles are plain ASCII.
    std::uint16_t CodePage;
};

inline constexpr std::size_t NewsColumnTitlePairCount = 29;
extern const std::array<TNewsColumnTitlePair, NewsColumnTitlePairCount> NewsColumnTitles;

// The index (0 or 1) of the headline column when a list with `columnCount` columns whose first two titles are
// `title0` and `title1` is a news list; nothing otherwise. Only lists of two or three columns qualify.
std::optional<int> MatchNewsColumns(int columnCount, std::string_view title0, std::string_view title1);

// Asks the list view for its columns through `memory` (a manager for the list view's process) and matches them.
// Errors of the memory manager propagate.
std::optional<int> CheckNewsColumns(TProcessMemMgr& memory, IListViewMessages& listView);

}  // namespace pelo::news
