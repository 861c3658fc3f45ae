// The commands that restyle the page in place: hide the selection, hide images, remove
// backgrounds, switch off the page's style sheets and inline styles, and change the width,
// font family, size and weight of the selection (or of the whole page when nothing is
// selected). Every change is a recorded write, so `undo` puts back exactly what `execute`
// changed, newest first; a redo records afresh.
//
// Arguments: the text after the slash of the command string. A size, weight or width
// argument that begins with "+" or "-" is a step (its signed decimal number): font sizes
// step through style_step.h, widths through style_step.h, and weights by that many units
// from 700 for an element that shows bold ("bold", 700 and more) or 400 for any other
// (a selected element without an inline weight counts as "normal"; "bolder" and "lighter"
// are left alone), kept within 100..900.
//
// Contract: the page's user-interface thread only; what the document does not give is
// skipped and nothing is reported.
#pragma once

#include <string>

#include "addon/commands/command.h"

namespace addon {

class DeleteCommand : public ICommand {
  public:
    void execute() override;
    void undo() override;
    std::wstring name() const override { return L"Delete"; }
    bool clearsSelection() const override { return true; }
};

class RemoveImageCommand : public ICommand {
  public:
    void execute() override;
    void undo() override;
    std::wstring name() const override { return L"RemoveImage"; }
};

class RemoveBackgroundCommand : public ICommand {
  public:
    void execute() override;
    void undo() override;
    std::wstring name() const override { return L"RemoveBackground"; }
};

class RemoveStyleCommand : public ICommand {
  public:
    void execute() override;
    void undo() override;
    std::wstring name() const override { return L"RemoveStyle"; }
};

// The base of the commands that take one argument.
class ArgumentCommand : public ICommand {
  public:
    explicit ArgumentCommand(std::wstring argument) : argument_(std::move(argument)) {}
    const std::wstring& argument() const { return argument_; }
    void undo() override;

  protected:
    bool isStep() const;
    int stepNumber() const;

  private:
    std::wstring argument_;
};

class ChangeWidthCommand : public ArgumentCommand {
  public:
    using ArgumentCommand::ArgumentCommand;
    void execute() override;
    std::wstring name() const override { return L"ChangeWidth"; }
};

class FontTypeCommand : public ArgumentCommand {
  public:
    using ArgumentCommand::ArgumentCommand;
    void execute() override;
    std::wstring name() const override { return L"FontType"; }
};

class FontSizeCommand : public ArgumentCommand {
  public:
    using ArgumentCommand::ArgumentCommand;
    void execute() override;
    std::wstring name() const override { return L"FontSize"; }
};

class FontWeightCommand : public ArgumentCommand {
  public:
    using ArgumentCommand::ArgumentCommand;
    void execute() override;
    std::wstring name() const override { return L"FontWeight"; }
};

}  // namespace addon
