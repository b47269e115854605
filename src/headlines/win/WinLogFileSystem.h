#pragma once
// The headline log's file operations on the Windows file system.
#include "headlines/LogFileSystem.h"

namespace pelo::headlines {

class TWinLogFileSystem final : public ILogFileSystem {
public:
    bool IsExistingFile(const std::u16string& name) override;
    TLogFileHandle OpenExisting(const std::u16string& name) override;
    TLogFileHandle CreateNew(const std::u16string& name) override;
    std::size_t Write(TLogFileHandle file, const char* bytes, std::size_t count) override;
    void Close(TLogFileHandle file) override;
    std::optional<std::uint64_t> FileSize(const std::u16string& name) override;
    bool Delete(const std::u16string& name) override;
};

}  // namespace pelo::headlines
