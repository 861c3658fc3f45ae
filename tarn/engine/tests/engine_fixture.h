// The fixture of the engine tests: a temporary home, a repository folder holding a SQLite
// database "test.db" with an "entry" table, and page files written into a folder of the
// installation's plug-in folder (so that their cache files are kept).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "common/sqlite/sqlite_db.h"
#include "engine_test_support.h"
#include "platform/text/utf.h"
#include "tarn/engine/tarn_application.h"
#include "tarn/engine/tarn_page.h"
#include "testing/environment/temporary_home.h"

namespace tarn_test {

class EngineTest : public ::testing::Test {
  protected:
    EngineTest()
        : repository_(home_.root()),
          plugins_(std::filesystem::path(TAMRIX_STAGE_DIR) / "data" / "plugins") {
        tarn::TarnApplication::init(repository_.wide());
        common::SqliteDB db(databasePath(), false);
        db.exec(
            L"create table entry (id integer primary key, title text, folder text, "
            L"score real);"
            L"insert into entry values (1, 'First', 'news', 1.5);"
            L"insert into entry values (2, 'Second & more', 'news', null);"
            L"insert into entry values (3, 'Third', 'misc', 3);");
    }
    ~EngineTest() override { tarn::TarnApplication::term(); }

    std::wstring databasePath() const { return repository_.wide() + L"/test.db"; }

    // Writes a page file into the plug-in folder and returns its path.
    std::wstring writePage(const std::string& name, const std::string& text) {
        writeText(plugins_.path() / name, text);
        return (plugins_.path() / name).wstring();
    }

    // Compiles and runs a page for `url`; the content, or "FAILED: " and the block's
    // message.
    std::string run(const std::string& page, const std::wstring& url = L"//t/page") {
        page_ = std::make_unique<tarn::TarnPage>(writePage("page.xsl", page));
        if (page_->compile() != 0) {
            return "COMPILE FAILED";
        }
        if (page_->request(url) != 0) {
            return "FAILED: " + platform::text::toUtf8(page_->block().getErrorMessage());
        }
        return page_->content();
    }

    testing_environment::TemporaryHome home_;
    ScratchFolder repository_;
    ScratchFolder plugins_;
    std::unique_ptr<tarn::TarnPage> page_;
};

}  // namespace tarn_test
