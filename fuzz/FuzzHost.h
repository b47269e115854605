// The host table the fuzz targets compile and load against: glc's, with its output counted instead of
// printed, so that files compiled by glc (the loader corpus) bind every import.
#pragma once

#include "lang/Compiler.h"
#include "lang/HostTable.h"

namespace pelo::fuzz {

const lang::HostTable& fuzzHostTable();
const lang::ImportCatalog& fuzzImportCatalog();

}  // namespace pelo::fuzz
