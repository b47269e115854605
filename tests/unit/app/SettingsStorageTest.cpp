#include "app/SettingsStorage.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

using namespace pelo;
using namespace pelo::app;

namespace {

const Windows1252CodePage kCp1252;
const std::u16string kIni = u"C:\\Users\\me\\AppData\\Local\\Quorvel Software\\Pelorant\\Pelorant.ini";

// A disk in memory: files can be made unreadable (locked by another program), writes can run out of
// space partway, and replacing can be refused.
class FakeSettingsDisk : public ISettingsFileSystem {
public:
    std::map<std::u16string, std::vector<uint8_t>> Files;
    std::map<std::u16string, std::u16string> Unreadable;  // path -> reason
    std::optional<std::size_t> FreeSpace;                 // bytes a write can still put on the disk
    bool RefuseReplace = false;
    std::vector<std::u16string> Writes;                   // paths, in order
    int Replaces = 0;

    SettingsFileRead ReadWhole(const std::u16string& path, std::size_t maxBytes) override
    {
        SettingsFileRead r;
        if (auto it = Unreadable.find(path); it != Unreadable.end()) {
            r.Result = SettingsFileRead::Outcome::Unreadable;
            r.Reason = it->second;
            return r;
        }
        auto it = Files.find(path);
        if (it == Files.end()) return r;
        if (it->second.size() > maxBytes) {
            r.Result = SettingsFileRead::Outcome::Unreadable;
            r.Reason = u"too large";
            return r;
        }
        r.Result = SettingsFileRead::Outcome::Read;
        r.Bytes = it->second;
        return r;
    }

    std::optional<std::u16string> WriteWhole(const std::u16string& path, std::span<const uint8_t> bytes) override
    {
        Writes.push_back(path);
        if (Unreadable.count(path)) return u"The process cannot access the file.";
        std::vector<uint8_t>& file = Files[path];
        file.clear();  // created or truncated before a byte is written
        std::size_t n = bytes.size();
        if (FreeSpace && *FreeSpace < n) n = *FreeSpace;
        file.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
        if (FreeSpace) *FreeSpace -= n;
        if (n != bytes.size()) return u"There is not enough space on the disk.";
        return std::nullopt;
    }

    std::optional<std::u16string> Replace(const std::u16string& source, const std::u16string& target) override
    {
        ++Replaces;
        if (RefuseReplace || Unreadable.count(target)) return u"Access is denied.";
        auto it = Files.find(source);
        if (it == Files.end()) return u"The system cannot find the file specified.";
        Files[target] = std::move(it->second);
        Files.erase(source);
        return std::nullopt;
    }

