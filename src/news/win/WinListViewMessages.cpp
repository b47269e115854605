#include "news/win/WinListViewMessages.h"

#include <commctrl.h>

#include <cstdint>

#include "news/ListViewRecords.h"
#include "core/win/WinOSError.h"

namespace pelo::news {

namespace {

// LVITEMA from mask to iIndent and LVCOLUMNA from mask to iOrder, laid out for this build's pointer size.
struct NativeListItem {
    UINT mask;
    int iItem;
    int iSubItem;
    UINT state;
    UINT stateMask;
    LPSTR pszText;
    int cchTextMax;
    int iImage;
    LPARAM lParam;
    int iIndent;
};

struct NativeListColumn {
    UINT mask;
    int fmt;
    int cx;
    LPSTR pszText;
    int cchTextMax;
    int iSubItem;
    int iImage;
    int iOrder;
};

static_assert(sizeof(void*) == 8 || (sizeof(NativeListItem) == TListItemRecord::Size &&
                                     sizeof(NativeListColumn) == TListColumnRecord::Size),
              "the 32-bit records are the native ones of a 32-bit build");
static_assert(sizeof(void*) == 4 || (sizeof(NativeListItem) == 56 && sizeof(NativeListColumn) == 40),
              "64-bit layouts of LVITEMA and LVCOLUMNA up to iIndent and iOrder");

[[maybe_unused]] LPSTR ToPointer(std::uint32_t address)
{
    return reinterpret_cast<LPSTR>(static_cast<std::uintptr_t>(address));
}

}  // namespace

LRESULT SendToTerminal(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR answer = 0;
    SetLastError(ERROR_SUCCESS);
    if (SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, ListAnswerTimeoutMs, &answer) != 0)
        return static_cast<LRESULT>(answer);
    DWORD code = GetLastError();
    if (!IsWindow(window))
        code = ERROR_INVALID_WINDOW_HANDLE;
    else if (code == ERROR_SUCCESS)
        code = ERROR_TIMEOUT;  // a hung thread is given up on without a code of its own
    const bool hung = code != ERROR_INVALID_WINDOW_HANDLE;
    throw EListLost(code, SystemErrorDescription(code), hung);
}

int WinListViewMessages::GetNextItem(int start)
{
    return static_cast<int>(SendToTerminal(listView_, LVM_GETNEXTITEM, static_cast<WPARAM>(start),
                                           MAKELPARAM(LVNI_ALL, 0)));
}

#if UINTPTR_MAX > 0xFFFFFFFFu

void WinListViewMessages::GetItemText(int row, RemoteAddress itemRecord)
{
    if (nativeItem_ == 0 || nativeItemSource_ != itemRecord) {
        TListItemRecord::Bytes bytes{};
        memory_.ReadMem(itemRecord, bytes.data(), bytes.size());
        const TListItemRecord r = TListItemRecord::Decode(bytes);
        const NativeListItem native{r.Mask, r.Item, r.SubItem, r.State, r.StateMask, ToPointer(r.Text),
                                    r.TextMax, r.Image, static_cast<LPARAM>(r.Param), r.Indent};
        if (nativeItem_ == 0)
            nativeItem_ = memory_.AllocMem(sizeof native);
        memory_.WriteMem(&native, nativeItem_, sizeof native);
        nativeItemSource_ = itemRecord;
    }
    SendToTerminal(listView_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), static_cast<LPARAM>(nativeItem_));
}

bool WinListViewMessages::GetColumn(int index, RemoteAddress columnRecord)
{
    TListColumnRecord::Bytes bytes{};
    memory_.ReadMem(columnRecord, bytes.data(), bytes.size());
    TListColumnRecord r = TListColumnRecord::Decode(bytes);
    NativeListColumn native{r.Mask, r.Format, r.Width, ToPointer(r.Text), r.TextMax, r.SubItem, r.Image, r.Order};
    if (nativeColumn_ == 0)
        nativeColumn_ = memory_.AllocMem(sizeof native);
    memory_.WriteMem(&native, nativeColumn_, sizeof native);
    if (SendToTerminal(listView_, LVM_GETCOLUMNA, static_cast<WPARAM>(index), static_cast<LPARAM>(nativeColumn_)) ==
        0)
        return false;
    memory_.ReadMem(nativeColumn_, &native, sizeof native);
    r.Mask = native.mask;
    r.Format = native.fmt;
    r.Width = native.cx;
    r.Text = ToRecordAddress(reinterpret_cast<RemoteAddress>(native.pszText));
    r.TextMax = native.cchTextMax;
    r.SubItem = native.iSubItem;
    r.Image = native.iImage;
    r.Order = native.iOrder;
    bytes = r.Encode();
    memory_.WriteMem(bytes.data(), columnRecord, bytes.size());
    return true;
}

#else

void WinListViewMessages::GetItemText(int row, RemoteAddress itemRecord)
{
    SendToTerminal(listView_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), static_cast<LPARAM>(itemRecord));
}

bool WinListViewMessages::GetColumn(int index, RemoteAddress columnRecord)
{
    return SendToTerminal(listView_, LVM_GETCOLUMNA, static_cast<WPARAM>(index),
                          static_cast<LPARAM>(columnRecord)) != 0;
}

#endif

}  // namespace pelo::news
