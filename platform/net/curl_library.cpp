#include "platform/net/curl_library.h"

#include "platform/system/module.h"

namespace platform::net {
namespace {

constexpr const char* kLibraryFile = "libcurl.so.4";

struct Loaded {
    platform::system::Module library;
    CurlLibrary functions;
    std::string error;
    bool complete = false;
};

bool bindAll(platform::system::Module& library, CurlLibrary& f) {
    return library.bind(f.easyInit, "curl_easy_init") &&
           library.bind(f.easyCleanup, "curl_easy_cleanup") &&
           library.bind(f.easySetopt, "curl_easy_setopt") &&
           library.bind(f.easyGetinfo, "curl_easy_getinfo") &&
           library.bind(f.easyStrerror, "curl_easy_strerror") &&
           library.bind(f.multiInit, "curl_multi_init") &&
           library.bind(f.multiCleanup, "curl_multi_cleanup") &&
           library.bind(f.multiAddHandle, "curl_multi_add_handle") &&
           library.bind(f.multiRemoveHandle, "curl_multi_remove_handle") &&
           library.bind(f.multiPerform, "curl_multi_perform") &&
           library.bind(f.multiPoll, "curl_multi_poll") &&
           library.bind(f.multiInfoRead, "curl_multi_info_read") &&
           library.bind(f.slistAppend, "curl_slist_append") &&
           library.bind(f.slistFreeAll, "curl_slist_free_all");
}

const Loaded& loaded() {
    // Never closed: transfers of other threads may be running until the program ends.
    static const Loaded* const once = [] {
        auto* result = new Loaded;
        decltype(&curl_global_init) globalInit = nullptr;
        if (!result->library.open(kLibraryFile) || !bindAll(result->library, result->functions) ||
            !result->library.bind(globalInit, "curl_global_init")) {
            result->error =
                "cannot load " + std::string(kLibraryFile) + ": " + result->library.error();
            return result;
        }
        globalInit(CURL_GLOBAL_DEFAULT);
        result->complete = true;
        return result;
    }();
    return *once;
}

}  // namespace

const CurlLibrary* libcurl() {
    return loaded().complete ? &loaded().functions : nullptr;
}

const std::string& curlLoadError() {
    return loaded().error;
}

}  // namespace platform::net
