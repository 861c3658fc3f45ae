// XML load, serialise and reload: a document that loads must serialise to text that loads
// again and serialises to the same text.
#include <cstdint>
#include <string>

#include "common/xml/xml_dom.h"
#include "fuzz/fuzz_input.h"
#include "platform/text/utf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto document = common::CXMLDOMDocument2::Create();
    if (!document.LoadXML(platform::text::fromUtf8(fuzz::bytesOf(data, size))))
        return 0;
    const std::wstring first = document.GetXml();
    const auto again = common::CXMLDOMDocument2::Create();
    if (!again.LoadXML(first))
        fuzz::fuzzFailure("a serialised document does not load again");
    if (again.GetXml() != first)
        fuzz::fuzzFailure("a reloaded document serialises differently");
    return 0;
}
