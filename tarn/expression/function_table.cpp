#include <cwctype>

#include "tarn/expression/function_routines.h"
#include "tarn/expression/functions.h"

namespace tarn {

namespace {

using enum ValueType;
namespace r = routines;

constexpr ArgumentSpec kNumber[] = {{Number, L""}};
constexpr ArgumentSpec kText[] = {{Text, L""}};
constexpr ArgumentSpec kDate[] = {{Date, L""}};
constexpr ArgumentSpec kAnyValue[] = {{Any, L""}};
constexpr ArgumentSpec kNumberNumber[] = {{Number, L""}, {Number, L""}};
constexpr ArgumentSpec kTextNumber[] = {{Text, L""}, {Number, L""}};
constexpr ArgumentSpec kTextText[] = {{Text, L""}, {Text, L""}};
constexpr ArgumentSpec kDateNumber[] = {{Date, L""}, {Number, L""}};
constexpr ArgumentSpec kSearch[] = {{Text, L""}, {Text, L""}, {Number, L"1"}};
constexpr ArgumentSpec kBetween[] = {{Any, L""}, {Any, L""}, {Any, L""}};
constexpr ArgumentSpec kChrTran[] = {{Text, L""}, {Text, L""}, {Text, L""}};
constexpr ArgumentSpec kDateParts[] = {{Number, L"0"}, {Number, L"0"}, {Number, L"0"},
                                       {Number, L"0"}, {Number, L"0"}, {Number, L"0"}};
constexpr ArgumentSpec kDtoc[] = {{Date, L""}, {Number, L"0"}};
constexpr ArgumentSpec kIif[] = {{Logical, L""}, {Any, L""}, {Any, L""}};
constexpr ArgumentSpec kAnyList[] = {{Any, L""}, {Any, L""}};
constexpr ArgumentSpec kPad[] = {{Any, L""}, {Number, L""}, {Text, L" "}};
constexpr ArgumentSpec kStr[] = {{Number, L""}, {Number, L"10"}, {Number, L"0"}};
constexpr ArgumentSpec kStrTran[] = {
    {Text, L""}, {Text, L""}, {Text, L""}, {Number, L"1"}, {Number, L"-1"}};
constexpr ArgumentSpec kStuff[] = {{Text, L""}, {Number, L""}, {Number, L""}, {Text, L""}};
constexpr ArgumentSpec kSubstr[] = {{Text, L""}, {Number, L"1"}, {Number, L"-1"}};
constexpr ArgumentSpec kTime[] = {{Number, L""}};
constexpr ArgumentSpec kVarType[] = {{Any, L""}, {Logical, L".F."}};

constexpr FunctionEntry kFunctions[] = {
    {L"ABS", r::abs, Number, 1, 1, kNumber},
    {L"ALLTRIM", r::allTrim, Text, 1, 1, kText},
    {L"ASC", r::asc, Number, 1, 1, kText},
    {L"AT", r::at, Number, 3, 2, kSearch},
    {L"ATAN", r::atan, Number, 1, 1, kNumber},
    {L"ATC", r::atCaseless, Number, 3, 2, kSearch},
    {L"BETWEEN", r::between, Logical, 3, 3, kBetween},
    {L"CDOW", r::cdow, Text, 1, 1, kDate},
    {L"CEILING", r::ceiling, Number, 1, 1, kNumber},
    {L"CHR", r::chr, Text, 1, 1, kNumber},
    {L"CHRTRAN", r::chrTran, Text, 3, 3, kChrTran},
    {L"CMONTH", r::cmonth, Text, 1, 1, kDate},
    {L"COS", r::cos, Number, 1, 1, kNumber},
    {L"CTOD", r::ctod, Date, 1, 1, kText},
    {L"CTOT", r::ctod, Date, 1, 1, kText},
    {L"DATE", r::date, Date, 3, 0, std::span(kDateParts).first(3)},
    {L"DATETIME", r::dateTime, Date, 6, 0, kDateParts},
    {L"DAY", r::day, Number, 1, 1, kDate},
    {L"DMY", r::dmy, Text, 1, 1, kDate},
    {L"DTOC", r::dtoc, Text, 2, 1, kDtoc},
    {L"DTOS", r::dtos, Text, 1, 1, kDate},
    {L"EMPTY", r::empty, Logical, 1, 1, kAnyValue},
    {L"EXP", r::exp, Number, 1, 1, kNumber},
    {L"FLOOR", r::floor, Number, 1, 1, kNumber},
    {L"GOMONTH", r::goMonth, Date, 2, 2, kDateNumber},
    {L"HOUR", r::hour, Number, 1, 1, kDate},
    {L"IIF", r::iif, Any, 3, 3, kIif},
    {L"INT", r::integer, Number, 1, 1, kNumber},
    {L"ISALPHA", r::isAlpha, Logical, 1, 1, kText},
    {L"ISDIGIT", r::isDigit, Logical, 1, 1, kText},
    {L"ISLOWER", r::isLower, Logical, 1, 1, kText},
    {L"ISUPPER", r::isUpper, Logical, 1, 1, kText},
    {L"LEFT", r::left, Text, 2, 2, kTextNumber},
    {L"LEN", r::len, Number, 1, 1, kText},
    {L"LIKE", r::like, Logical, 2, 2, kTextText},
    {L"LOG", r::log, Number, 1, 1, kNumber},
    {L"LOG10", r::log10, Number, 1, 1, kNumber},
    {L"LOWER", r::lower, Text, 1, 1, kText},
    {L"LTRIM", r::leftTrim, Text, 1, 1, kText},
    {L"MAX", r::max, Any, -1, 2, kAnyList},
    {L"MDY", r::mdy, Text, 1, 1, kDate},
    {L"MIN", r::min, Any, -1, 2, kAnyList},
    {L"MINUTE", r::minute, Number, 1, 1, kDate},
    {L"MOD", r::mod, Number, 2, 2, kNumberNumber},
    {L"MONTH", r::month, Number, 1, 1, kDate},
    {L"OCCURS", r::occurs, Number, 2, 2, kTextText},
    {L"PADC", r::padCenter, Text, 3, 2, kPad},
    {L"PADL", r::padLeft, Text, 3, 2, kPad},
    {L"PADR", r::padRight, Text, 3, 2, kPad},
    {L"PI", r::pi, Number, 0, 0, {}},
    {L"REPLICATE", r::replicate, Text, 2, 2, kTextNumber},
    {L"RIGHT", r::right, Text, 2, 2, kTextNumber},
    {L"ROUND", r::round, Number, 2, 2, kNumberNumber},
    {L"RTRIM", r::rightTrim, Text, 1, 1, kText},
    {L"SEC", r::sec, Number, 1, 1, kDate},
    {L"SECONDS", r::seconds, Number, 0, 0, {}},
    {L"SIGN", r::sign, Number, 1, 1, kNumber},
    {L"SIN", r::sin, Number, 1, 1, kNumber},
    {L"SPACE", r::space, Text, 1, 1, kNumber},
    {L"SQRT", r::sqrt, Number, 1, 1, kNumber},
    {L"STR", r::str, Text, 3, 1, kStr},
    {L"STRTRAN", r::strTran, Text, 5, 2, kStrTran},
    {L"STUFF", r::stuff, Text, 4, 4, kStuff},
    {L"SUBSTR", r::substr, Text, 3, 1, kSubstr},
    {L"TAN", r::tan, Number, 1, 1, kNumber},
    {L"TIME", r::time, Text, 1, 0, kTime},
    {L"TRIM", r::rightTrim, Text, 1, 1, kText},
    {L"UPPER", r::upper, Text, 1, 1, kText},
    {L"VAL", r::val, Number, 1, 1, kText},
    {L"VARTYPE", r::varType, Text, 2, 1, kVarType},
    {L"YEAR", r::year, Number, 1, 1, kDate},
};

static_assert(std::size(kFunctions) == 71);

bool isAbbreviationOf(std::wstring_view name, std::wstring_view entry) {
    if (name.size() > entry.size() || (name.size() < 4 && name.size() != entry.size()))
        return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (std::towupper(static_cast<wint_t>(name[i])) != static_cast<wint_t>(entry[i]))
            return false;
    return true;
}

}  // namespace

std::span<const FunctionEntry> functionTable() {
    return kFunctions;
}

const FunctionEntry* findFunction(std::wstring_view name) {
    for (const FunctionEntry& entry : kFunctions)
        if (isAbbreviationOf(name, entry.name))
            return &entry;
    return nullptr;
}

}  // namespace tarn
