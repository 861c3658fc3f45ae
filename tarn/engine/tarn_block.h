// TarnBlock: an element that holds variables and child elements ("Tarn", "if", "when",
// "otherwise", "for-each", "request"). Executing it evaluates its variables, which its
// children and their descendants then see, and runs its children in order, stopping at
// the first failure.
//
// Contract: owns its children (deleted with the block); not copyable, so no two blocks
// ever share a child. Threading and errors as TarnBase.
#pragma once

#include <memory>
#include <vector>

#include "tarn/engine/tarn_base.h"
#include "tarn/engine/tarn_variable.h"

namespace tarn {

class TarnBlock : public TarnBase {
  public:
    TarnBlock() = default;
    explicit TarnBlock(const common::CXMLDOMNode& node);
    TarnBlock(const TarnBlock&) = delete;
    TarnBlock& operator=(const TarnBlock&) = delete;
    ~TarnBlock() override = default;

    // Deletes the children, empties both lists and resets the error code.
    void clear();

    // Collects the "variable" children and the "choose", "if", "for-each", "request" and
    // "output" children; everything else is skipped. 0.
    int compile(const common::CXMLDOMNode& node) override;
    int execute(common::SqliteDB& db, const Parameters& parameters, const TarnVariables& variables,
                const common::CXMLDOMNode& context, const common::CXMLDOMNode& output) override;

    const std::vector<std::unique_ptr<TarnBase>>& children() const { return children_; }
    const TarnVariables& variables() const { return variables_; }

  protected:
    // Compiles the block part: what compile does, without the subclass's attributes.
    int compileBlock(const common::CXMLDOMNode& node);
    // Runs the block part: what execute does for a plain block.
    int executeBlock(common::SqliteDB& db, const Parameters& parameters,
                     const TarnVariables& variables, const common::CXMLDOMNode& context,
                     const common::CXMLDOMNode& output);

  private:
    std::vector<std::unique_ptr<TarnBase>> children_;
    TarnVariables variables_;
};

}  // namespace tarn
