#include "StdioLogFileSystem.h"

#include <filesystem>
#include <system_error>

namespace pelo::headlines::bench {
namespace {

std::filesystem::path PathOf(const std::u16string& name)
{
    return std::filesystem::path(name);
}

} // namespace

StdioLogFileSystem::~StdioLogFileSystem()
{
    for (auto& [handle, file] : Open)
        std::fclose(file);
}

bool StdioLogFileSystem::IsExistingFile(const std::u16string& name)
{
    std::error_code ec;
    const auto status = std::filesystem::status(PathOf(name), ec);
    return !ec && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

TLogFileHandle StdioLogFileSystem::OpenExisting(const std::u16string& name)
{
    std::FILE* file = std::fopen(PathOf(name).string().c_str(), "r+b");
    if (!file)
        return InvalidLogFile;
    std::fseek(file, 0, SEEK_END);
    return Keep(file);
}

TLogFileHandle StdioLogFileSystem::CreateNew(const std::u16string& name)
{
    if (IsExistingFile(name))
        return InvalidLogFile;
    std::FILE* file = std::fopen(PathOf(name).string().c_str(), "w+b");
    return file ? Keep(file) : InvalidLogFile;
}

std::size_t StdioLogFileSystem::Write(TLogFileHandle file, const char* bytes, std::size_t count)
{
    ++Writes;
    auto it = Open.find(file);
    if (it == Open.end())
        return 0;
    const std::size_t written = std::fwrite(bytes, 1, count, it->second);
    // One write call of the writer is one call into the operating system.
    if (std::fflush(it->second) != 0)
        return 0;
    return written;
}

void StdioLogFileSystem::Close(TLogFileHandle file)
{
    auto it = Open.find(file);
    if (it == Open.end())
        return;
    std::fclose(it->second);
    Open.erase(it);
}

std::optional<std::uint64_t> StdioLogFileSystem::FileSize(const std::u16string& name)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(PathOf(name), ec);
    if (ec)
        return std::nullopt;
    return static_cast<std::uint64_t>(size);
}

bool StdioLogFileSystem::Delete(const std::u16string& name)
{
    std::error_code ec;
    return std::filesystem::remove(PathOf(name), ec);
}

TLogFileHandle StdioLogFileSystem::Keep(std::FILE* file)
{
    const TLogFileHandle handle = Next++;
    Open[handle] = file;
    return handle;
}

} // namespace pelo::headlines::bench
