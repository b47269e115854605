#include "CodeEdit.h"

#include <cstring>

#include "lang/Bytecode.h"

namespace pelo::fuzz {

using lang::Op;

int32_t opcodeCount() { return static_cast<int32_t>(Op::Count_); }

const char* operandKinds(int32_t op) {
    if (op < 0 || op >= opcodeCount()) return "";
    return lang::opInfo(static_cast<Op>(op)).operands;
}

std::vector<Instr> decodeCode(const std::vector<int32_t>& code) {
    const size_t n = code.size();
    std::vector<Instr> out;
    std::vector<int32_t> indexAt(n + 1, -1);  // instruction index starting at a word, -1 inside one
    for (size_t pc = 0; pc < n;) {
        Instr in;
        in.op = code[pc];
        indexAt[pc] = static_cast<int32_t>(out.size());
        const size_t len = 1 + std::strlen(operandKinds(in.op));
        if (in.op < 0 || in.op >= opcodeCount() || pc + len > n) {
            in.raw = true;
            out.push_back(in);
            ++pc;
            continue;
        }
        for (size_t k = 1; k < len; ++k) in.operands.push_back(code[pc + k]);
        in.target.assign(in.operands.size(), -1);
        out.push_back(std::move(in));
        pc += len;
    }
    indexAt[n] = static_cast<int32_t>(out.size());
    size_t pc = 0;
    for (Instr& in : out) {
        const char* kinds = in.raw ? "" : operandKinds(in.op);
        for (size_t k = 0; kinds[k]; ++k) {
            if (kinds[k] != 'j') continue;
            const int64_t t = static_cast<int64_t>(pc) + 1 + static_cast<int64_t>(k) + 1 + in.operands[k];
            if (t >= 0 && t <= static_cast<int64_t>(n)) in.target[k] = indexAt[static_cast<size_t>(t)];
        }
        pc += 1 + (in.raw ? 0 : in.operands.size());
    }
    return out;
}

std::vector<int32_t> encodeCode(const std::vector<Instr>& ins) {
    std::vector<int64_t> pos(ins.size() + 1, 0);
    for (size_t i = 0; i < ins.size(); ++i) pos[i + 1] = pos[i] + 1 + static_cast<int64_t>(ins[i].raw ? 0 : ins[i].operands.size());
    std::vector<int32_t> code;
    code.reserve(static_cast<size_t>(pos.back()));
    for (size_t i = 0; i < ins.size(); ++i) {
        const Instr& in = ins[i];
        code.push_back(in.op);
        if (in.raw) continue;
        for (size_t k = 0; k < in.operands.size(); ++k) {
            const int32_t t = k < in.target.size() ? in.target[k] : -1;
            if (t >= 0 && static_cast<size_t>(t) <= ins.size()) {
                const int64_t operandPos = pos[i] + 1 + static_cast<int64_t>(k);
                code.push_back(static_cast<int32_t>(pos[static_cast<size_t>(t)] - (operandPos + 1)));
            } else {
                code.push_back(in.operands[k]);
            }
        }
    }
    return code;
}

}  // namespace pelo::fuzz
