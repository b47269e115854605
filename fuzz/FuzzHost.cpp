#include "FuzzHost.h"

#include "glc/GlcHost.h"

namespace pelo::fuzz {

const lang::HostTable& fuzzHostTable() {
    static glc::GlcHost host;
    static lang::HostTable table;
    static const bool ready = [] {
        host.quiet = true;
        host.registerAll(table);  // finishes the table
        return true;
    }();
    (void)ready;
    return table;
}

const lang::ImportCatalog& fuzzImportCatalog() {
    static const lang::ImportCatalog catalog = lang::buildImportCatalog(fuzzHostTable());
    return catalog;
}

}  // namespace pelo::fuzz
