// libcurl, loaded by the first transfer rather than with the program: it and the libraries
// only it needs (TLS, Kerberos, LDAP, SSH, IDN, ...) are a third of the relocations a
// program's start does, and many runs fetch nothing.
//
// Contract: libcurl() loads the library and runs its global set-up once (any thread; the
// others wait for the first) and keeps it for the process; it answers null, with
// curlLoadError() telling why, when the library or one of its functions is missing.
#pragma once

#include <curl/curl.h>

#include <string>

namespace platform::net {

struct CurlLibrary {
    decltype(&curl_easy_init) easyInit = nullptr;
    decltype(&curl_easy_cleanup) easyCleanup = nullptr;
    decltype(&curl_easy_setopt) easySetopt = nullptr;
    decltype(&curl_easy_getinfo) easyGetinfo = nullptr;
    decltype(&curl_easy_strerror) easyStrerror = nullptr;
    decltype(&curl_multi_init) multiInit = nullptr;
    decltype(&curl_multi_cleanup) multiCleanup = nullptr;
    decltype(&curl_multi_add_handle) multiAddHandle = nullptr;
    decltype(&curl_multi_remove_handle) multiRemoveHandle = nullptr;
    decltype(&curl_multi_perform) multiPerform = nullptr;
    decltype(&curl_multi_poll) multiPoll = nullptr;
    decltype(&curl_multi_info_read) multiInfoRead = nullptr;
    decltype(&curl_slist_append) slistAppend = nullptr;
    decltype(&curl_slist_free_all) slistFreeAll = nullptr;
};

const CurlLibrary* libcurl();
const std::string& curlLoadError();

}  // namespace platform::net
