#include "lang/Compiler.h"

#include "lang/CompilerImpl.h"

namespace pelo::lang {


std::string CompileMessage::toString() const {
    return "[Error] (" + std::to_string(line) + ":" + std::to_string(col) + "): " + text;
}

using detail::CompilerImpl;

CompileResult compileScript(std::string_view source, const HostTable& host, const CompileOptions& options) {
    CompileResult r;
    CompilerImpl ci(host, options);
    try {
        ci.declareHost();
    } catch (const CompileError& e) {
        r.messages.push_back({0, 0, std::string("host declarations: ") + e.what()});
        return r;
    }
    try {
        ci.compileProgram(source);
        r.module = std::move(ci.module());
        r.ok = true;
    } catch (const CompileError& e) {
        r.messages.push_back({e.line, e.col, e.what()});
    }
    return r;
}

ImportCatalog buildImportCatalog(const HostTable& host) {
    CompilerImpl ci(host, {});
    try {
        ci.declareHost();
    } catch (const CompileError& e) {
        throw std::runtime_error(std::string("host declarations: ") + e.what());
    }
    return ci.catalog();
}

std::shared_ptr<const ImportCatalog> importCatalogFor(const HostTable& host) {
    return std::make_shared<const ImportCatalog>(buildImportCatalog(host));
}

}  // namespace pelo::lang
