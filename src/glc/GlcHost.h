// The host API that glc offers scripts: the same functions, with the same output, as the reference
// runner, so that both can be compared line by line.
#pragma once

#include <cstdint>
#include <string>

#include "lang/HostTable.h"

namespace pelo::glc {

struct GlcHost {
    int signal = 0;        // last signal code of the current call: 1 Buy ... 6 CancelTrade
    bool quiet = false;    // bench mode: output is counted, not printed
    int64_t emitCount = 0;
    int64_t emitBytes = 0;

    void emit(const std::string& line);
    // Registers the standard library, the host helpers and the signal/output functions.
    void registerAll(lang::HostTable& table);
};

}  // namespace pelo::glc
