// TarnOutput: the "output" element, a message with typed binds. Executing it substitutes
// the placeholders of the message and produces nothing in the result.
//
//   <output message="seen {$request_value}"><bind type="int" value="{$id}"/></output>
//
// Contract: a copyable value; threading and errors as TarnBase. Binds are variables
// without a name, managed by index.
#pragma once

#include <string>

#include "tarn/engine/tarn_base.h"
#include "tarn/engine/tarn_variable.h"

namespace tarn {

class TarnOutput : public TarnBase {
  public:
    TarnOutput() = default;
    explicit TarnOutput(const common::CXMLDOMNode& node);

    // Reads "message"; each "bind" child becomes a bind. 0.
    int compile(const common::CXMLDOMNode& node) override;
    int execute(common::SqliteDB& db, const Parameters& parameters, const TarnVariables& variables,
                const common::CXMLDOMNode& context, const common::CXMLDOMNode& output) override;

    // Appends a bind; the new count.
    int bind(const std::wstring& type, const std::wstring& value);
    // Replaces bind `index`; the count, or -1 for an index out of range.
    int setBind(int index, const std::wstring& type, const std::wstring& value);
    // "" for an index out of range.
    std::wstring getBindType(int index) const;
    std::wstring getBindValue(int index) const;
    int count() const { return static_cast<int>(binds_.size()); }
    void clear() { binds_.clear(); }

    const std::wstring& message() const { return message_; }

  private:
    bool inRange(int index) const { return index >= 0 && index < count(); }

    std::wstring message_;
    TarnVariables binds_;
};

}  // namespace tarn
