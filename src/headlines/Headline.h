#pragma once
// One headline as a news reader hands it to the dispatch.
#include <string>

namespace pelo::headlines {

// A reader's batch never holds more than this many headlines (index 0 newest).
inline constexpr int MaxHeadlineBatch = 200;

struct THeadline {
    std::string Text;        // 8-bit text in the system code page, at most 255 characters
    bool Duplicate = false;  // the duplicate filter has seen this text recently, from any terminal
};

}  // namespace pelo::headlines
