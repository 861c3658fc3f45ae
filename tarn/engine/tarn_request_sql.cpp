#include <cstdint>
#include <cwchar>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/sqlite/sqlite_db.h"
#include "common/util/text_conversion.h"
#include "common/xml/xml_child_writer.h"
#include "platform/text/utf.h"
#include "tarn/engine/tarn_request.h"
#include "tarn/engine/xml_text.h"

namespace tarn {
namespace {

using common::XmlChildWriter;

// How the columns of a statement become XML: "_x" columns are attributes x (the last of
// a name wins), the others child elements, each in column order.
struct RowLayout {
    std::vector<std::pair<int, std::string>> attributes;
    std::vector<std::pair<int, std::string>> elements;
};

// Writes rows as "item" elements under one parent, in the names of a layout.
class RowWriter {
  public:
    RowWriter(const common::CXMLDOMNode& parent, const RowLayout& layout)
        : writer_(parent), item_(writer_.name("item")) {
        for (const auto& [index, name] : layout.attributes) {
            attributes_.emplace_back(index, writer_.name(name));
        }
        for (const auto& [index, name] : layout.elements) {
            elements_.emplace_back(index, writer_.name(name));
        }
    }

    void write(const common::SqliteQuery& row) {
        writer_.startElement(item_);
        for (const auto& [index, name] : attributes_) {
            writer_.addAttribute(name, row.columnUtf8(index));
        }
        for (const auto& [index, name] : elements_) {
            writer_.addTextElement(name, row.columnUtf8(index));
        }
    }

    void discard() { writer_.discard(); }

  private:
    XmlChildWriter writer_;
    XmlChildWriter::Name item_;
    std::vector<std::pair<int, XmlChildWriter::Name>> attributes_;
    std::vector<std::pair<int, XmlChildWriter::Name>> elements_;
};

// The layout of the cursor's columns; false with the offending column in `invalid` when
// a name cannot become an XML name.
bool layoutOf(const common::SqliteQuery& cursor, RowLayout& layout, std::wstring& invalid) {
    for (int i = 0; i < cursor.columnCount(); ++i) {
        const std::wstring name = cursor.columnName(i);
        const bool attribute = !name.empty() && name.front() == L'_';
        const std::wstring xmlName = attribute ? name.substr(1) : name;
        if (!isXmlName(xmlName)) {
            invalid = name;
            return false;
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
    return true;
}

}  // namespace

int TarnRequest::runSql(common::SqliteDB& db, const std::wstring& text,
                        const common::CXMLDOMNode& output, common::CXMLDOMNode* context) {
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
        const bool wanted = !name_.empty() || context != nullptr || !binds_.empty();
        if (!wanted) {
            cursor.finalize();
            return 0;
        }
        RowLayout layout;
        if (std::wstring invalid; !layoutOf(cursor, layout, invalid)) {
            return fail(-1, L"Invalid column name for XML: " + invalid);
        }
        select_ = L"/results/item";
        // The rows go straight into the output, and into a "results" document of their
        // own for the children, which see them whole.
        std::optional<RowWriter> exported;
        std::optional<RowWriter> seen;
        const common::CXMLDOMNode target = exportTarget(output);
        if (!target.IsEmpty()) {
            exported.emplace(target, layout);
        }
        if (context != nullptr) {
            const common::CXMLDOMDocument2 results = newResultDocument();
            seen.emplace(
                results.AppendChild(results.CreateNode(common::NODE_ELEMENT, L"results", L"")),
                layout);
            *context = results;
        }
        try {
            for (; !cursor.eof(); cursor.next()) {
                if (exported) {
                    exported->write(cursor);
                }
                if (seen) {
                    seen->write(cursor);
                }
            }
        } catch (...) {
            // A request fails whole: what it wrote leaves the output again.
            if (!target.IsEmpty() && target != output) {
                output.RemoveChild(target);
            } else if (exported) {
                exported->discard();
            }
            throw;
        }
        cursor.finalize();
    } catch (const common::SqliteException& error) {
        return fail(-1, error.message());
    } catch (const common::CComException&) {
        return fail(-1,
                    L"Export to result document failed: " + describe(text) + L" select=" + select_);
    }
    return 0;
}

}  // namespace tarn
