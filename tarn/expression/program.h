// The compiled form of an expression: operand slots and a flat list of steps in evaluation
// order. Each step reads its operands through pointers (to slots of the program or to the
// variables of the parser) and writes its own result slot.
//
// Contract: built once by the compiler, then run any number of times; not synchronised.
// The variables that steps point at must outlive the program. Slots keep their addresses
// for the program's lifetime. run() raises a CParserException for a run-time error.
#pragma once

#include <deque>
#include <vector>

#include "tarn/expression/functions.h"
#include "tarn/expression/operations.h"
#include "tarn/expression/value.h"

namespace tarn {

struct Step {
    const FunctionEntry* function = nullptr;  // nullptr: the step is `operation`
    Operation operation = Operation::Add;
    std::vector<const Variant*> arguments;
    Variant* result = nullptr;
};

class Program {
  public:
    Variant* addSlot(Variant value = Variant());
    void addStep(Step step) { steps_.push_back(std::move(step)); }
    void setRoot(const Variant* root) { root_ = root; }

    // Runs every step in order and returns the value of the whole expression.
    const Variant& run();

  private:
    std::deque<Variant> slots_;
    std::vector<Step> steps_;
    const Variant* root_ = nullptr;
};

}  // namespace tarn
