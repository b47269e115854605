#include "headlines/BufferedLogWriter.h"

#include <cstring>
#include <new>

namespace pelo {

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

std::int32_t TBufferedLogWriter::Write(const char* bytes, std::int32_t count)
{
    if (!IsOpen())
        return 0;
    std::int32_t left = count;
    while (left > 0) {
        const std::int32_t room = Size - Used;
        if (left < room) {
            std::memcpy(Buffer.get() + Used, bytes, static_cast<std::size_t>(left));
            Used += left;
            break;
        }
        std::memcpy(Buffer.get() + Used, bytes, static_cast<std::size_t>(room));
        Used += room;
        bytes += room;
        left -= room;
        Flush();
    }
    return count;
}

std::int32_t TBufferedLogWriter::Write(std::string_view bytes)
{
    return Write(bytes.data(), static_cast<std::int32_t>(bytes.size()));
}

void TBufferedLogWriter::WriteLogLine(std::string_view line)
{
    Write(line);
    Write("\r\n", 2);
}

void TBufferedLogWriter::Flush()
{
    if (Used == 0)
        return;
    if (IsOpen())
        Files.Write(File, Buffer.get(), static_cast<std::size_t>(Used));
    Used = 0;
}

void TBufferedLogWriter::Close()
{
    if (!IsOpen())
        return;
    Flush();
    Files.Close(File);
    File = InvalidLogFile;
    DeleteIfEmpty(Name);
}

void TBufferedLogWriter::DeleteIfEmpty(const std::u16string& name)
{
    const std::optional<std::uint64_t> size = Files.FileSize(name);
    if (!size || *size != 0)
        return;
    if (!Files.Delete(name) && ShowPlainBox)
        ShowPlainBox(DeleteEmptyLogFailedText);
}

} // namespace pelo
