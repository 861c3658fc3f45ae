// The update service's Atom feed of released versions.
#include <cstdint>

#include "addon/shell/update_feed.h"
#include "common/xml/xml_dom.h"
#include "fuzz/fuzz_input.h"
#include "platform/text/utf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto document = common::CXMLDOMDocument2::Create();
    if (!document.LoadXML(platform::text::fromUtf8(fuzz::bytesOf(data, size))))
        return 0;
    addon::readUpdateFeed(document);
    return 0;
}
