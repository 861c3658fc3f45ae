#include "fuzz/fuzz_input.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fuzz {

std::wstring scratchFile(std::string_view target, std::string_view bytes) {
    const auto path =
        std::filesystem::temp_directory_path() /
        ("tamrix-fuzz-" + std::string(target) + "-" + std::to_string(getpid()) + ".xml");
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        fuzzFailure("cannot write the scratch file");
    return path.wstring();
}

void fuzzFailure(const char* what) {
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
    std::abort();
}

}  // namespace fuzz
