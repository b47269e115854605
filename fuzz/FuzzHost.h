// The host table both fuzz targets compile and load against.
#pragma once

#include "lang/HostTable.h"

namespace pelo::fuzz {

const lang::HostTable& fuzzHostTable();

}  // namespace pelo::fuzz
