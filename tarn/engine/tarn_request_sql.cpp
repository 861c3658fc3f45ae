#include <cstdint>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "common/sqlite/sqlite_db.h"
#include "common/util/text_conversion.h"
#include "platform/text/utf.h"
#include "tarn/engine/tarn_request.h"
#include "tarn/engine/xml_text.h"

namespace tarn {
namespace {

constexpr std::string_view kRowsOpen = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><results>";
constexpr std::string_view kRowsClose = "</results>";

// How the columns of a statement become XML: "_x" columns are attributes x (the last of
// a name wins), the others child elements, each in column order.
struct RowLayout {
    std::vector<std::pair<int, std::string>> attributes;
    std::vector<std::pair<int, std::string>> elements;
};

// The rows are written as UTF-8 text straight from SQLite's own text and parsed once.
void appendRow(const common::SqliteQuery& row, const RowLayout& layout, std::string& xml) {
    xml += "<item";
    for (const auto& [index, name] : layout.attributes) {
        xml += ' ';
        xml += name;
        xml += "=\"";
        appendEscaped(row.columnUtf8(index), xml);
        xml += '"';
    }
    xml += '>';
    for (const auto& [index, name] : layout.elements) {
        xml += '<';
        xml += name;
        xml += '>';
        appendEscaped(row.columnUtf8(index), xml);
        xml += "</";
        xml += name;
        xml += '>';
    }
    xml += "</item>";
}

}  // namespace

std::string_view rowItems(const std::string& rows) {
    std::string_view items(rows);
    if (!items.starts_with(kRowsOpen) || !items.ends_with(kRowsClose)) {
        return {};
    }
    items.remove_prefix(kRowsOpen.size());
    items.remove_suffix(kRowsClose.size());
    return items;
}

int TarnRequest::runSql(common::SqliteDB& db, const std::wstring& text, std::string& rows) {
    try {
        common::SqliteStatement statement = db.prepareStatement(text);
        for (std::size_t i = 0; i < binds_.size(); ++i) {
            const TarnVariable& bind = binds_[i];
            const int index = static_cast<int>(i) + 1;
            if (bind.type().empty() || bind.type() == L"text") {
                statement.bind(index, std::wstring_view(bind.currentValue()));
            } else if (bind.type() == L"int") {
                const std::int64_t number = std::wcstoll(bind.currentValue().c_str(), nullptr, 10);
                statement.bind(index, number);
            } else if (bind.type() == L"double") {
                statement.bind(index, common::toDouble(bind.currentValue()));
            } else {
                statement.finalize();
                return fail(-1, L"Unsupported data type: " + bind.type());
            }
        }
        common::SqliteQuery cursor = statement.query();
        const bool wanted =
            !name_.empty() || !variables().empty() || !binds_.empty() || !children().empty();
        if (wanted) {
            RowLayout layout;
            for (int i = 0; i < cursor.columnCount(); ++i) {
                const std::wstring name = cursor.columnName(i);
                const bool attribute = !name.empty() && name.front() == L'_';
                const std::wstring xmlName = attribute ? name.substr(1) : name;
                if (!isXmlName(xmlName)) {
                    return fail(-1, L"Invalid column name for XML: " + name);
                }
                const std::string utf8Name = platform::text::toUtf8(xmlName);
                if (!attribute) {
                    layout.elements.emplace_back(i, utf8Name);
                    continue;
                }
                std::erase_if(layout.attributes,
                              [&](const auto& known) { return known.second == utf8Name; });
                layout.attributes.emplace_back(i, utf8Name);
            }
            rows = kRowsOpen;
            for (; !cursor.eof(); cursor.next()) {
                appendRow(cursor, layout, rows);
            }
            rows += kRowsClose;
            select_ = L"/results/item";
        }
        cursor.finalize();
    } catch (const common::SqliteException& error) {
        return fail(-1, error.message());
    }
    return 0;
}

}  // namespace tarn
