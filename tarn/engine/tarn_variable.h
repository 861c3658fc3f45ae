// TarnVariable: a named, typed value of a data block ("variable" elements) and a typed
// parameter of a request or output ("bind" elements).
//
//   <variable name="id" type="int" value="{$request_value}"/>
//   <variable name="title" select="title"/>      (the text of the first match)
//
// Contract: a plain copyable value; see TarnBase for threading and errors. The current
// value is set by evaluate and read by the blocks below the one that declared it.
#pragma once

#include <string>

#include "tarn/engine/tarn_base.h"

namespace tarn {

class TarnVariable : public TarnBase {
  public:
    TarnVariable() = default;
    explicit TarnVariable(const common::CXMLDOMNode& node);

    // Reads name, type ("text", "int", "double"), value (or the element's text) and
    // select; 0.
    int compile(const common::CXMLDOMNode& node) override;
    // evaluate(parameters, context).
    int execute(common::SqliteDB& db, const Parameters& parameters, const TarnVariables& variables,
                const common::CXMLDOMNode& context, const common::CXMLDOMNode& output) override;
    // The current value becomes `value` with the parameters substituted; when that is
    // empty, the text of the first node that `select` finds from `context` (nothing
    // without a context). -1 for a selection the DOM refuses.
    virtual int evaluate(const Parameters& parameters, const common::CXMLDOMNode& context);

    const std::wstring& name() const { return name_; }
    const std::wstring& type() const { return type_; }
    const std::wstring& value() const { return value_; }
    const std::wstring& select() const { return select_; }
    const std::wstring& currentValue() const { return current_; }

    void setType(std::wstring type) { type_ = std::move(type); }
    void setValue(std::wstring value) { value_ = std::move(value); }
    void setCurrentValue(std::wstring value) { current_ = std::move(value); }

  private:
    std::wstring name_;
    std::wstring type_;
    std::wstring value_;
    std::wstring select_;
    std::wstring current_;
};

// The variable named `name` (case-sensitive) in `variables`, or null.
const TarnVariable* findVariable(const TarnVariables& variables, const std::wstring& name);

}  // namespace tarn
