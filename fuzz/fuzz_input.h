// Helpers the fuzz targets share: the input as text and as a scratch file. Each target
// defines LLVMFuzzerTestOneInput; libFuzzer calls it with stranger-made bytes, and the
// replay tests call it with the kept inputs. A target that finds its own invariant broken
// calls fuzzFailure, which aborts so that the fuzzer keeps the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fuzz {

inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Writes the bytes whole to this process's scratch file (one per target name, in the
// temporary folder) and returns its path.
std::wstring scratchFile(std::string_view target, std::string_view bytes);

// Reports a broken invariant on stderr and aborts.
[[noreturn]] void fuzzFailure(const char* what);

}  // namespace fuzz
