#pragma once
// The few file operations the headline log needs. The Win32 layer implements them with
// CreateFileW and friends; tests use an in-memory fake.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace pelo::headlines {

// An open file; the Win32 layer stores its HANDLE here.
using TLogFileHandle = std::intptr_t;
inline constexpr TLogFileHandle InvalidLogFile = -1;

class ILogFileSystem {
public:
    virtual ~ILogFileSystem() = default;

    // The name's attributes can be read and it is not a directory.
    virtual bool IsExistingFile(const std::u16string& name) = 0;
    // Opens an existing file for reading and writing, others may read it meanwhile;
    // positioned at its end. InvalidLogFile on failure.
    virtual TLogFileHandle OpenExisting(const std::u16string& name) = 0;
    // Creates a new file with the same access and sharing; fails (InvalidLogFile) when
    // a file of that name exists by now.
    virtual TLogFileHandle CreateNew(const std::u16string& name) = 0;
    // One write call. Returns how many bytes reached the file, from the start of `bytes`: fewer
    // than `count` (0 when nothing did) means the file system refused the rest, for example a
    // full disk.
    virtual std::size_t Write(TLogFileHandle file, const char* bytes, std::size_t count) = 0;
    virtual void Close(TLogFileHandle file) = 0;
    // The file's size, or nothing when its attributes cannot be read.
    virtual std::optional<std::uint64_t> FileSize(const std::u16string& name) = 0;
    virtual bool Delete(const std::u16string& name) = 0;
};

}  // namespace pelo::headlines
