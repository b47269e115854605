#include "lang/Compiler.h"

#include "lang/CompilerImpl.h"

namespace pelo::lang {


std::string CompileMessage::toString() const {
    return "[Error] (" + std::to_string(line) + ":" + std::to_string(col) + "): " + text;
}

using detail::CompilerImpl;

CompileResult compileScript(std::string_view source, const HostTable& host, const CompileOptions& options) {
    CompileResult r;
    std::shared_ptr<const detail::HostDeclarations> declared;
    try {
        declared = detail::hostDeclarationsFor(host);
    } catch (const CompileError& e) {
        r.messages.push_back({0, 0, std::string("host declarations: ") + e.what()});
        return r;
    }
    CompilerImpl ci(host, options, std::move(declared));
    try {
        ci.compileProgram(source);
        r.module = std::move(ci.module());
        r.ok = true;
    } catch (const CompileError& e) {
        r.messages.push_back({e.line, e.col, e.what()});
    }
    return r;
}

ImportCatalog buildImportCatalog(const HostTable& host) { return *importCatalogFor(host); }

std::shared_ptr<const ImportCatalog> importCatalogFor(const HostTable& host) {
    std::shared_ptr<const detail::HostDeclarations> declared;
    try {
        declared = detail::hostDeclarationsFor(host);
    } catch (const CompileError& e) {
        throw std::runtime_error(std::string("host declarations: ") + e.what());
    }
    // The catalogue lives as long as the declarations it belongs to.
    return std::shared_ptr<const ImportCatalog>(declared, &declared->catalog);
}

}  // namespace pelo::lang
