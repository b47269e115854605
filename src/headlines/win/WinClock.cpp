#include "headlines/win/WinClock.h"

#include <windows.h>

namespace pelo::headlines {

TLocalTime TWinClock::LocalNow() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

}  // namespace pelo::headlines
