// Runs a fuzz target over saved inputs without libFuzzer, so the test suite replays the corpora in the
// ordinary sanitizer build:  fuzz_replay_<target> [--mutate N] FILE_OR_FOLDER...
// --mutate N also feeds N mutations of every input (seeds 1..N) through the target's own mutator, when it
// has one; the mutations are the same on every run.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                                                  unsigned int seed);

// What libFuzzer would supply to a custom mutator: a plain byte mutation, deterministic here.
extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize) {
    static std::mt19937 rng(12345);
    if (size == 0) {
        if (maxSize == 0) return 0;
        data[0] = static_cast<uint8_t>(rng());
        return 1;
    }
    switch (rng() % 3) {
        case 0: data[rng() % size] ^= static_cast<uint8_t>(1u << (rng() % 8)); return size;
        case 1: return size > 1 ? size - 1 : size;
        default:
            if (size < maxSize) {
                data[size] = data[rng() % size];
                return size + 1;
            }
            data[rng() % size] = static_cast<uint8_t>(rng());
            return size;
    }
}

namespace {

std::vector<uint8_t> readAll(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

}  // namespace

int main(int argc, char** argv) {
    long mutations = 0;
    std::vector<std::filesystem::path> files;
    for (int k = 1; k < argc; ++k) {
        std::string a = argv[k];
        if (a == "--mutate" && k + 1 < argc) {
            mutations = std::strtol(argv[++k], nullptr, 10);
            continue;
        }
        std::filesystem::path p(a);
        if (std::filesystem::is_directory(p)) {
            for (const auto& e : std::filesystem::recursive_directory_iterator(p))
                if (e.is_regular_file()) files.push_back(e.path());
        } else if (std::filesystem::is_regular_file(p)) {
            files.push_back(p);
        } else {
            std::fprintf(stderr, "replay: no such file or folder: %s\n", a.c_str());
            return 2;
        }
    }
    std::sort(files.begin(), files.end());
    if (files.empty()) {
        std::fprintf(stderr, "replay: no inputs\n");
        return 2;
    }
    long runs = 0;
    for (const auto& f : files) {
        std::vector<uint8_t> bytes = readAll(f);
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        ++runs;
        if (!LLVMFuzzerCustomMutator) continue;
        for (long s = 1; s <= mutations; ++s) {
            std::vector<uint8_t> buf(bytes);
            const size_t maxSize = bytes.size() * 2 + 4096;
            buf.resize(maxSize);
            const size_t n = LLVMFuzzerCustomMutator(buf.data(), bytes.size(), maxSize, static_cast<unsigned>(s));
            LLVMFuzzerTestOneInput(buf.data(), n);
            ++runs;
        }
    }
    std::printf("replay: %zu files, %ld inputs run\n", files.size(), runs);
    return 0;
}
