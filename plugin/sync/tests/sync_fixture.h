// A synchronisation test bench: a temporary home, an in-memory registry, a fresh
// repository file, a loopback server standing in for the service, and the status texts
// the client posts.
#pragma once

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "platform/registry/store.h"
#include "platform/text/utf.h"
#include "plugin/repository/repository.h"
#include "plugin/repository/repository_connection.h"
#include "plugin/sync/sync_client.h"
#include "plugin/sync/sync_settings.h"
#include "testing/environment/temporary_home.h"
#include "testing/http/loopback_server.h"

class SyncTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ = platform::text::fromUtf8((home_.root() / "tamrix.db").string());
        ASSERT_EQ(plugin::OpenRepository(path_), 0);
        plugin::storeSyncServer(platform::text::fromUtf8(server_.url("")));
        plugin::storeSyncKey(L"secret&key");
    }
    void TearDown() override { plugin::closeRepository(); }

    plugin::SyncStatusSink sink() {
        return [this](const std::wstring& text) {
            std::lock_guard lock(mutex_);
            statuses_.push_back(text);
        };
    }
    std::vector<std::wstring> statuses() const {
        std::lock_guard lock(mutex_);
        return statuses_;
    }

    plugin::SyncOutcome runOnce() {
        plugin::SyncClient client(sink());
        return client.run();
    }

    // Replies to "/api/sync" with a response document.
    void answer(const std::string& updateTime, const std::string& items,
                std::chrono::milliseconds delay = {}) {
        server_.reply("/api/sync", {.status = 200,
                                    .body = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                                            "<response name=\"sync\" updateTime=\"" +
                                            updateTime + "\">" + items + "</response>",
                                    .contentType = "text/xml; charset=utf-8",
                                    .delay = delay});
    }

    plugin::EntryRecord entry(const std::wstring& guid) const {
        plugin::EntryRecord record;
        record.guid = L"?";
        plugin::readEntry(guid, record);
        return record;
    }

    std::wstring insert(const std::wstring& title, const std::wstring& url = L"http://a.org/x") {
        plugin::EntryRecord record;
        record.title = title;
        record.url = url;
        record.text = L"text of " + title;
        return plugin::insertEntry(record);
    }

    // The rows of one query, their columns joined with "|".
    std::vector<std::wstring> rows(const std::wstring& sql) const {
        std::vector<std::wstring> found;
        plugin::detail::readRows(sql, {}, [&](common::SqliteQuery& row) {
            std::wstring line;
            for (int c = 0; c < row.columnCount(); ++c)
                line += (c ? L"|" : L"") + row.columnText(c);
            found.push_back(line);
        });
        return found;
    }

    // The request body inflated and read as UTF-16LE.
    static std::wstring inflateBody(const std::string& body) {
        std::vector<unsigned char> plain(body.size() * 64 + 1024);
        uLongf size = static_cast<uLongf>(plain.size());
        if (uncompress(plain.data(), &size, reinterpret_cast<const Bytef*>(body.data()),
                       static_cast<uLong>(body.size())) != Z_OK)
            return L"<not zlib>";
        if (size % 2 != 0)
            return L"<odd length>";
        std::u16string units;
        for (uLongf i = 0; i < size; i += 2)
            units.push_back(static_cast<char16_t>(plain[i] | (plain[i + 1] << 8)));
        return platform::text::fromUtf16(units);
    }

    testing_environment::TemporaryHome home_;
    platform::registry::ScopedMemoryRegistry registry_;
    testing_http::LoopbackServer server_;
    std::wstring path_;
    mutable std::mutex mutex_;
    std::vector<std::wstring> statuses_;
};
