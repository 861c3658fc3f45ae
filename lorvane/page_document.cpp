#include "lorvane/page_document.h"

#include <cwctype>
#include <map>
#include <vector>

#include "platform/dom/tag_names.h"
#include "platform/text/utf.h"

namespace lorvane {

namespace {

using platform::com::HRESULT;

// The text of the SCRIPT elements, in document order.
std::wstring scriptText(const platform::dom::Document& document) {
    std::wstring text;
    for (const auto& script : document.getElementsByTagName(L"SCRIPT"))
        for (const auto& child : script->childNodes())
            if (child->nodeType() == platform::dom::NodeType::Text)
                text += static_cast<const platform::dom::Text&>(*child).data() + L"\n";
    return text;
}

bool isNameCharacter(wchar_t c) {
    return std::iswalnum(c) || c == L'_' || c == L'$';
}

std::wstring trimmed(const std::wstring& text) {
    const auto first = text.find_first_not_of(L" \t\r\n");
    if (first == std::wstring::npos)
        return {};
    return text.substr(first, text.find_last_not_of(L" \t\r\n") - first + 1);
}

// Every "function name(...) { body }" of the script: name -> body.
std::map<std::wstring, std::wstring> declaredFunctions(const std::wstring& script) {
    std::map<std::wstring, std::wstring> functions;
    constexpr std::wstring_view keyword = L"function";
    for (auto at = script.find(keyword); at != std::wstring::npos;
         at = script.find(keyword, at + 1)) {
        if (at > 0 && isNameCharacter(script[at - 1]))
            continue;
        std::size_t cursor = at + keyword.size();
        const std::size_t nameStart = script.find_first_not_of(L" \t\r\n", cursor);
        if (nameStart == std::wstring::npos || nameStart == cursor)
            continue;
        std::size_t nameEnd = nameStart;
        while (nameEnd < script.size() && isNameCharacter(script[nameEnd]))
            ++nameEnd;
        const std::size_t open = script.find(L'{', nameEnd);
        if (nameEnd == nameStart || open == std::wstring::npos)
            continue;
        int depth = 0;
        std::size_t close = open;
        for (; close < script.size(); ++close) {
            depth += script[close] == L'{' ? 1 : script[close] == L'}' ? -1 : 0;
            if (depth == 0)
                break;
        }
        if (close == script.size())
            break;
        functions.emplace(script.substr(nameStart, nameEnd - nameStart),
                          script.substr(open + 1, close - open - 1));
    }
    return functions;
}

bool isReloadStatement(const std::wstring& statement) {
    return statement == L"location.reload()" || statement == L"window.location.reload()";
}

class PageScript : public platform::com::ComObject<PageScript, plugin::IScriptObject> {
  public:
    explicit PageScript(platform::com::ComPtr<PageDocument> document)
        : document_(std::move(document)) {
        for (auto& [name, body] : declaredFunctions(scriptText(*document_->page()))) {
            names_.push_back(name);
            bodies_.push_back(body);
        }
    }

    HRESULT GetIDsOfNames(const std::wstring& name, plugin::DISPID* id) override {
        for (std::size_t i = 0; i < names_.size(); ++i)
            if (names_[i] == name) {
                *id = static_cast<plugin::DISPID>(i + 1);
                return platform::com::S_OK;
            }
        return plugin::DISP_E_UNKNOWNNAME;
    }

    HRESULT Invoke(plugin::DISPID id, const std::vector<platform::com::Variant>& /*reversed*/,
                   platform::com::Variant* /*result*/) override {
        if (id < 1 || static_cast<std::size_t>(id) > bodies_.size())
            return platform::com::DISP_E_MEMBERNOTFOUND;
        std::vector<std::wstring> statements;
        const std::wstring& body = bodies_[static_cast<std::size_t>(id - 1)];
        std::size_t start = 0;
        while (start <= body.size()) {
            const auto end = body.find_first_of(L";\n", start);
            const std::wstring statement =
                trimmed(body.substr(start, end == std::wstring::npos ? end : end - start));
            if (!statement.empty() && !statement.starts_with(L"//")) {
                if (!isReloadStatement(statement))
                    return plugin::DISP_E_EXCEPTION;
                statements.push_back(statement);
            }
            if (end == std::wstring::npos)
                break;
            start = end + 1;
        }
        for (std::size_t i = 0; i < statements.size(); ++i)
            document_->reload();
        return platform::com::S_OK;
    }

  private:
    platform::com::ComPtr<PageDocument> document_;
    std::vector<std::wstring> names_;
    std::vector<std::wstring> bodies_;
};

}  // namespace

HRESULT PageDocument::get_Script(platform::com::ComPtr<plugin::IScriptObject>* script) {
    if (!script)
        return platform::com::E_POINTER;
    *script = PageScript::create(platform::com::ComPtr<PageDocument>(this));
    return platform::com::S_OK;
}

bool PageDocument::reload() {
    const auto markup = fetcher_ ? fetcher_(page_->URL()) : std::nullopt;
    if (!markup)
        return false;
    page_->write(platform::text::fromUtf8(*markup));
    ++reloads_;
    if (reloaded_)
        reloaded_();
    return true;
}

std::shared_ptr<platform::dom::Document> pageOf(
    const platform::com::ComPtr<platform::browser::IDispatch>& document) {
    const auto typed = document.as<IPageDocument>();
    return typed ? typed->page() : nullptr;
}

platform::com::ComPtr<PageDocument> makePageDocument(const std::string& markup,
                                                     const std::wstring& address,
                                                     PageFetcher fetcher,
                                                     std::function<void()> reloaded) {
    return PageDocument::create(platform::dom::Document::parse(std::string_view(markup), address),
                                std::move(fetcher), std::move(reloaded));
}

}  // namespace lorvane
