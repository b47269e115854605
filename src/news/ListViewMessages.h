#pragma once
// The three list-view messages the news intake sends to a terminal's list view. The Win32 layer implements each
// as one message sent with a bounded wait; the records they point at live in the terminal's memory (see
// ProcessMemMgr.h). Each raises EListLost (SystemErrors.h) when the window is gone or its thread does not answer.
#include <cstdint>

#include "news/RemoteAddress.h"

namespace pelo::news {

class IListViewMessages {
public:
    virtual ~IListViewMessages() = default;

    // LVM_GETNEXTITEM with wParam `start` (-1: from the beginning) and LVNI_ALL; the row index or -1.
    virtual int GetNextItem(int start) = 0;
    // LVM_GETITEMTEXTA for `row` with the item record at `itemRecord`; the answer is not needed.
    virtual void GetItemText(int row, RemoteAddress itemRecord) = 0;
    // LVM_GETCOLUMNA for column `index` with the column record at `columnRecord`; false when the list answers 0.
    virtual bool GetColumn(int index, RemoteAddress columnRecord) = 0;
};

// A record field can hold only a 32-bit address: the terminal is a 32-bit process.
std::uint32_t ToRecordAddress(RemoteAddress address);

}  // namespace pelo::news
