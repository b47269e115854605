#include "headlines/HeadlineLog.h"

#include <utility>

namespace pelo::headlines {
namespace {

const std::u16string NewsLogFileName = u"newslog.txt";
const std::u16string UntitledScriptFileName = u".exn";

std::u16string::size_type LastSeparator(const std::u16string& path)
{
    return path.find_last_of(u"\\:");
}

} // namespace

std::u16string ExtractFileName(const std::u16string& path)
{
    const auto sep = LastSeparator(path);
    return sep == std::u16string::npos ? path : path.substr(sep + 1);
}

std::u16string ChangeFileExt(const std::u16string& name, const std::u16string& ext)
{
    const auto dot = name.find_last_of(u".\\:");
    if (dot == std::u16string::npos || name[dot] != u'.')
        return name + ext;
    return name.substr(0, dot) + ext;
}

std::u16string ScriptLogFileName(const std::u16string& scriptPath)
{
    const std::u16string fileName = ExtractFileName(scriptPath);
    if (fileName == UntitledScriptFileName)
        return NewsLogFileName;
    return ChangeFileExt(fileName, u".txt");
}

THeadlineLog::THeadlineLog(TBufferedLogWriter& writer, std::u16string logsDir)
    : Writer(writer), Dir(std::move(logsDir))
{
}

std::u16string THeadlineLog::LogPath(const std::u16string& fileName) const
{
    return Dir + u"\\" + fileName;
}

std::u16string THeadlineLog::NewsLogPath() const
{
    return LogPath(NewsLogFileName);
}

std::u16string THeadlineLog::ScriptLogPath(const std::u16string& scriptPath) const
{
    return LogPath(ScriptLogFileName(scriptPath));
}

bool THeadlineLog::SwitchLogFile(const std::u16string& name)
{
    if (name == CurrentName && Writer.IsOpen())
        return true;
    Writer.Close();
    if (!Writer.Open(name)) {
        ReportOpenFailure();
        return false;
    }
    CurrentName = name;
    return true;
}

bool THeadlineLog::StartNewsReading(bool scriptAttached, bool scriptTestMode)
{
    if (scriptAttached || scriptTestMode)
        return true;
    CurrentName = NewsLogPath();
    // Open closes a file left open by an attach that failed after switching its log, so
    // that file is neither leaked nor left behind empty.
    if (!Writer.Open(CurrentName)) {
        ReportOpenFailure();
        return false;
    }
    return true;
}

void THeadlineLog::StopNewsReading(bool scriptAttached, bool scriptTestMode)
{
    if (scriptAttached || scriptTestMode) {
        if (Writer.IsOpen())
            Writer.Flush();
    } else {
        Writer.Close();
    }
}

bool THeadlineLog::SwitchToScriptLog(const std::u16string& scriptPath)
{
    return SwitchLogFile(ScriptLogPath(scriptPath));
}

void THeadlineLog::ScriptRemoved(bool readingActive)
{
    if (readingActive) {
        SwitchLogFile(NewsLogPath());
    } else if (Writer.IsOpen()) {
        Writer.Close();
        CurrentName.clear();
    }
}

void THeadlineLog::ScriptReset(bool readingActive)
{
    if (readingActive)
        SwitchLogFile(NewsLogPath());
    else
        Writer.Close();
}

void THeadlineLog::WriteScriptLogLine(bool readingActive, const TLocalTime& now, const std::string& text)
{
    if (!readingActive)
        return;
    std::string line = FormatLogTime(now);
    line += ' ';
    line += text;
    Writer.WriteLogLine(line);
}

void THeadlineLog::ReportOpenFailure()
{
    if (ShowPlainBox)
        ShowPlainBox(OpenLogFailedText);
}

}  // namespace pelo::headlines
