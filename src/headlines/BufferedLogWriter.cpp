#include "headlines/BufferedLogWriter.h"

#include <cstring>
#include <new>
#include <utility>

namespace pelo::headlines {

TBufferedLogWriter::TBufferedLogWriter(ILogFileSystem& files, std::int32_t bufferSize)
    : Files(files)
{
    // A buffer without room could never take a byte: Write would flush forever.
    if (bufferSize < 1)
        throw EBufferedLogWriter(AllocBufferOutOfMemoryText);
    Buffer.reset(new (std::nothrow) char[static_cast<std::size_t>(bufferSize)]);
    if (!Buffer)
        throw EBufferedLogWriter(AllocBufferOutOfMemoryText);
    Size = bufferSize;
}

TBufferedLogWriter::~TBufferedLogWriter()
{
    try {
        Close();
    } catch (...) {
        // A message-box callback that throws must not end the program here.
    }
}

bool TBufferedLogWriter::Open(const std::u16string& name)
{
    if (IsOpen())
        Close();
    Name = name;
    if (Files.IsExistingFile(name))
        File = Files.OpenExisting(name);
    else
        File = Files.CreateNew(name);
    return IsOpen();
}

bool TBufferedLogWriter::Admit(std::size_t count)
{
    // While the file takes everything the buffer bounds what waits; only a failing file lets the
    // backlog grow, and then only up to its limit, a whole write at a time.
    if (!Failing || PendingBytes() + count <= BacklogLimit)
        return true;
    ++Dropped;
    return false;
}

void TBufferedLogWriter::Append(const char* bytes, std::size_t count)
{
    std::size_t left = count;
    while (left > 0) {
        const std::size_t room = static_cast<std::size_t>(Size - Used);
        if (left < room) {
            std::memcpy(Buffer.get() + Used, bytes, left);
            Used += static_cast<std::int32_t>(left);
            break;
        }
        std::memcpy(Buffer.get() + Used, bytes, room);
        Used += static_cast<std::int32_t>(room);
        bytes += room;
        left -= room;
        WriteOut();
    }
}

std::int32_t TBufferedLogWriter::Write(const char* bytes, std::int32_t count)
{
    if (!IsOpen())
        return 0;
    if (count > 0 && Admit(static_cast<std::size_t>(count)))
        Append(bytes, static_cast<std::size_t>(count));
    else if (count > 0)
        count = 0;
    ReportIfNeeded();
    return count;
}

std::int32_t TBufferedLogWriter::Write(std::string_view bytes)
{
    return Write(bytes.data(), static_cast<std::int32_t>(bytes.size()));
}

void TBufferedLogWriter::WriteLogLine(std::string_view line)
{
    if (!IsOpen())
        return;
    // A line and its CR LF are admitted together, so a full backlog never keeps half a line.
    if (Admit(line.size() + 2)) {
        Append(line.data(), line.size());
        Append("\r\n", 2);
    }
    ReportIfNeeded();
}

void TBufferedLogWriter::Flush()
{
    WriteOut();
    ReportIfNeeded();
}

void TBufferedLogWriter::WriteOut()
{
    if (Used == 0 && Backlog.empty())
        return;
    if (!IsOpen()) {
        Used = 0;
        Backlog.clear();
        return;
    }
    // Everything that waits goes out in one call, oldest bytes first.
    const char* data = Buffer.get();
    std::size_t count = static_cast<std::size_t>(Used);
    if (!Backlog.empty()) {
        Backlog.append(Buffer.get(), count);
        Used = 0;
        data = Backlog.data();
        count = Backlog.size();
    }
    std::size_t written = Files.Write(File, data, count);
    if (written > count)
        written = count;

    if (written == count) {
        Used = 0;
        Backlog.clear();
        if (Failing) {
            Failing = false;
            if (Dropped > 0) {
                LossToReport = Dropped;
                Dropped = 0;
            }
        }
        return;
    }
    // Keep what the file refused, in order, for the next try.
    if (Backlog.empty()) {
        Backlog.assign(Buffer.get() + written, count - written);
        Used = 0;
    } else {
        Backlog.erase(0, written);
    }
    if (!Failing) {
        Failing = true;
        FailureToReport = true;
    }
}

void TBufferedLogWriter::ReportIfNeeded()
{
    // Shown only once the writer's state is complete: a box pumps messages, and a headline that
    // arrives meanwhile writes through this same writer.
    if (FailureToReport) {
        FailureToReport = false;
        if (ShowWriteErrorBox)
            ShowWriteErrorBox(WriteLogFailedText);
    }
    if (LossToReport > 0) {
        const std::uint64_t lost = LossToReport;
        LossToReport = 0;
        if (ShowWriteErrorBox)
            ShowWriteErrorBox(LinesLostText(lost));
    }
}

std::string TBufferedLogWriter::LinesLostText(std::uint64_t lost)
{
    return std::to_string(lost) + (lost == 1 ? " log line was" : " log lines were") +
           " dropped while the log file refused writes; they are missing from the log.";
}

void TBufferedLogWriter::Close()
{
    if (!IsOpen())
        return;
    WriteOut();
    // What the file still refuses cannot follow it once it is closed.
    Backlog.clear();
    Used = 0;
    Files.Close(File);
    File = InvalidLogFile;
    DeleteIfEmpty(Name);
    ReportIfNeeded();
}

void TBufferedLogWriter::DeleteIfEmpty(const std::u16string& name)
{
    const std::optional<std::uint64_t> size = Files.FileSize(name);
    if (!size || *size != 0)
        return;
    if (!Files.Delete(name) && ShowPlainBox)
        ShowPlainBox(DeleteEmptyLogFailedText);
}

}  // namespace pelo::headlines
