#include <cstdint>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "common/sqlite/sqlite_db.h"
#include "common/util/text_conversion.h"
#include "tarn/engine/tarn_request.h"
#include "tarn/engine/xml_text.h"

namespace tarn {
namespace {

// How the columns of a statement become XML: "_x" columns are attributes x (the last of
// a name wins), the others child elements, each in column order.
struct RowLayout {
    std::vector<std::pair<int, std::wstring>> attributes;
    std::vector<std::pair<int, std::wstring>> elements;
};

void appendRow(const common::SqliteQuery& row, const RowLayout& layout, std::wstring& xml) {
    xml += L"<item";
    for (const auto& [index, name] : layout.attributes) {
        xml += L' ';
        xml += name;
        xml += L"=\"";
        appendEscaped(row.columnText(index), xml);
        xml += L'"';
    }
    xml += L'>';
    for (const auto& [index, name] : layout.elements) {
        xml += L'<';
        xml += name;
        xml += L'>';
        appendEscaped(row.columnText(index), xml);
        xml += L"</";
        xml += name;
        xml += L'>';
    }
    xml += L"</item>";
}

}  // namespace

int TarnRequest::runSql(common::SqliteDB& db, const std::wstring& text,
                        const common::CXMLDOMDocument2& result) {
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
        common::SqliteQuery rows = statement.query();
        const bool wanted =
            !name_.empty() || !variables().empty() || !binds_.empty() || !children().empty();
        if (wanted) {
            RowLayout layout;
            for (int i = 0; i < rows.columnCount(); ++i) {
                const std::wstring name = rows.columnName(i);
                const bool attribute = !name.empty() && name.front() == L'_';
                const std::wstring xmlName = attribute ? name.substr(1) : name;
                if (!isXmlName(xmlName)) {
                    return fail(-1, L"Invalid column name for XML: " + name);
                }
                if (!attribute) {
                    layout.elements.emplace_back(i, xmlName);
                    continue;
                }
                std::erase_if(layout.attributes,
                              [&](const auto& known) { return known.second == xmlName; });
                layout.attributes.emplace_back(i, xmlName);
            }
            std::wstring xml = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?><results>";
            for (; !rows.eof(); rows.next()) {
                appendRow(rows, layout, xml);
            }
            xml += L"</results>";
            result.LoadXML(xml);
            select_ = L"/results/item";
        }
        rows.finalize();
    } catch (const common::SqliteException& error) {
        return fail(-1, error.message());
    }
    return 0;
}

}  // namespace tarn
