#pragma once
// Test doubles for the headline core: an in-memory file system, a list-control view that
// checks the begin/end pairing, a fixed clock and a scriptable Start procedure.
#include <algorithm>
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "headlines/HeadlineBox.h"
#include "headlines/HeadlineDispatch.h"
#include "headlines/LogFileSystem.h"
#include "headlines/TimeStamps.h"

namespace pelo::headlines::test {

class FakeLogFileSystem : public ILogFileSystem {
public:
    struct Entry {
        std::string Content;
        bool Directory = false;
    };

    std::map<std::u16string, Entry> Files;
    std::map<TLogFileHandle, std::u16string> OpenHandles;
    std::set<std::u16string> RefuseOpen;  // names that can be neither opened nor created
    bool RefuseDelete = false;
    std::vector<std::size_t> WriteCalls;  // byte count of every write call
    // Bytes the disk can still take, across all files; nothing set: no limit.
    std::optional<std::size_t> FreeSpace;
    int OpenCalls = 0;
    int CreateCalls = 0;

    bool Exists(const std::u16string& name) const { return Files.count(name) != 0; }
    const std::string& Content(const std::u16string& name) const { return Files.at(name).Content; }

    bool IsExistingFile(const std::u16string& name) override
    {
        auto it = Files.find(name);
        return it != Files.end() && !it->second.Directory;
    }
    TLogFileHandle OpenExisting(const std::u16string& name) override
    {
        ++OpenCalls;
        if (RefuseOpen.count(name) || !IsExistingFile(name))
            return InvalidLogFile;
        return NewHandle(name);
    }
    TLogFileHandle CreateNew(const std::u16string& name) override
    {
        ++CreateCalls;
        if (RefuseOpen.count(name) || Exists(name))
            return InvalidLogFile;
        Files[name] = Entry{};
        return NewHandle(name);
    }
    std::size_t Write(TLogFileHandle file, const char* bytes, std::size_t count) override
    {
        WriteCalls.push_back(count);
        std::size_t taken = count;
        if (FreeSpace) {
            taken = std::min(count, *FreeSpace);
            *FreeSpace -= taken;
        }
        Files.at(OpenHandles.at(file)).Content.append(bytes, taken);
        return taken;
    }
    void Close(TLogFileHandle file) override
    {
        if (OpenHandles.erase(file) != 1)
            throw std::logic_error("closing a handle that is not open");
    }
    std::optional<std::uint64_t> FileSize(const std::u16string& name) override
    {
        auto it = Files.find(name);
        if (it == Files.end())
            return std::nullopt;
        return it->second.Content.size();
    }
    bool Delete(const std::u16string& name) override
    {
        if (RefuseDelete)
            return false;
        return Files.erase(name) == 1;
    }

private:
    TLogFileHandle NewHandle(const std::u16string& name)
    {
        const TLogFileHandle h = NextHandle++;
        OpenHandles[h] = name;
        return h;
    }
    TLogFileHandle NextHandle = 100;
};

// Records what the list control was asked to do and whether its redrawing is suspended.
class FakeHBoxView : public IHBoxView {
public:
    int Begins = 0;
    int Repaints = 0;
    int RowCount = -1;
    bool RedrawSuspended = false;
    bool NestedBegin = false;    // a second begin while one was outstanding
    bool UnpairedEnd = false;    // an end without a begin

    void BeginUpdate() override
    {
        if (RedrawSuspended)
            NestedBegin = true;
        RedrawSuspended = true;
        ++Begins;
    }
    void EndUpdate() override
    {
        if (!RedrawSuspended)
            UnpairedEnd = true;
        RedrawSuspended = false;
        ++Repaints;
    }
    void SetRowCount(int rows) override { RowCount = rows; }
};

class FixedClock : public IClock {
public:
    TLocalTime Time{2026, 3, 7, 9, 5, 2, 47};
    int Reads = 0;
    TLocalTime LocalNow() override
    {
        ++Reads;
        return Time;
    }
};

struct StartCall {
    std::string Text;
    std::string Source;
    int ClockReadsBefore = 0;
};

class FakeScript : public IScriptSink {
public:
    bool Processing = true;
    std::vector<StartCall> Calls;
    int FailOnCall = -1;  // 0-based index of the call that raises
    std::function<void(const std::string& text)> DuringCall;
    const FixedClock* Clock = nullptr;

    bool NewsProcessing() const override { return Processing; }
    void SetNewsProcessing(bool on) override { Processing = on; }
    void CallStart(const std::string& text, const std::string& source) override
    {
        Calls.push_back({text, source, Clock ? Clock->Reads : 0});
        if (DuringCall)
            DuringCall(text);
        if (static_cast<int>(Calls.size()) - 1 == FailOnCall)
            throw std::runtime_error("Out of range");
    }
};

} // namespace pelo::headlines::test
