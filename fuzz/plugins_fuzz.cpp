// A plug-in's catalogue, plugins.xml: read it and resolve its item files.
#include <cstdint>

#include "fuzz/fuzz_input.h"
#include "tarn/engine/plugin_manifest.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tarn::PluginManifest manifest;
    if (manifest.load(fuzz::scratchFile("plugins", fuzz::bytesOf(data, size))) != 0)
        return 0;
    for (const auto& page : manifest.pages)
        manifest.resolve(page.file);
    for (const auto& transcoder : manifest.transcoders)
        manifest.resolve(transcoder.file);
    return 0;
}
