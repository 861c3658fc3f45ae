#include "plugin/repository/repository_connection.h"

#include "plugin/repository/repository.h"

namespace plugin::detail {

namespace {

constexpr int kWrapperError = 1000;

void bindAll(common::SqliteStatement& statement, Values values) {
    int index = 1;
    for (const BoundValue& value : values) {
        if (const auto* text = std::get_if<std::wstring>(&value))
            statement.bind(index, text->c_str());
        else
            statement.bind(index, std::get<int>(value));
        ++index;
    }
}

void queryRows(common::SqliteDB& db, const std::wstring& sql, Values values,
               const std::function<void(common::SqliteQuery&)>& onRow) {
    common::SqliteStatement statement = db.prepareStatement(sql.c_str());
    bindAll(statement, values);
    for (common::SqliteQuery rows = statement.query(); !rows.eof(); rows.next())
        onRow(rows);
}

}  // namespace

std::wstring openRepositoryPath() {
    std::wstring path = repositoryPath();
    if (path.empty())
        throw common::SqliteException(kWrapperError, L"No repository is open");
    return path;
}

std::wstring messageOf(const common::SqliteException& failure) {
    return failure.message();
}

int execute(common::SqliteDB& db, const std::wstring& sql, Values values) {
    common::SqliteStatement statement = db.prepareStatement(sql.c_str());
    bindAll(statement, values);
    return statement.exec();
}

WriteTransaction::WriteTransaction() : WriteTransaction(openRepositoryPath()) {}

WriteTransaction::WriteTransaction(const std::wstring& path) : db_(path.c_str(), false) {
    execute(db_, L"begin immediate transaction;");
}

WriteTransaction::~WriteTransaction() {
    if (committed_)
        return;
    try {
        execute(db_, L"rollback transaction;");
    } catch (const common::SqliteException&) {
        // Closing the connection rolls back whatever is still open.
    }
}

void WriteTransaction::commit() {
    execute(db_, L"commit transaction;");
    committed_ = true;
}

void WriteTransaction::query(const std::wstring& sql, Values values,
                             const std::function<void(common::SqliteQuery&)>& onRow) {
    queryRows(db_, sql, values, onRow);
}

void readRows(const std::wstring& sql, Values values,
              const std::function<void(common::SqliteQuery&)>& onRow) {
    common::SqliteDB db(openRepositoryPath().c_str(), true);
    queryRows(db, sql, values, onRow);
}

}  // namespace plugin::detail
