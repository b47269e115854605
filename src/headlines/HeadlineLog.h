#pragma once
// Which log file is current, and when it is opened, flushed and closed.
#include <functional>
#include <string>

#include "headlines/BufferedLogWriter.h"
#include "headlines/TimeStamps.h"

namespace pelo::headlines {

inline constexpr const char* OpenLogFailedText = "Error opening or creating log file!";

// The log file for a compiled script: its file name (without the directory) with the
// extension replaced by ".txt". A script saved without a name (".exn" alone) logs to
// newslog.txt. Only the file name is returned, not the directory.
std::u16string ScriptLogFileName(const std::u16string& scriptPath);

// "name.ext" -> "name" + ext; the extension starts at the last "." after the last "\" or ":".
std::u16string ChangeFileExt(const std::u16string& name, const std::u16string& ext);

// The file-name part of a path: what follows the last "\" or ":".
std::u16string ExtractFileName(const std::u16string& path);

class THeadlineLog {
public:
    // logsDir: the logs directory, without a trailing backslash.
    THeadlineLog(TBufferedLogWriter& writer, std::u16string logsDir);
    THeadlineLog(const THeadlineLog&) = delete;
    THeadlineLog& operator=(const THeadlineLog&) = delete;

    const std::u16string& CurrentLogName() const { return CurrentName; }
    const std::u16string& LogsDir() const { return Dir; }
    // LogsDir + "\" + fileName.
    std::u16string LogPath(const std::u16string& fileName) const;
    std::u16string NewsLogPath() const;
    std::u16string ScriptLogPath(const std::u16string& scriptPath) const;

    // Makes `name` the open log file (nothing to do when it already is). On failure shows
    // "Error opening or creating log file!" and returns false; no file is open then.
    bool SwitchLogFile(const std::u16string& name);

    // Start of news reading. With no script attached or under test, opens newslog.txt;
    // false (after the message) means the start must be abandoned. With a script, the
    // file its attach or test made current stays as it is.
    bool StartNewsReading(bool scriptAttached, bool scriptTestMode);
    // Stop of news reading: a script's file is flushed and stays open; newslog.txt is
    // closed (and deleted when empty).
    void StopNewsReading(bool scriptAttached, bool scriptTestMode);
    // Attach or test: switches to the script's log file; false means abandon.
    bool SwitchToScriptLog(const std::u16string& scriptPath);
    // Removal of a script that was attached or under test.
    void ScriptRemoved(bool readingActive);
    // The script Reset command.
    void ScriptReset(bool readingActive);

    // A line from the script's log-writing function: written only while news reading runs.
    void WriteScriptLogLine(bool readingActive, const TLocalTime& now, const std::string& text);

    // A plain message box (no icon, OK, on top of all windows).
    std::function<void(const std::string& text)> ShowPlainBox;

private:
    void ReportOpenFailure();

    TBufferedLogWriter& Writer;
    std::u16string Dir;
    std::u16string CurrentName;
};

}  // namespace pelo::headlines
