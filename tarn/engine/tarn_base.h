// TarnBase: the common face of every element of a page's data block (variables, blocks,
// conditions, loops, requests, output). An element is compiled once from its XML element
// and executed for each request; a result of 0 or more is success, a negative result a
// failure whose text the element keeps in its error message.
//
// Contract: elements are owned by their enclosing block and deleted through the virtual
// destructor. Execution changes per-request state (current values, last results), so one
// element tree runs on one thread at a time (the page serialises its requests).
// compile and execute may throw common::CComException for DOM faults and
// common::SqliteException for database faults; the page turns those into failures.
#pragma once

#include <string>
#include <vector>

#include "common/util/string_pair.h"

namespace common {
class CXMLDOMNode;
class SqliteDB;
}  // namespace common

namespace tarn {

class TarnVariable;

// The request parameters (and page defines): name/value pairs in order.
using Parameters = std::vector<common::StringPair>;
using TarnVariables = std::vector<TarnVariable>;

class TarnBase {
  public:
    TarnBase() = default;
    TarnBase(const TarnBase&) = default;
    TarnBase& operator=(const TarnBase&) = default;
    virtual ~TarnBase() = default;

    virtual int getErrorCode() const { return errorCode_; }
    virtual const std::wstring& getErrorMessage() const { return errorMessage_; }

    virtual int compile(const common::CXMLDOMNode& node) = 0;
    // `context` is where selections are evaluated (may be empty); `output` is the node
    // under which requests append their results.
    virtual int execute(common::SqliteDB& db, const Parameters& parameters,
                        const TarnVariables& variables, const common::CXMLDOMNode& context,
                        const common::CXMLDOMNode& output) = 0;

  protected:
    // Records a failure and returns `code`.
    int fail(int code, std::wstring message);
    // Takes over the failure of `child` and returns `code`.
    int failWith(int code, const TarnBase& child);

    std::wstring errorMessage_;
    int errorCode_ = 0;
};

}  // namespace tarn
