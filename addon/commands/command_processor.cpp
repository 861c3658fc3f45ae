#include "addon/commands/command_processor.h"

#include <array>

namespace addon {

CommandProcessor::~CommandProcessor() {
    clear();
}

void CommandProcessor::relayout(ICommand& command) const {
    if (relayout_) {
        relayout_(command);
    }
}

void CommandProcessor::file(std::unique_ptr<ICommand> command,
                            std::deque<std::unique_ptr<ICommand>>& history) {
    switch (command->disposal()) {
        case Disposal::retain:
            history.push_back(std::move(command));
            break;
        case Disposal::clearHistories:
            clear();
            break;
        case Disposal::discard:
            break;
    }
}

void CommandProcessor::execute(std::unique_ptr<ICommand> command) {
    if (!command) {
        return;
    }
    command->execute();
    relayout(*command);
    file(std::move(command), undoHistory_);
}

std::unique_ptr<ICommand> CommandProcessor::takeLastUndo() {
    if (undoHistory_.empty()) {
        return nullptr;
    }
    std::unique_ptr<ICommand> command = std::move(undoHistory_.back());
    undoHistory_.pop_back();
    return command;
}

void CommandProcessor::undo() {
    if (std::unique_ptr<ICommand> command = takeLastUndo()) {
        undoCommand(std::move(command));
    }
}

void CommandProcessor::undoCommand(std::unique_ptr<ICommand> command) {
    if (!command) {
        return;
    }
    command->undo();
    relayout(*command);
    file(std::move(command), redoHistory_);
}

void CommandProcessor::withdraw() {
    if (std::unique_ptr<ICommand> command = takeLastUndo()) {
        command->undo();
        relayout(*command);
    }
}

void CommandProcessor::clear() {
    // Newest first, so a command never outlives one that was run after it.
    while (!undoHistory_.empty()) {
        undoHistory_.pop_back();
    }
    while (!redoHistory_.empty()) {
        redoHistory_.pop_back();
    }
}

void CommandProcessor::run(std::unique_ptr<ICommand> command) {
    execute(std::move(command));
    while (!redoHistory_.empty()) {
        redoHistory_.pop_back();
    }
}

void CommandProcessor::redo() {
    if (redoHistory_.empty()) {
        return;
    }
    std::unique_ptr<ICommand> command = std::move(redoHistory_.back());
    redoHistory_.pop_back();
    execute(std::move(command));
}

bool CommandProcessor::hasReadablePage() const {
    static const std::array<const wchar_t*, 3> kReadable = {L"Grab", L"GrabLinks", L"Isolate"};
    for (const auto& command : undoHistory_) {
        const std::wstring name = command->name();
        for (const wchar_t* readable : kReadable) {
            if (name == readable) {
                return true;
            }
        }
    }
    return false;
}

ICommand* CommandProcessor::lastUndo() const {
    return undoHistory_.empty() ? nullptr : undoHistory_.back().get();
}

ICommand* CommandProcessor::lastRedo() const {
    return redoHistory_.empty() ? nullptr : redoHistory_.back().get();
}

}  // namespace addon
