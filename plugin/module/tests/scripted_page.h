// A page for tests: a browser that shows one document whose script defines functions
// given as C++ callables. Each call is recorded with its arguments in call order.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "plugin/module/script_interfaces.h"

class ScriptedPage
    : public platform::com::ComObject<ScriptedPage, plugin::IDocumentBrowser,
                                      plugin::IScriptDocument, plugin::IScriptObject> {
  public:
    using Function = std::function<platform::com::Variant(const std::vector<std::wstring>&)>;

    void define(const std::wstring& name, Function function) {
        names_.push_back(name);
        functions_.push_back(std::move(function));
    }

    std::vector<std::pair<std::wstring, std::vector<std::wstring>>> calls;

    platform::com::HRESULT get_Document(
        platform::com::ComPtr<platform::com::IUnknown>* document) override {
        *document = platform::com::ComPtr<platform::com::IUnknown>(
            static_cast<plugin::IScriptDocument*>(this));
        return platform::com::S_OK;
    }
    platform::com::HRESULT get_Script(
        platform::com::ComPtr<plugin::IScriptObject>* script) override {
        *script = platform::com::ComPtr<plugin::IScriptObject>(this);
        return platform::com::S_OK;
    }
    platform::com::HRESULT GetIDsOfNames(const std::wstring& name, plugin::DISPID* id) override {
        for (std::size_t i = 0; i < names_.size(); ++i)
            if (names_[i] == name) {
                *id = static_cast<plugin::DISPID>(i);
                return platform::com::S_OK;
            }
        return plugin::DISP_E_UNKNOWNNAME;
    }
    platform::com::HRESULT Invoke(plugin::DISPID id,
                                  const std::vector<platform::com::Variant>& reversed,
                                  platform::com::Variant* result) override {
        std::vector<std::wstring> arguments;
        for (auto argument = reversed.rbegin(); argument != reversed.rend(); ++argument) {
            if (argument->vt() != platform::com::VT_BSTR)
                return platform::com::DISP_E_TYPEMISMATCH;
            arguments.push_back(argument->text());
        }
        calls.emplace_back(names_.at(id), arguments);
        const platform::com::Variant answer = functions_.at(id)(arguments);
        if (result)
            *result = answer;
        return platform::com::S_OK;
    }

  private:
    friend class platform::com::ComObject<ScriptedPage, plugin::IDocumentBrowser,
                                          plugin::IScriptDocument, plugin::IScriptObject>;
    ScriptedPage() = default;

    std::vector<std::wstring> names_;
    std::vector<Function> functions_;
};
