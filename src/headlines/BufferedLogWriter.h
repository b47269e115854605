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

namespace pelo {

class EBufferedLogWriter : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr std::int32_t DefaultLogBufferSize = 4096;

inline constexpr const char* AllocBufferOutOfMemoryText =
    "TBufferedLogWriter.Create: AllocBuffer out of memory";
inline constexpr const char* DeleteEmptyLogFailedText = "Error deleting (empty) log file!";

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
    // taken, 0 when no file is open (the bytes are dropped).
    std::int32_t Write(const char* bytes, std::int32_t count);
    std::int32_t Write(std::string_view bytes);
    // The text followed by CR LF.
    void WriteLogLine(std::string_view line);

    // Writes the buffered bytes in one call and empties the buffer.
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

    // A plain message box (no icon, OK, on top of all windows).
    std::function<void(const std::string& text)> ShowPlainBox;

private:
    ILogFileSystem& Files;
    std::unique_ptr<char[]> Buffer;
    std::int32_t Used = 0;
    std::int32_t Size = 0;
    std::u16string Name;
    TLogFileHandle File = InvalidLogFile;
};

} // namespace pelo
