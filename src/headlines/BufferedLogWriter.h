#pragma once
// Buffered writer of the headline log: lines are collected in memory and handed to the
// file system once per buffer-full, not once per line.
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "headlines/LogFileSystem.h"

namespace pelo::headlines {

class EBufferedLogWriter : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr std::int32_t DefaultLogBufferSize = 4096;

inline constexpr const char* AllocBufferOutOfMemoryText =
    "TBufferedLogWriter.Create: AllocBuffer out of memory";
inline constexpr const char* DeleteEmptyLogFailedText = "Error deleting (empty) log file!";
inline constexpr const char* WriteLogFailedText =
    "Error writing log file! The disk may be full. New lines are kept in memory and written as soon "
    "as the file takes them again.";
// Lines that wait for a file that refuses them, at most (beyond it new lines are dropped).
inline constexpr std::size_t DefaultLogBacklogLimit = 1024 * 1024;

class TBufferedLogWriter {
public:
    // Raises EBufferedLogWriter when the buffer cannot be allocated.
    explicit TBufferedLogWriter(ILogFileSystem& files, std::int32_t bufferSize = DefaultLogBufferSize);
    // Closes the file (writing what is buffered, deleting it when empty).
    ~TBufferedLogWriter();
    TBufferedLogWriter(const TBufferedLogWriter&) = delete;
    TBufferedLogWriter& operator=(const TBufferedLogWriter&) = delete;

    // Opens `name` for appending, creating it when missing. A file that is still open is
    // closed first, so its handle and its buffered lines are not lost. Returns whether the
    // file could be opened.
    bool Open(const std::u16string& name);

    // Buffers the bytes; a full buffer is written out at once. Returns the number of bytes
    // taken, 0 when no file is open or a failing file's backlog is full (the bytes are
    // dropped). Bytes the file refuses stay in memory and go out with the next write.
    std::int32_t Write(const char* bytes, std::int32_t count);
    std::int32_t Write(std::string_view bytes);
    // The text followed by CR LF.
    void WriteLogLine(std::string_view line);

    // Writes everything that waits in one call. What the file does not take is kept; the
    // first refusal of a failure shows ShowWriteErrorBox once, and a later write that goes
    // through ends the failure (and reports lines dropped meanwhile).
    void Flush();
    // Flush, close, and delete the file if it is empty. The file name stays recorded.
    void Close();

    // Deletes the file when its size is 0; a failed deletion is reported through
    // ShowPlainBox with "Error deleting (empty) log file!".
    void DeleteIfEmpty(const std::u16string& name);

    bool IsOpen() const { return File != InvalidLogFile; }
    const std::u16string& FileName() const { return Name; }
    std::int32_t BufferSize() const { return Size; }
    std::int32_t BufferedBytes() const { return Used; }
    // Bytes not yet in the file: the buffer plus what the file refused so far.
    std::size_t PendingBytes() const { return Backlog.size() + static_cast<std::size_t>(Used); }
    // The file refused (part of) the last write call and has taken nothing since.
    bool WriteFailing() const { return Failing; }
    // Lines dropped because the backlog was full, since the failure began.
    std::uint64_t DroppedLines() const { return Dropped; }
    // How many bytes may wait for a failing file; beyond it new lines are dropped whole.
    void SetBacklogLimit(std::size_t bytes) { BacklogLimit = bytes; }

    // A plain message box (no icon, OK, on top of all windows).
    std::function<void(const std::string& text)> ShowPlainBox;
    // An error box (error icon, OK): the file refused a write.
    std::function<void(const std::string& text)> ShowWriteErrorBox;

private:
    bool Admit(std::size_t count);
    void Append(const char* bytes, std::size_t count);
    void WriteOut();
    void ReportIfNeeded();
    static std::string LinesLostText(std::uint64_t lost);

    ILogFileSystem& Files;
    std::unique_ptr<char[]> Buffer;
    std::int32_t Used = 0;
    std::int32_t Size = 0;
    std::u16string Name;
    TLogFileHandle File = InvalidLogFile;
    // Bytes the file refused, oldest first; they go out before the buffer.
    std::string Backlog;
    std::size_t BacklogLimit = DefaultLogBacklogLimit;
    bool Failing = false;
    std::uint64_t Dropped = 0;
    bool FailureToReport = false;
    std::uint64_t LossToReport = 0;
};

}  // namespace pelo::headlines
