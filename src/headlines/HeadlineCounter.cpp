#include "headlines/HeadlineCounter.h"

namespace pelo::headlines {

void THeadlineCounter::Add(int headlines)
{
    Count += headlines;
    if (Count >= WrapAt || Count < 0)
        Count = 0;
    Changed();
}

void THeadlineCounter::Reset()
{
    Count = 0;
    Changed();
}

void THeadlineCounter::Changed()
{
    if (OnChanged)
        OnChanged(Count);
}

}  // namespace pelo::headlines
