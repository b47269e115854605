#pragma once
// The script flags the rest of the program reads (ScriptAttached, ScriptTestMode, NewsProcessing) and the way
// dispatch reaches the script's Start procedure. The script lifecycle sets the flags and connects CallStartProc.
#include <functional>
#include <string>

#include "headlines/HeadlineDispatch.h"

namespace pelo::script {

class TScriptState final : public headlines::IScriptSink {
public:
    bool ScriptAttached = false;
    bool ScriptTestMode = false;  // no clicks while on; the caption says "(testing)"
    int StartProcNo = -1;         // the script's Start procedure

    // Runs the script's Start(text, source); errors come out as exceptions.
    std::function<void(const std::string& text, const std::string& source)> CallStartProc;

    bool NewsProcessing() const override { return newsProcessing_ && static_cast<bool>(CallStartProc); }
    void SetNewsProcessing(bool on) override { newsProcessing_ = on; }
    void CallStart(const std::string& text, const std::string& source) override { CallStartProc(text, source); }

private:
    bool newsProcessing_ = false;
};

}  // namespace pelo::script
