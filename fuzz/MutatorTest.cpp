// The structure-aware mutator is only worth its run time if what it writes gets past the checksum and,
// often enough, past the verifier; and its code view must not move jumps off their targets.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "CodeEdit.h"
#include "FuzzHost.h"
#include "lang/Bytecode.h"
#include "lang/Loader.h"

using namespace pelo;
using fuzz::Instr;
using lang::Op;

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed);

// Used by the mutator for inputs it cannot decode; a fixed byte flip is enough here.
extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t) {
    if (size) data[size / 2] ^= 0x20;
    return size;
}

namespace {

constexpr int32_t op(Op o) { return static_cast<int32_t>(o); }

// Absolute target of the jump operand at word `operandPos`.
int64_t jumpTarget(const std::vector<int32_t>& code, size_t operandPos) {
    return static_cast<int64_t>(operandPos) + 1 + code[operandPos];
}

// 0 PushInt 1 | 2 JmpF -> 7 | 4 PushInt 2 | 6 Pop | 7 Leave 0 -> 0 | 10 Ret
const std::vector<int32_t> kLoop = {op(Op::PushInt), 1, op(Op::JmpF), 3, op(Op::PushInt), 2, op(Op::Pop),
                                    op(Op::Leave),   0, -10,          op(Op::Ret)};

TEST(CodeEdit, DecodesInstructionsAndJumpTargets) {
    std::vector<Instr> ins = fuzz::decodeCode(kLoop);
    ASSERT_EQ(ins.size(), 6u);
    EXPECT_EQ(ins[1].op, op(Op::JmpF));
    EXPECT_EQ(ins[1].target[0], 4);  // the Leave
    EXPECT_EQ(ins[4].target[0], -1);  // depth operand, not a jump
    EXPECT_EQ(ins[4].target[1], 0);
    EXPECT_EQ(fuzz::encodeCode(ins), kLoop);
}

TEST(CodeEdit, InsertedAndDeletedInstructionsKeepJumpsOnTarget) {
    std::vector<Instr> ins = fuzz::decodeCode(kLoop);
    // Two words inserted before the Pop: the forward jump and the backward one both cross the insertion.
    Instr push;
    push.op = op(Op::PushInt);
    push.operands = {7};
    push.target = {-1};
    ins.insert(ins.begin() + 3, push);
    for (Instr& in : ins)
        for (int32_t& t : in.target)
            if (t >= 3) ++t;
    std::vector<int32_t> code = fuzz::encodeCode(ins);
    ASSERT_EQ(code.size(), kLoop.size() + 2);
    EXPECT_EQ(code[jumpTarget(code, 3)], op(Op::Leave));
    EXPECT_EQ(jumpTarget(code, 11), 0);

    ins = fuzz::decodeCode(code);
    ins.erase(ins.begin() + 2);  // the first PushInt 2
    for (Instr& in : ins)
        for (int32_t& t : in.target)
            if (t > 2) --t;
    code = fuzz::encodeCode(ins);
    EXPECT_EQ(code[jumpTarget(code, 3)], op(Op::Leave));
    EXPECT_EQ(code[jumpTarget(code, 9)], op(Op::PushInt));
}

TEST(CodeEdit, UndecodableWordsAndStrayJumpsRoundTrip) {
    const std::vector<std::vector<int32_t>> cases = {
        {op(Op::Jmp), 1, op(Op::PushInt), 5, op(Op::Ret)},           // jump into an operand
        {op(Op::Jmp), -100, op(Op::Ret)},                             // jump before the start
        {op(Op::PushInt), 1, 999999, -1, op(Op::Pop), op(Op::Ret)},  // bad opcodes in the middle
        {op(Op::PushInt), 1, op(Op::Leave), 0},                       // truncated last instruction
        {op(Op::Jmp), 0},                                             // jump to the end
    };
    for (const auto& code : cases) EXPECT_EQ(fuzz::encodeCode(fuzz::decodeCode(code)), code);
    std::vector<Instr> ins = fuzz::decodeCode(cases[0]);
    EXPECT_EQ(ins[0].target[0], -1);
    EXPECT_TRUE(fuzz::decodeCode(cases[2])[1].raw);
}

std::vector<std::vector<uint8_t>> loaderSeeds() {
    std::vector<std::vector<uint8_t>> seeds;
    for (const auto& e : std::filesystem::directory_iterator(PELO_FUZZ_CORPUS "/loader")) {
        std::ifstream f(e.path(), std::ios::binary);
        seeds.emplace_back(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
        if (seeds.size() == 12) break;
    }
    return seeds;
}

TEST(StructuredMutator, OutputPassesTheChecksumAndOftenTheVerifier) {
    const auto seeds = loaderSeeds();
    ASSERT_FALSE(seeds.empty());
    int decoded = 0, verified = 0, changed = 0, total = 0;
    for (const auto& seed : seeds) {
        for (unsigned s = 1; s <= 40; ++s) {
            if ((s & 15) == 0) continue;  // those seeds take the plain byte path
            std::vector<uint8_t> buf(seed);
            buf.resize(seed.size() * 2 + 4096);
            const size_t n = LLVMFuzzerCustomMutator(buf.data(), seed.size(), buf.size(), s);
            ++total;
            const std::string bytes(reinterpret_cast<const char*>(buf.data()), n);
            if (bytes != std::string(seed.begin(), seed.end())) ++changed;
            lang::Module m;
            try {
                m = lang::deserializeModule(bytes);
            } catch (const lang::LoadError& e) {
                ADD_FAILURE() << "mutant of a valid file does not decode: " << e.what();
                continue;
            }
            ++decoded;
            try {
                lang::verifyModule(m, fuzz::fuzzImportCatalog());
                ++verified;
            } catch (const lang::LoadError&) {
            }
        }
    }
    EXPECT_EQ(decoded, total);
    EXPECT_GT(changed, total * 9 / 10);
    // Mutants the verifier rejects only test the verifier; enough must reach the VM.
    EXPECT_GT(verified, total / 5) << verified << " of " << total << " mutants load";
}

}  // namespace
