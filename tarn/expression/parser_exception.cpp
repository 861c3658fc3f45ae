#include "tarn/expression/parser_exception.h"

#include <cstdio>

#include "platform/text/utf.h"

namespace tarn {

std::wstring parserErrorMessage(int number) {
    wchar_t buffer[40];
    std::swprintf(buffer, 40, L"Error number 0x%08X.", static_cast<unsigned>(number));
    return buffer;
}

CParserException::CParserException(std::vector<ParserError> errors) : errors_(std::move(errors)) {
    if (errors_.empty())
        errors_.push_back(makeParserError(kErrorEmpty));
    what_ = platform::text::toUtf8(errors_.front().message);
}

bool CParserException::select(std::size_t index) {
    if (index >= errors_.size())
        return false;
    current_ = index;
    what_ = platform::text::toUtf8(errors_[current_].message);
    return true;
}

ParserError makeParserError(int number, std::vector<std::wstring> details) {
    return ParserError{number, parserErrorMessage(number), std::move(details)};
}

void raiseParserError(int number, std::vector<std::wstring> details) {
    throw CParserException({makeParserError(number, std::move(details))});
}

}  // namespace tarn
