// Compiles and runs scripts against the standard library and the host helpers, plus a WriteLn that records its lines.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "lang/Compiler.h"
#include "lang/Loader.h"
#include "lang/StdLib.h"
#include "lang/Vm.h"

namespace pelo::lang::test {

struct ScriptHarness {
    HostTable table;
    std::vector<std::string> out;
    std::unique_ptr<Vm> vm;

    explicit ScriptHarness(VmLimits limits = {}) {
        StdLibOptions opt;
        opt.lineBreak = "\n";
        registerStandardLibrary(table, opt);
        registerHostHelpers(table);
        table.function("procedure WriteLn(s: string)", [this](CallCtx& c) { out.emplace_back(c.s(0)); });
        table.finish();
        vm = std::make_unique<Vm>(table, importCatalogFor(table), limits);
    }

    // First compile message ("[Error] (l:c): text"), or "" when the script compiles.
    std::string compileError(const std::string& src, CompileOptions opt = {}) {
        CompileResult r = compileScript(src, table, opt);
        return r.ok ? std::string() : r.messages.at(0).toString();
    }

    Module compile(const std::string& src, CompileOptions opt = {}) {
        CompileResult r = compileScript(src, table, opt);
        EXPECT_TRUE(r.ok) << (r.messages.empty() ? "" : r.messages[0].toString());
        return std::move(r.module);
    }

    // Compiles, loads and runs the main block; returns the error text or "" on success.
    std::string run(const std::string& src, CompileOptions opt = {}) {
        CompileResult r = compileScript(src, table, opt);
        if (!r.ok) return "compile: " + r.messages.at(0).toString();
        vm->loadModule(std::move(r.module));
        try {
            vm->runMain();
        } catch (const ScriptError& e) {
            return e.what();
        }
        return "";
    }

    std::string joined() const {
        std::string s;
        for (size_t k = 0; k < out.size(); ++k) s += (k ? "|" : "") + out[k];
        return s;
    }
};

}  // namespace pelo::lang::test
