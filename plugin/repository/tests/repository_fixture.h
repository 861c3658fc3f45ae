// A fresh repository file in a temporary folder for each test; the folder is removed
// afterwards and the module-wide repository path emptied.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>

#include "platform/text/utf.h"
#include "plugin/repository/repository.h"

class RepositoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/repository-test-XXXXXX";
        folder_ = mkdtemp(pattern);
        path_ = platform::text::fromUtf8((folder_ / "tamrix.db").string());
        ASSERT_EQ(plugin::OpenRepository(path_), 0)
            << platform::text::toUtf8(plugin::repositoryError());
    }
    void TearDown() override {
        plugin::closeRepository();
        std::filesystem::remove_all(folder_);
    }

    std::string file() const { return platform::text::toUtf8(path_); }

    // Runs one query straight through SQLite and returns the first column of the first row.
    std::string scalar(const std::string& sql) const {
        sqlite3* db = nullptr;
        sqlite3_open_v2(file().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* statement = nullptr;
        std::string value = "<error>";
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
            value = "<none>";
            if (sqlite3_step(statement) == SQLITE_ROW) {
                const auto* text = sqlite3_column_text(statement, 0);
                value = text ? reinterpret_cast<const char*>(text) : "<null>";
            }
        }
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return value;
    }

    std::wstring insert(const std::wstring& title, const std::wstring& category = L"",
                        const std::wstring& url = L"http://example.org/a/b") {
        plugin::EntryRecord record;
        record.title = title;
        record.category = category;
        record.url = url;
        return plugin::insertEntry(record);
    }

    std::filesystem::path folder_;
    std::wstring path_;
};
