// TarnRequest: the data source of the page language. By its method it runs an SQL
// statement on the block's connection ("SQL"), fetches an XML document over HTTP ("GET",
// "POST"), or edits the result built so far ("xml:empty", "xml:delete"). The nodes that
// "select" picks from its result are exported under the output parent (wrapped in an
// element called `name`, or unwrapped for "*"), and its own children run with the whole
// result as their context.
//
//   <request name="*" method="SQL" value="select _id, title from entry where folder=?">
//     <bind type="text" value="{$request_value}"/>
//   </request>
//
// Contract: as TarnBlock. SQL rows become <results><item> elements: a column named "_x"
// becomes the attribute x, any other column a child element. Placeholders in an SQL text
// or an edit path are substituted so that a value stays data (see placeholders.h).
// HTTP requests are synchronous with a time limit.
#pragma once

#include <string>
#include <string_view>

#include "common/xml/xml_dom.h"
#include "tarn/engine/tarn_block.h"

namespace tarn {

class TarnRequest : public TarnBlock {
  public:
    TarnRequest() = default;
    explicit TarnRequest(const common::CXMLDOMNode& node);

    int compile(const common::CXMLDOMNode& node) override;
    int execute(common::SqliteDB& db, const Parameters& parameters, const TarnVariables& variables,
                const common::CXMLDOMNode& context, const common::CXMLDOMNode& output) override;

    const std::wstring& name() const { return name_; }
    const std::wstring& method() const { return method_; }
    const std::wstring& select() const { return select_; }

  private:
    // Writes the rows as the text of a "results" document ("" when nobody would see
    // them) and selects its items.
    int runSql(common::SqliteDB& db, const std::wstring& text, std::string& rows);
    // Fills `result` (a document holding the "xml" declaration).
    int runHttp(const std::wstring& url, const Parameters& parameters,
                const TarnVariables& variables, const common::CXMLDOMDocument2& result);
    int runEdit(const std::wstring& path, const common::CXMLDOMNode& output);
    // Puts what the selection finds in `result` into the output; with `rows` (SQL rows
    // whose selection is every row) the rows are parsed straight into the output instead.
    int exportResult(const std::wstring& text, const common::CXMLDOMDocument2& result,
                     const std::string* rows, const common::CXMLDOMNode& output);
    std::wstring describe(const std::wstring& text) const;

    std::wstring name_;
    std::wstring value_;
    std::wstring method_;
    std::wstring select_;
    std::wstring user_;
    std::wstring password_;
    TarnVariables binds_;
};

// The row elements of a "results" text that runSql wrote ("" for another text).
std::string_view rowItems(const std::string& rows);

// A new document that holds only the declaration of version 1.0 and UTF-8.
common::CXMLDOMDocument2 newResultDocument();

}  // namespace tarn
