// Runs one fuzz target over every input kept for it: its seed corpus and the inputs that
// once crashed it or broke an invariant. A fault returns as a crash or a sanitizer report
// of this test.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
// Targets that need set-up define it; libFuzzer treats it as optional too.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

std::vector<std::filesystem::path> keptInputs() {
    std::vector<std::filesystem::path> files;
    for (const char* folder : {FUZZ_CORPUS_DIR, FUZZ_CRASHES_DIR}) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error))
            if (entry.is_regular_file())
                files.push_back(entry.path());
    }
    return files;
}

TEST(FuzzReplay, EveryKeptInputRunsCleanly) {
    int argc = 0;
    char** argv = nullptr;
    if (LLVMFuzzerInitialize != nullptr)
        LLVMFuzzerInitialize(&argc, &argv);
    const auto files = keptInputs();
    ASSERT_FALSE(files.empty()) << "no seed inputs in " << FUZZ_CORPUS_DIR;
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        std::ifstream in(file, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>()};
        EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                         bytes.size()),
                  0);
    }
}

}  // namespace
