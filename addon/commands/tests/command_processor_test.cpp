#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "addon/commands/command_processor.h"

using namespace addon;

namespace {

// A command over a shared text: execute appends its letter, undo takes it off again.
class AppendCommand : public ICommand {
  public:
    AppendCommand(std::wstring& text, wchar_t letter, std::vector<wchar_t>& deleted,
                  Disposal disposal = Disposal::retain, std::wstring name = L"Append")
        : ICommand(disposal),
          text_(text),
          letter_(letter),
          deleted_(deleted),
          name_(std::move(name)) {}
    ~AppendCommand() override { deleted_.push_back(letter_); }

    void execute() override { text_ += letter_; }
    void undo() override {
        if (!text_.empty() && text_.back() == letter_) {
            text_.pop_back();
        }
    }
    std::wstring name() const override { return name_; }

  private:
    std::wstring& text_;
    wchar_t letter_;
    std::vector<wchar_t>& deleted_;
    std::wstring name_;
};

class CommandProcessorTest : public ::testing::Test {
  protected:
    std::unique_ptr<ICommand> make(wchar_t letter, Disposal disposal = Disposal::retain,
                                   std::wstring name = L"Append") {
        return std::make_unique<AppendCommand>(text, letter, deleted, disposal, std::move(name));
    }

    std::wstring text;
    std::vector<wchar_t> deleted;
};

}  // namespace

TEST_F(CommandProcessorTest, EmptyHistoriesDoNothing) {
    CommandProcessor processor;
    processor.undo();
    processor.redo();
    EXPECT_FALSE(processor.canUndo());
    EXPECT_FALSE(processor.canRedo());
    EXPECT_EQ(processor.lastUndo(), nullptr);
    EXPECT_EQ(processor.lastRedo(), nullptr);
    EXPECT_FALSE(processor.hasReadablePage());
}

TEST_F(CommandProcessorTest, RedoTakesTheNewestUndoneAndKeepsTheRest) {
    CommandProcessor processor;
    processor.run(make(L'A'));
    processor.run(make(L'B'));
    EXPECT_EQ(text, L"AB");
    processor.undo();
    processor.undo();
    EXPECT_EQ(text, L"");
    // The redo history holds B then A, with A at the back.
    ASSERT_NE(processor.lastRedo(), nullptr);
    processor.redo();
    EXPECT_EQ(text, L"A");
    EXPECT_TRUE(processor.canRedo());
    EXPECT_TRUE(processor.canUndo());
    EXPECT_TRUE(deleted.empty());
    // A new command discards what could still be redone.
    processor.run(make(L'C'));
    EXPECT_EQ(text, L"AC");
    EXPECT_EQ(deleted, std::vector<wchar_t>{L'B'});
    EXPECT_FALSE(processor.canRedo());
}

TEST_F(CommandProcessorTest, DisposalDecidesWhereACommandGoes) {
    CommandProcessor processor;
    processor.execute(make(L'x', Disposal::discard));
    EXPECT_EQ(text, L"x");
    EXPECT_EQ(deleted, std::vector<wchar_t>{L'x'});
    EXPECT_FALSE(processor.canUndo());

    processor.run(make(L'A'));
    processor.run(make(L'B'));
    processor.undo();
    processor.run(make(L'z', Disposal::clearHistories));
    EXPECT_FALSE(processor.canUndo());
    EXPECT_FALSE(processor.canRedo());
    EXPECT_EQ(deleted, (std::vector<wchar_t>{L'x', L'A', L'B', L'z'}));
}

TEST_F(CommandProcessorTest, ReadablePageOnlyWhileItsCommandIsInTheUndoHistory) {
    CommandProcessor processor;
    processor.run(make(L'A', Disposal::retain, L"Delete"));
    EXPECT_FALSE(processor.hasReadablePage());
    processor.run(make(L'I', Disposal::retain, L"Isolate"));
    EXPECT_TRUE(processor.hasReadablePage());
    processor.undo();
    EXPECT_FALSE(processor.hasReadablePage());
    processor.run(make(L'g', Disposal::retain, L"grab"));  // names compare with case
    EXPECT_FALSE(processor.hasReadablePage());
    processor.run(make(L'G', Disposal::retain, L"GrabLinks"));
    EXPECT_TRUE(processor.hasReadablePage());
}

TEST_F(CommandProcessorTest, RelayoutFollowsEveryExecuteAndUndo) {
    std::vector<std::wstring> layouts;
    {
        CommandProcessor processor([&](ICommand&) { layouts.push_back(text); });
        processor.run(make(L'A'));
        processor.undo();
        processor.redo();
        EXPECT_EQ(layouts, (std::vector<std::wstring>{L"A", L"", L"A"}));
    }
    // The processor deletes what it holds.
    EXPECT_EQ(deleted, std::vector<wchar_t>{L'A'});
}
