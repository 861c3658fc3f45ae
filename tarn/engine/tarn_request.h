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
    // Runs the statement and writes its rows as "item" elements into the export target
    // under `output`, and, with `context`, into a new "results" document that `context`
    // then holds; a failure leaves the output as it was.
    int runSql(common::SqliteDB& db, const std::wstring& text, const common::CXMLDOMNode& output,
               common::CXMLDOMNode* context);
    // Fills `result` (a document holding the "xml" declaration).
    int runHttp(const std::wstring& url, const Parameters& parameters,
                const TarnVariables& variables, const common::CXMLDOMDocument2& result);
    int runEdit(const std::wstring& path, const common::CXMLDOMNode& output);
    // Moves what the selection finds in `result` into the export target.
    int exportResult(const std::wstring& text, const common::CXMLDOMDocument2& result,
                     const common::CXMLDOMNode& output);
    // Where the result goes: a new element `name` appended to the output, the output
    // itself for "*"; empty when the request has no name or there is no output.
    common::CXMLDOMNode exportTarget(const common::CXMLDOMNode& output) const;
    std::wstring describe(const std::wstring& text) const;

    std::wstring name_;
    std::wstring value_;
    std::wstring method_;
    std::wstring select_;
    std::wstring user_;
    std::wstring password_;
    TarnVariables binds_;
};

// A new document that holds only the declaration of version 1.0 and UTF-8; given the
// document it replaces, it frees that one while rows are written into it (see
// CXMLDOMDocument2::CreateReplacing).
common::CXMLDOMDocument2 newResultDocument();
common::CXMLDOMDocument2 newResultDocument(common::CXMLDOMDocument2&& replaced);

}  // namespace tarn
