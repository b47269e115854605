#pragma once
// Everything the main window keeps for headline processing, in one object it owns for its
// whole life. Members are public: the Win32 layer wires the callbacks (message boxes, the
// counter label, the list control) and calls the operations of each part directly.
#include <string>
#include <utility>

#include "headlines/BufferedLogWriter.h"
#include "headlines/DupCache.h"
#include "headlines/FastCriticalSection.h"
#include "headlines/HeadlineBox.h"
#include "headlines/HeadlineCounter.h"
#include "headlines/HeadlineDispatch.h"
#include "headlines/HeadlineLog.h"

namespace pelo::headlines {

struct THeadlineCore {
    // logsDir: the logs directory fixed at start-up, without a trailing backslash.
    THeadlineCore(ILogFileSystem& files, IScriptSink& script, IClock& clock, std::u16string logsDir)
        : LogWriter(files, DefaultLogBufferSize),
          Log(LogWriter, std::move(logsDir)),
          Dispatcher(script, HBox, LogWriter, Counter, clock)
    {
    }
    THeadlineCore(const THeadlineCore&) = delete;
    THeadlineCore& operator=(const THeadlineCore&) = delete;

    // Declared in dependency order: destruction runs bottom-up, so the log writer closes
    // its file (writing what it holds) after nothing can dispatch into it any more.
    TFastCriticalSection NewsLock;
    TDupCache DupCache{NewsLock, DefaultDupCacheSize};
    THeadlineBox HBox{DefaultHeadlineCapacity};
    THeadlineCounter Counter;
    TBufferedLogWriter LogWriter;
    THeadlineLog Log;
    THeadlineDispatcher Dispatcher;
};

}  // namespace pelo::headlines
