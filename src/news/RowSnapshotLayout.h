#pragma once
// The shared area through which the hook library hands the program the rows of a news list, read inside the
// terminal on the list view's own thread: one cross-process call per pass instead of several per row.
//
// The program owns the area (an unnamed section it maps into its own process and, once per reader, into the
// terminal's through the hook). Before each pass it writes a request (sequence number, row limit, headline column,
// the text to stop at) and sends the list view one message; the hook walks the rows from the top exactly as the
// program's own pass would, writes what it saw and sets the answer's sequence last. Whatever the area holds when
// the program looks at it is untrusted: it is copied out and checked before any of it is used.
//
// This header is all the hook library takes from the program's sources: fixed offsets, little-endian 32-bit
// fields, no allocation, no exceptions. Everything here runs inside the trader's terminal.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace pelo::news::rows {

inline constexpr std::uint32_t AreaSize = 0x10000;
inline constexpr std::uint32_t Magic = 0x414E5350;  // "PSNA"
inline constexpr std::uint32_t Version = 1;
// The terminal's list view is asked for at most this many bytes of a row, the NUL included.
inline constexpr std::uint32_t TextCapacity = 256;
inline constexpr std::uint32_t NoStopText = 0xFFFFFFFFu;

// wParam values of the program's registered message when sent to an armed list view (12345 arms it).
inline constexpr std::uintptr_t AttachAreaCode = 12346;  // lParam: the section's handle in the terminal
inline constexpr std::uintptr_t ReadRowsCode = 12347;    // lParam: the request's sequence number

// Offsets of the fields.
enum Field : std::uint32_t {
    MagicField = 0,
    VersionField = 4,
    AttachedField = 8,  // the hook's version, once it has taken the area for this list
    RequestSequenceField = 12,
    MaxRowsField = 16,
    HeadlineColumnField = 20,
    StopLengthField = 24,  // NoStopText, or the stop text's length (at most TextCapacity)
    StopTextField = 28,
    AnswerSequenceField = StopTextField + TextCapacity,
    WalkEndField = AnswerSequenceField + 4,
    EndAnswerField = WalkEndField + 4,  // the list's answer that ended the walk, when it ended at the list's end
    RowCountField = EndAnswerField + 4,
    RowBytesField = RowCountField + 4,
    RowsField = RowBytesField + 4,
};
inline constexpr std::uint32_t RowsCapacity = AreaSize - RowsField;
// Each row: its index (int32), its text's length (uint32), the text, padded to 4 bytes.
inline constexpr std::uint32_t RowHeaderSize = 8;

// Why the walk ended.
enum class WalkEnd : std::uint32_t {
    ListEnd = 1,   // the list answered no next row (or one above the last): EndAnswer holds that answer
    StopText = 2,  // the last row holds the stop text
    RowLimit = 3,  // MaxRows rows taken; the list may go on
    AreaFull = 4,  // the next row would not fit; the list may go on
};

inline std::uint32_t PaddedRowSize(std::uint32_t textLength)
{
    return RowHeaderSize + ((textLength + 3u) & ~3u);
}

inline std::uint32_t LoadU32(const volatile std::uint8_t* area, std::uint32_t offset)
{
    return static_cast<std::uint32_t>(area[offset]) | static_cast<std::uint32_t>(area[offset + 1]) << 8 |
           static_cast<std::uint32_t>(area[offset + 2]) << 16 | static_cast<std::uint32_t>(area[offset + 3]) << 24;
}

inline void StoreU32(volatile std::uint8_t* area, std::uint32_t offset, std::uint32_t value)
{
    area[offset] = static_cast<std::uint8_t>(value);
    area[offset + 1] = static_cast<std::uint8_t>(value >> 8);
    area[offset + 2] = static_cast<std::uint8_t>(value >> 16);
    area[offset + 3] = static_cast<std::uint8_t>(value >> 24);
}

