#include "tarn/engine/tarn_request.h"

#include "common/sqlite/sqlite_db.h"
#include "tarn/engine/placeholders.h"
#include "tarn/engine/xml_read.h"

namespace tarn {

common::CXMLDOMDocument2 newResultDocument() {
    return newResultDocument(common::CXMLDOMDocument2());
}

common::CXMLDOMDocument2 newResultDocument(common::CXMLDOMDocument2&& replaced) {
    const auto document = common::CXMLDOMDocument2::CreateReplacing(std::move(replaced));
    document.AppendChild(
        document.CreateProcessingInstruction(L"xml", L"version=\"1.0\" encoding=\"UTF-8\""));
    return document;
}

TarnRequest::TarnRequest(const common::CXMLDOMNode& node) {
    compile(node);
}

int TarnRequest::compile(const common::CXMLDOMNode& node) {
    name_ = attributeText(node, L"name");
    value_ = attributeText(node, L"value");
    method_ = attributeText(node, L"method");
    select_ = attributeText(node, L"select");
    user_ = attributeText(node, L"user");
    password_ = attributeText(node, L"password");
    if (method_.empty()) {
        method_ = L"GET";
    }
    if (select_.empty()) {
        select_ = L"/";
    }
    binds_.clear();
    forEachChild(node, [&](const common::CXMLDOMNode& child) {
        if (child.GetNodeName() == L"bind") {
            binds_.emplace_back(child);
        }
    });
    return compileBlock(node);
}

std::wstring TarnRequest::describe(const std::wstring& text) const {
    return L"url=" + text + L" method=" + method_;
}

int TarnRequest::execute(common::SqliteDB& db, const Parameters& parameters,
                         const TarnVariables& variables, const common::CXMLDOMNode& context,
                         const common::CXMLDOMNode& output) {
    const bool isSql = method_ == L"SQL";
    const bool isEdit = method_ == L"xml:empty" || method_ == L"xml:delete";
    const PlaceholderSyntax syntax = isSql    ? PlaceholderSyntax::Sql
                                     : isEdit ? PlaceholderSyntax::XPath
                                              : PlaceholderSyntax::Text;
    const std::wstring text = substitutePlaceholders(value_, &variables, parameters, syntax);
    for (TarnVariable& bind : binds_) {
        const int result = bind.evaluate(parameters, context);
        if (result < 0) {
            return failWith(result, bind);
        }
    }
    const bool childrenSeeResult = !children().empty() || !TarnBlock::variables().empty();
    common::CXMLDOMNode childContext;
    int status = 0;
    if (isSql) {
        if (!db.isOpen()) {
            return 0;
        }
        status = runSql(db, text, output, childrenSeeResult ? &childContext : nullptr);
    } else if (method_ == L"GET" || method_ == L"POST") {
        const common::CXMLDOMDocument2 result = newResultDocument();
        status = runHttp(text, parameters, variables, result);
        if (status >= 0) {
            // The children see the whole result, also what the export moves out of it.
            if (childrenSeeResult) {
                const auto copy = common::CXMLDOMDocument2::Create();
                copy.LoadXML(result.GetXml());
                childContext = copy;
            }
            status = exportResult(text, result, output);
        }
    } else if (isEdit) {
        status = runEdit(text, output);
    } else {
        return fail(-1, L"unsupport method: " + method_);
    }
    if (status < 0) {
        return status;
    }
    return executeBlock(db, parameters, variables, childContext, output);
}

int TarnRequest::runEdit(const std::wstring& path, const common::CXMLDOMNode& output) {
    if (output.IsEmpty()) {
        return 0;
    }
    const common::CXMLDOMNodeList nodes = output.SelectNodes(path);
    const long count = nodes.GetLength();
    for (long i = 0; i < count; ++i) {
        const common::CXMLDOMNode node = nodes.GetItem(i);
        if (method_ == L"xml:empty") {
            while (true) {
                const common::CXMLDOMNode child = node.GetFirstChild();
                if (child.IsEmpty()) {
                    break;
                }
                node.RemoveChild(child);
            }
        } else {
            const common::CXMLDOMNode parent = node.GetParentNode();
            if (!parent.IsEmpty()) {
                parent.RemoveChild(node);
            }
        }
    }
    return 0;
}

common::CXMLDOMNode TarnRequest::exportTarget(const common::CXMLDOMNode& output) const {
    if (name_.empty() || output.IsEmpty()) {
        return {};
    }
    if (name_ == L"*") {
        return output;
    }
    common::CXMLDOMDocument document = output.GetOwnerDocument();
    if (document.IsEmpty()) {
        document = documentOf(output);
    }
    return output.AppendChild(document.CreateNode(common::NODE_ELEMENT, name_, L""));
}

int TarnRequest::exportResult(const std::wstring& text, const common::CXMLDOMDocument2& result,
                              const common::CXMLDOMNode& output) {
    try {
        const common::CXMLDOMNode target = exportTarget(output);
        if (target.IsEmpty()) {
            return 0;
        }
        const common::CXMLDOMNodeList nodes = result.SelectNodes(select_);
        const long count = nodes.GetLength();
        for (long i = 0; i < count; ++i) {
            target.AppendChild(nodes.GetItem(i));
        }
    } catch (const common::CComException&) {
        return fail(-1,
                    L"Export to result document failed: " + describe(text) + L" select=" + select_);
    }
    return 0;
}

}  // namespace tarn
