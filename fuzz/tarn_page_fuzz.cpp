// A Tarn page as a plug-in ships it: compiled, run over a small repository database and
// transformed. Requests run as SQL here (the fuzzer never reaches the network), and texts
// that would load other files or databases (document(), imports, ATTACH) are passed over.
#include <unistd.h>
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <string>

#include "common/sqlite/sqlite_db.h"
#include "common/xml/xml_dom.h"
#include "fuzz/fuzz_input.h"
#include "platform/text/utf.h"
#include "tarn/engine/tarn_application.h"
#include "tarn/engine/tarn_page.h"

namespace {

std::filesystem::path g_folder;

bool reachesOutside(std::string_view bytes) {
    std::string lower(bytes);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* word : {"document(", "import", "attach", "load_extension"})
        if (lower.find(word) != std::string::npos)
            return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_folder =
        std::filesystem::temp_directory_path() / ("tamrix-fuzz-tarn-" + std::to_string(::getpid()));
    std::filesystem::create_directories(g_folder);
    std::filesystem::remove(g_folder / "test.db");
    common::SqliteDB db((g_folder / "test.db").wstring(), false);
    db.exec(
        L"create table entry (id integer primary key, title text, folder text, score real);"
        L"insert into entry values (1, 'First', 'news', 1.5);"
        L"insert into entry values (2, 'Second & <more>', 'news', null);"
        L"insert into entry values (3, 'Third', 'misc', 3);");
    tarn::TarnApplication::init(g_folder.wstring());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::bytesOf(data, size);
    if (reachesOutside(bytes))
        return 0;
    const auto document = common::CXMLDOMDocument2::Create();
    if (!document.LoadXML(platform::text::fromUtf8(bytes)))
        return 0;
    const auto requests = document.SelectNodes(L"//*[local-name()='request']");
    for (long i = 0; i < requests.GetLength(); ++i)
        requests.GetItem(i).SetAttribute(L"method", L"SQL");
    tarn::TarnPage page((g_folder / "page.xsl").wstring());
    if (page.compile(document) != 0)
        return 0;
    if (page.execute({{L"id", L"2"}, {L"sort", L"title"}}) == 0)
        page.transform();
    return 0;
}
