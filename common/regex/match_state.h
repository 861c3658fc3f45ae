// CMatchStateT: the working state of one search of a compiled pattern over one text: the
// positions, the capture array, the backtracking stack (on the heap, so the subject length
// never deepens the native stack) and the limits that make a runaway match end. A caller
// may keep one state to continue searching the same text where the last match ended
// (pass nextStart() as the start); otherwise each search builds its own. Not thread-safe:
// one state serves one search at a time. The data members are the matcher nodes' working
// area; callers use the member functions.
#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace common {

template <class CharT>
class CMatchStateT {
  public:
    // Work budget of one search: this many matcher steps plus kStepsPerCharacter for each
    // character of the text, unless setStepLimit fixes another figure.
    static constexpr long long kBaseSteps = 100'000'000;
    static constexpr long long kStepsPerCharacter = 256;
    // Bounds of the backtracking stack (ints), the recursion depth of "(?R)" and the native
    // stack a recursion may use; beyond them the search ends as too complex.
    static constexpr std::size_t kMaxStack = std::size_t{64} << 20;
    static constexpr std::size_t kMaxRecursion = 1000;
    static constexpr std::ptrdiff_t kMaxNativeStack = 1 << 20;

    // Fixes the step budget of every later search with this state (0 restores the default).
    void setStepLimit(long long steps) { fixedStepLimit = steps; }
    // True when the last search gave up because it ran over a limit; its result is then
    // empty although the text might match.
    bool tooComplex() const { return aborted; }
    // Where a search that continues the last one starts.
    int nextStart() const { return next; }

    // Binds the state to a text; keeps the end of the previous match when the text is the
    // one already bound.
    void bind(const CharT* subject, int subjectLength) {
        if (subject != text || subjectLength != length)
            previousEnd = -1;
        text = subject;
        length = subjectLength;
        steps = 0;
        stepLimit =
            fixedStepLimit > 0 ? fixedStepLimit : kBaseSteps + kStepsPerCharacter * subjectLength;
        aborted = false;
        recursions.clear();
    }

    // Counts one matcher step; false once the search must give up.
    bool tick() { return charge(1); }
    // Counts work proportional to characters read (a scan, a comparison), one step each.
    bool charge(long long work) {
        steps += work;
        if (steps > stepLimit)
            aborted = true;
        return !aborted;
    }
    void abort() { aborted = true; }

    void push(int value) {
        if (stack.size() >= kMaxStack)
            aborted = true;
        stack.push_back(value);
    }
    int pop() {
        const int value = stack.back();
        stack.pop_back();
        return value;
    }
    std::size_t mark() const { return stack.size(); }
    void truncate(std::size_t size) { stack.resize(size); }

    // Saves the whole capture array on the stack, and takes it back or drops it.
    void pushCaptures() {
        if (stack.size() >= kMaxStack)
            aborted = true;
        stack.insert(stack.end(), captures.begin(), captures.end());
    }
    void popCaptures() {
        const std::size_t from = stack.size() - captures.size();
        std::copy(stack.begin() + static_cast<std::ptrdiff_t>(from), stack.end(), captures.begin());
        stack.resize(from);
    }
    void dropCaptures() { stack.resize(stack.size() - captures.size()); }

    int& groupStart(int group) { return captures[static_cast<std::size_t>(2 * group)]; }
    int& groupEnd(int group) { return captures[static_cast<std::size_t>(2 * group + 1)]; }

    const CharT* text = nullptr;
    int length = 0;
    int searchStart = 0;
    int position = 0;
    int previousEnd = -1;
    int next = 0;
    std::vector<int> stack;
    std::vector<int> captures;
    long long steps = 0;
    long long stepLimit = 0;
    long long fixedStepLimit = 0;
    bool aborted = false;
    // The recursions under way, innermost last: the node entered and where it started.
    std::vector<std::pair<const void*, int>> recursions;
    const char* nativeStackBase = nullptr;
};

using CMatchState = CMatchStateT<wchar_t>;
using CMatchStateA = CMatchStateT<char>;

}  // namespace common
