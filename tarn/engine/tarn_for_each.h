// TarnForEach: runs its block once for every node that "select" (default "/results/item")
// finds from the context node, with that node as the context. No context, no match: no
// run.
//
// Contract: as TarnBlock.
#pragma once

#include <string>

#include "tarn/engine/tarn_block.h"

namespace tarn {

class TarnForEach : public TarnBlock {
  public:
    TarnForEach() = default;
    explicit TarnForEach(const common::CXMLDOMNode& node);

    int compile(const common::CXMLDOMNode& node) override;
    int execute(common::SqliteDB& db, const Parameters& parameters, const TarnVariables& variables,
                const common::CXMLDOMNode& context, const common::CXMLDOMNode& output) override;

  private:
    std::wstring select_;
};

}  // namespace tarn
