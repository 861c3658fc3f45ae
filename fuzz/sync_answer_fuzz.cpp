// The synchronisation service's answer: a "response" document with the changes to apply.
#include <cstdint>

#include "common/xml/xml_dom.h"
#include "fuzz/fuzz_input.h"
#include "platform/text/utf.h"
#include "plugin/sync/sync_messages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto document = common::CXMLDOMDocument2::Create();
    if (!document.LoadXML(platform::text::fromUtf8(fuzz::bytesOf(data, size))))
        return 0;
    const plugin::SyncResponse response = plugin::ParseSyncResponse(document);
    if (!response.valid && !response.records.empty())
        fuzz::fuzzFailure("records read from an answer that is not a response");
    return 0;
}
