#include "tarn/engine/tarn.h"

#include "common/sqlite/sqlite_db.h"
#include "common/util/string_tools.h"
#include "tarn/engine/sql_functions.h"
#include "tarn/engine/tarn_application.h"
#include "tarn/engine/tarn_request.h"
#include "tarn/engine/xml_read.h"

namespace tarn {
namespace {

// The transaction of a writable block: begun on construction; the destructor rolls back
// what was neither committed nor rolled back (a failure or an exception), ignoring any
// error so that it never throws.
class WriteTransaction {
  public:
    explicit WriteTransaction(common::SqliteDB& db) : db_(db) { db_.exec(L"begin;"); }
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    ~WriteTransaction() {
        if (open_) {
            try {
                db_.exec(L"rollback;");
            } catch (const common::SqliteException&) {
            }
        }
    }

    // Commits when the connection changed rows, else rolls back.
    void finish() {
        open_ = false;
        db_.exec(db_.totalChanges() >= 1 ? L"commit;" : L"rollback;");
    }

  private:
    common::SqliteDB& db_;
    bool open_ = true;
};

}  // namespace

std::mutex Tarn::m_globalCS;

Tarn::Tarn(const common::CXMLDOMNode& node) {
    compile(node);
}

int Tarn::compile(const common::CXMLDOMNode& node) {
    name_ = attributeText(node, L"name");
    database_ = attributeText(node, L"database");
    writable_ = common::isTrueText(attributeText(node, L"writable"));
    if (name_.empty()) {
        name_ = L"storage";
    }
    return compileBlock(node);
}

std::wstring Tarn::getDatabaseFilePath() const {
    if (database_.empty()) {
        return L":memory:";
    }
    std::wstring folder = TarnApplication::getRepositoryFilePath();
    if (folder.empty() || (folder.back() != L'/' && folder.back() != L'\\')) {
        folder += L'/';
    }
    return folder + database_;
}

int Tarn::execute(const Parameters& parameters, const common::CXMLDOMDocument2& result) {
    common::SqliteDB db(getDatabaseFilePath(), !writable_);
    if (db.isOpen()) {
        registerSqlFunctions(db);
    }
    if (!writable_) {
        return run(db, parameters, result);
    }
    std::lock_guard<std::mutex> lock(m_globalCS);
    WriteTransaction transaction(db);
    const int status = run(db, parameters, result);
    if (status >= 0) {
        transaction.finish();
    }
    return status;
}

int Tarn::run(common::SqliteDB& db, const Parameters& parameters,
              const common::CXMLDOMDocument2& result) {
    const TarnVariables none;
    if (name_.empty()) {
        return executeBlock(db, parameters, none, common::CXMLDOMNode(), result);
    }
    const common::CXMLDOMNode root =
        result.AppendChild(result.CreateNode(common::NODE_ELEMENT, name_, L""));
    return executeBlock(db, parameters, none, common::CXMLDOMNode(), root);
}

int TarnParser::execute(const Parameters& parameters) {
    return Tarn::execute(parameters, newResultDocument());
}

}  // namespace tarn