// An area the program prepared: the hook writes into nothing else, whatever section it was handed.
inline bool IsProgramArea(const volatile std::uint8_t* area)
{
    return LoadU32(area, MagicField) == Magic && LoadU32(area, VersionField) == Version;
}

// The request as the hook reads it, copied out of the area before the walk.
struct WalkRequest {
    std::uint32_t Sequence = 0;
    std::uint32_t MaxRows = 0;
    std::int32_t HeadlineColumn = 0;
    bool HasStopText = false;
    std::uint32_t StopLength = 0;
    char StopText[TextCapacity] = {};
};

// False when the area holds no request for `sequence` or one that does not check out.
inline bool ReadWalkRequest(const volatile std::uint8_t* area, std::uint32_t sequence, WalkRequest& request)
{
    if (!IsProgramArea(area) || LoadU32(area, RequestSequenceField) != sequence)
        return false;
    request.Sequence = sequence;
    request.MaxRows = LoadU32(area, MaxRowsField);
    request.HeadlineColumn = static_cast<std::int32_t>(LoadU32(area, HeadlineColumnField));
    const std::uint32_t stopLength = LoadU32(area, StopLengthField);
    request.HasStopText = stopLength != NoStopText;
    if (request.HasStopText) {
        if (stopLength > TextCapacity)
            return false;
        request.StopLength = stopLength;
        for (std::uint32_t i = 0; i < stopLength; ++i)
            request.StopText[i] = static_cast<char>(area[StopTextField + i]);
    }
    return true;
}

// Walks a list from the top the way the program's reading pass does and writes what it sees into the area.
// `Rows` offers `int NextRow(int row)` (LVM_GETNEXTITEM: -1 asks for the first row) and
// `void RowText(int row, char (&text)[TextCapacity])` (LVM_GETITEMTEXTA into that buffer). The buffer is one for
// the whole walk, as the program's remote text buffer is one for all rows.
template <class Rows>
void WalkRows(Rows& rows, const WalkRequest& request, volatile std::uint8_t* area)
{
    char text[TextCapacity] = {};
    std::uint32_t count = 0;
    std::uint32_t used = 0;
    WalkEnd end = WalkEnd::RowLimit;
    std::int32_t endAnswer = -1;
    int row = rows.NextRow(-1);
    if (row < 0) {
        end = WalkEnd::ListEnd;
        endAnswer = row;
    }
    while (row >= 0) {
        if (count >= request.MaxRows) {
            end = WalkEnd::RowLimit;
            break;
        }
        rows.RowText(row, text);
        std::uint32_t length = 0;
        while (length < TextCapacity && text[length] != '\0')
            ++length;
        const std::uint32_t size = PaddedRowSize(length);
        if (size > RowsCapacity - used) {
            end = WalkEnd::AreaFull;
            break;
        }
        const std::uint32_t at = RowsField + used;
        StoreU32(area, at, static_cast<std::uint32_t>(row));
        StoreU32(area, at + 4, length);
        for (std::uint32_t i = 0; i < length; ++i)
            area[at + RowHeaderSize + i] = static_cast<std::uint8_t>(text[i]);
        used += size;
        ++count;
        if (request.HasStopText && length == request.StopLength &&
            std::memcmp(text, request.StopText, length) == 0) {
            end = WalkEnd::StopText;
            break;
        }
        const int next = rows.NextRow(row);
        if (next <= row) {
            end = WalkEnd::ListEnd;
            endAnswer = next;
            break;
        }
        row = next;
    }
    StoreU32(area, WalkEndField, static_cast<std::uint32_t>(end));
    StoreU32(area, EndAnswerField, static_cast<std::uint32_t>(endAnswer));
    StoreU32(area, RowCountField, count);
    StoreU32(area, RowBytesField, used);
    // Last: until this is written the program takes the area for no answer at all.
    __atomic_thread_fence(__ATOMIC_RELEASE);
    StoreU32(area, AnswerSequenceField, request.Sequence);
}

}  // namespace pelo::news::rows
