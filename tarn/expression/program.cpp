#include "tarn/expression/program.h"

#include <string>

#include "tarn/expression/parser_exception.h"

namespace tarn {

namespace {

// Values of type Any reach fixed-type arguments unchecked at compile time.
void checkArgumentTypes(const FunctionEntry& function, const std::vector<const Variant*>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const ValueType wanted = function.argument(i).type;
        if (wanted != ValueType::Any && typeOf(*args[i]) != wanted)
            raiseParserError(kErrorArgumentType, {function.name, std::to_wstring(i + 1)});
    }
}

}  // namespace

Variant* Program::addSlot(Variant value) {
    return &slots_.emplace_back(std::move(value));
}

const Variant& Program::run() {
    for (Step& step : steps_) {
        if (step.function) {
            checkArgumentTypes(*step.function, step.arguments);
            step.function->routine(step.arguments, *step.result);
        } else {
            evaluateOperation(step.operation, step.arguments, *step.result);
        }
    }
    return *root_;
}

}  // namespace tarn
