#include <string>
#include <utility>
#include <vector>

#include "common/sqlite/sqlite_db.h"
#include "common/util/text_conversion.h"
#include "tarn/engine/tarn_request.h"
#include "tarn/engine/xml_text.h"

namespace tarn {
namespace {

// One row as XML: "_x" columns as attributes (a later one of the same name wins), the
// rest as child elements.
void appendRow(const common::SqliteQuery& row, const std::vector<std::wstring>& names,
               std::wstring& xml) {
    std::vector<std::pair<std::wstring, std::wstring>> attributes;
    std::wstring elements;
    for (int i = 0; i < static_cast<int>(names.size()); ++i) {
        const std::wstring& name = names[i];
        if (!name.empty() && name.front() == L'_') {
            std::wstring attribute = name.substr(1);
            std::wstring value = row.columnText(i);
            bool replaced = false;
            for (auto& [known, knownValue] : attributes) {
                if (known == attribute) {
                    knownValue = std::move(value);
                    replaced = true;
                }
            }
            if (!replaced) {
                attributes.emplace_back(std::move(attribute), std::move(value));
            }
        } else {
            elements += L'<' + name + L'>';
            appendEscaped(row.columnText(i), elements);
            elements += L"</" + name + L'>';
        }
    }
    xml += L"<item";
    for (const auto& [name, value] : attributes) {
        xml += L' ' + name + L"=\"";
        appendEscaped(value, xml);
        xml += L'"';
    }
    xml += L'>' + elements + L"</item>";
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
                statement.bind(index, static_cast<int>(common::toLong(bind.currentValue())));
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
            std::vector<std::wstring> names;
            for (int i = 0; i < rows.columnCount(); ++i) {
                names.push_back(rows.columnName(i));
                const std::wstring& name = names.back();
                const bool attribute = !name.empty() && name.front() == L'_';
                if (!isXmlName(attribute ? name.substr(1) : name)) {
                    return fail(-1, L"Invalid column name for XML: " + name);
                }
            }
            std::wstring xml = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?><results>";
            for (; !rows.eof(); rows.next()) {
                appendRow(rows, names, xml);
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
