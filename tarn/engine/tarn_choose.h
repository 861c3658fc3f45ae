// TarnChoose: runs the first of its "when" blocks whose test holds, else its "otherwise"
// block.
//
//   <choose><when test="...">...</when><otherwise>...</otherwise></choose>
//
// Contract: owns its blocks; not copyable. Threading and errors as TarnBase.
#pragma once

#include <memory>
#include <vector>

#include "tarn/engine/tarn_block.h"
#include "tarn/engine/tarn_if.h"

namespace tarn {

class TarnChoose : public TarnBase {
  public:
    TarnChoose() = default;
    explicit TarnChoose(const common::CXMLDOMNode& node);
    TarnChoose(const TarnChoose&) = delete;
    TarnChoose& operator=(const TarnChoose&) = delete;

    // "when" children become the tests in order; the last "otherwise" the fallback. 0.
    int compile(const common::CXMLDOMNode& node) override;
    int execute(common::SqliteDB& db, const Parameters& parameters, const TarnVariables& variables,
                const common::CXMLDOMNode& context, const common::CXMLDOMNode& output) override;

  private:
    std::vector<std::unique_ptr<TarnIf>> whens_;
    TarnBlock otherwise_;
};

}  // namespace tarn
