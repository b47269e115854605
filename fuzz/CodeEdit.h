// An editable view of a procedure's code: instructions with their operands, jump operands held as the
// index of the instruction they reach, so that instructions can be inserted and deleted while every
// jump keeps its target. Words that do not decode (bad opcode, truncated tail) are kept as raw
// one-word entries and written back unchanged.
#pragma once

#include <cstdint>
#include <vector>

namespace pelo::fuzz {

struct Instr {
    int32_t op = 0;
    bool raw = false;               // not a decodable instruction: `op` is the word itself
    std::vector<int32_t> operands;  // jump operands: see `target`
    // For each operand: index of the instruction a jump operand reaches, or -1 (not a jump, or a jump
    // into the middle of an instruction, kept as the raw offset in `operands`).
    std::vector<int32_t> target;
};

std::vector<Instr> decodeCode(const std::vector<int32_t>& code);
std::vector<int32_t> encodeCode(const std::vector<Instr>& ins);

// Operand kinds of an opcode ("" for raw or invalid ones).
const char* operandKinds(int32_t op);
int32_t opcodeCount();

}  // namespace pelo::fuzz
