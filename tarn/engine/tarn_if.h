// TarnIf: a block that runs only when its "test" expression holds ("if", and each "when"
// of a "choose"). The test sees the enclosing blocks' variables, typed by their type
// ("int" and "double" as numbers, "text" or none as text), not the block's own.
//
//   <if test="count > 0 .AND. kind = 'list'"> ... </if>
//
// Contract: as TarnBlock. A test that does not compile or run fails the element with the
// evaluator's message.
#pragma once

#include <string>

#include "tarn/engine/tarn_block.h"

namespace tarn {

class TarnIf : public TarnBlock {
  public:
    TarnIf() = default;
    explicit TarnIf(const common::CXMLDOMNode& node);

    int compile(const common::CXMLDOMNode& node) override;
    int execute(common::SqliteDB& db, const Parameters& parameters, const TarnVariables& variables,
                const common::CXMLDOMNode& context, const common::CXMLDOMNode& output) override;

    // Whether the test held at the last execution.
    bool lastResult() const { return lastResult_; }

  private:
    std::wstring test_;
    bool lastResult_ = false;
};

}  // namespace tarn
