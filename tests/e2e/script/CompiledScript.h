#pragma once
// Compiled scripts for the end-to-end tests, made with the table the program runs against, as the editor does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/Driver.h"
#include "lang/Compiler.h"
#include "lang/Loader.h"
#include "script/ScriptInterface.h"
#include "script/StandInObjects.h"

namespace pelo::e2e {

inline void CompileScriptTo(const std::wstring& path, const std::string& source) {
    script::NullScriptServices services;
    lang::HostTable table;
    script::RegisterScriptInterface(table, services);
    lang::CompileResult r = lang::compileScript(source, table);
    ASSERT_TRUE(r.ok) << (r.messages.empty() ? "" : r.messages[0].toString());
    const std::string bytes = lang::serializeModule(r.module);
    ASSERT_TRUE(WriteFileBytes(path, std::vector<uint8_t>(bytes.begin(), bytes.end())));
}

}  // namespace pelo::e2e
