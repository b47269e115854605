#pragma once
// The log file interface over the C library's files, for running the headline log outside
// Windows (benchmarks). Names are converted to the file system's own path type.
#include <cstdio>
#include <map>

#include "headlines/LogFileSystem.h"

namespace pelo::headlines::bench {

class StdioLogFileSystem : public ILogFileSystem {
public:
    ~StdioLogFileSystem() override;

    bool IsExistingFile(const std::u16string& name) override;
    TLogFileHandle OpenExisting(const std::u16string& name) override;
    TLogFileHandle CreateNew(const std::u16string& name) override;
    std::size_t Write(TLogFileHandle file, const char* bytes, std::size_t count) override;
    void Close(TLogFileHandle file) override;
    std::optional<std::uint64_t> FileSize(const std::u16string& name) override;
    bool Delete(const std::u16string& name) override;

    int WriteCalls() const { return Writes; }

private:
    TLogFileHandle Keep(std::FILE* file);

    std::map<TLogFileHandle, std::FILE*> Open;
    TLogFileHandle Next = 1;
    int Writes = 0;
};

} // namespace pelo::headlines::bench