    void Remove(const std::u16string& path) override { Files.erase(path); }
};

std::vector<uint8_t> Bytes(std::string_view text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

const std::string kUserFile =
    "[Broker1]\r\nFullName=Alpha Markets\r\nShortName=ALP\r\n[Misc]\r\nHeadlineCapacity=250\r\n";

SettingsSnapshot Changed()
{
    SettingsSnapshot s;
    s.Terminals.push_back(terminals::TMT4TermInfo{"Beta Trade", "BET", "C:\\MT4\\Beta", "beta"});
    s.Settings.HeadlineCapacity = 500;
    return s;
}

class SettingsStorageTest : public ::testing::Test {
protected:
    FakeSettingsDisk Disk;
    TSettingsStorage Storage{Disk, kIni};
};

TEST_F(SettingsStorageTest, MissingFileGivesDefaultsAndIsCreatedAtSave)
{
    EXPECT_EQ(Storage.Load(kCp1252), SettingsSnapshot{});
    EXPECT_FALSE(Storage.SaveBlocked());
    EXPECT_TRUE(Storage.LoadFailureText().empty());

    const SettingsSaveResult saved = Storage.Save(Changed(), kCp1252);
    EXPECT_EQ(saved.Result, SettingsSaveResult::Outcome::Saved);
    ASSERT_TRUE(Disk.Files.count(kIni));
    EXPECT_EQ(Disk.Files[kIni], SaveSettingsToBytes(Changed(), kCp1252));
    EXPECT_FALSE(Disk.Files.count(Storage.TemporaryPath())) << "the temporary file is left behind";
}

// The file exists but another program holds it (or it cannot be read for another reason): the run
// starts with the defaults, tells the user, and the user's file survives the run untouched, even once
// the file could be written again.
TEST_F(SettingsStorageTest, UnreadableFileIsNeverSavedOver)
{
    Disk.Files[kIni] = Bytes(kUserFile);
    Disk.Unreadable[kIni] = u"The process cannot access the file because it is being used by another process.";

    EXPECT_EQ(Storage.Load(kCp1252), SettingsSnapshot{});
    EXPECT_TRUE(Storage.SaveBlocked());
    EXPECT_EQ(Storage.LoadFailureText(),
              std::u16string(SettingsUnreadableText) + u"\r\n\r\n" + kIni + u"\r\n\r\n" +
                  u"The process cannot access the file because it is being used by another process." +
                  u"\r\n\r\n" + SettingsNotSavedText);

    Disk.Unreadable.clear();  // the other program lets go before this one ends
    const SettingsSaveResult saved = Storage.Save(Changed(), kCp1252);
    EXPECT_EQ(saved.Result, SettingsSaveResult::Outcome::Skipped);
    EXPECT_EQ(Disk.Files[kIni], Bytes(kUserFile));
    EXPECT_TRUE(Disk.Writes.empty());
}

TEST_F(SettingsStorageTest, OversizedFileCountsAsUnreadableNotMissing)
{
    Disk.Files[kIni] = std::vector<uint8_t>(MaxSettingsFileBytes + 1, 'x');
    EXPECT_EQ(Storage.Load(kCp1252), SettingsSnapshot{});
    EXPECT_TRUE(Storage.SaveBlocked());
    EXPECT_EQ(Storage.Save(Changed(), kCp1252).Result, SettingsSaveResult::Outcome::Skipped);
    EXPECT_EQ(Disk.Files[kIni].size(), MaxSettingsFileBytes + 1);
}

// The disk fills up during the save: the user's old file is still whole, nothing half-written is left,
// and the caller learns why.
TEST_F(SettingsStorageTest, FailedWriteLeavesTheOldFileWhole)
{
    Disk.Files[kIni] = Bytes(kUserFile);
    ASSERT_EQ(Storage.Load(kCp1252).Terminals.size(), 1u);
    Disk.FreeSpace = 40;

    const SettingsSaveResult saved = Storage.Save(Changed(), kCp1252);
    EXPECT_EQ(saved.Result, SettingsSaveResult::Outcome::Failed);
    EXPECT_EQ(saved.Error, u"There is not enough space on the disk.");
    EXPECT_EQ(Disk.Files[kIni], Bytes(kUserFile));
    EXPECT_FALSE(Disk.Files.count(Storage.TemporaryPath()));

    // With space again the next save goes through: a failed save does not block later ones.
    Disk.FreeSpace.reset();
    EXPECT_EQ(Storage.Save(Changed(), kCp1252).Result, SettingsSaveResult::Outcome::Saved);
    EXPECT_EQ(Disk.Files[kIni], SaveSettingsToBytes(Changed(), kCp1252));
}

TEST_F(SettingsStorageTest, RefusedReplaceKeepsTheOldFileAndReports)
{
    Disk.Files[kIni] = Bytes(kUserFile);
    Storage.Load(kCp1252);
    Disk.RefuseReplace = true;

    const SettingsSaveResult saved = Storage.Save(Changed(), kCp1252);
    EXPECT_EQ(saved.Result, SettingsSaveResult::Outcome::Failed);
    EXPECT_EQ(saved.Error, u"Access is denied.");
    EXPECT_EQ(Disk.Files[kIni], Bytes(kUserFile));
    EXPECT_FALSE(Disk.Files.count(Storage.TemporaryPath()));
}

TEST_F(SettingsStorageTest, SaveWritesTheTemporaryFileThenReplacesInOneStep)
{
    Disk.Files[kIni] = Bytes(kUserFile);
    Storage.Load(kCp1252);
    ASSERT_EQ(Storage.Save(Changed(), kCp1252).Result, SettingsSaveResult::Outcome::Saved);
    EXPECT_EQ(Disk.Writes, std::vector<std::u16string>{kIni + u".new"});
    EXPECT_EQ(Disk.Replaces, 1);
    EXPECT_EQ(Storage.Load(kCp1252), Changed());
}

}  // namespace
