// The page engine's expression language: compile a text with a few variables defined,
// then execute it. Errors must come as CParserException, nothing else.
#include <cstdint>

#include "fuzz/fuzz_input.h"
#include "platform/text/utf.h"
#include "tarn/expression/parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tarn::CParser parser;
    parser.defineVariable(L"count", platform::com::Variant::fromI4(3));
    parser.defineVariable(L"ratio", platform::com::Variant::fromDouble(-2.5));
    parser.defineVariable(L"kind", platform::com::Variant::fromString(L"list"));
    parser.defineVariable(L"flag", platform::com::Variant::fromBool(true));
    parser.defineVariable(L"nothing", platform::com::Variant::null());
    try {
        parser.compile(platform::text::fromUtf8(fuzz::bytesOf(data, size)));
        parser.execute();
        parser.execute();
    } catch (const tarn::CParserException&) {
    }
    return 0;
}
