// Pattern compile and match, narrow and wide: the first byte picks the flags, the text up
// to the first line feed is the pattern and the rest the subject. Every match must lie
// inside the subject, and a search must end within its (small) budget.
#include <cstdint>
#include <string>

#include "common/regex/pattern.h"
#include "fuzz/fuzz_input.h"
#include "platform/text/utf.h"

namespace {

constexpr long long kStepLimit = 200'000;

template <class CharT>
void checkBounds(const common::CMatchInfo& found, std::size_t length) {
    if (!found)
        return;
    for (int group = 0; group <= found.groupCount(); ++group) {
        const int start = found.groupStart(group);
        const int end = found.groupEnd(group);
        if (start < -1 || end < -1 ||
            (start >= 0 && (end < start || end > static_cast<int>(length))))
            fuzz::fuzzFailure("group bounds outside the subject");
    }
}

template <class CharT>
void run(std::basic_string_view<CharT> pattern, std::basic_string_view<CharT> subject, int flags) {
    const common::CPatternT<CharT> compiled(pattern, flags);
    common::CMatchStateT<CharT> state;
    state.setStepLimit(kStepLimit);
    int start = -1;
    for (int round = 0; round < 4; ++round) {
        const common::CMatchInfo found = compiled.match(subject, start, &state);
        checkBounds<CharT>(found, subject.size());
        if (!found)
            break;
        start = state.nextStart();
    }
    checkBounds<CharT>(compiled.matchWhole(subject, &state), subject.size());
    const CharT replacement[] = {'<', '$', '1', '$', '&', '$', '{', 'n', '}', '>', 0};
    compiled.replace(subject, replacement, -1, 8, nullptr, &state);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const int flags = data[0] & 0x3f;
    const std::string_view rest = fuzz::bytesOf(data + 1, size - 1);
    const std::size_t split = rest.find('\n');
    const std::string_view pattern = rest.substr(0, split);
    const std::string_view subject =
        split == rest.npos ? std::string_view() : rest.substr(split + 1);
    run<char>(pattern, subject, flags);
    const std::wstring widePattern = platform::text::fromUtf8(pattern);
    const std::wstring wideSubject = platform::text::fromUtf8(subject);
    run<wchar_t>(widePattern, wideSubject, flags);
    return 0;
}
