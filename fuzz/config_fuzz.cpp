// The side pane's config.xml: a file that loads must save and load back to the same names.
#include <cstdint>

#include "fuzz/fuzz_input.h"
#include "lorvane/configuration.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lorvane::LorvaneConfig config;
    if (config.loadConfig(fuzz::scratchFile("config", fuzz::bytesOf(data, size))) != 0)
        return 0;
    const std::wstring saved = fuzz::scratchFile("config-saved", "");
    if (config.saveConfig(saved) != 0)
        fuzz::fuzzFailure("a configuration that loaded cannot be saved");
    lorvane::LorvaneConfig again;
    if (again.loadConfig(saved) != 0 || again.names != config.names)
        fuzz::fuzzFailure("a saved configuration reads back differently");
    return 0;
}
