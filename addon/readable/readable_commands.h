// The commands that replace the page's body by a plain readable body and put the old one
// back on undo:
//   IsolateCommand:   copies of the selected blocks with their look, centred;
//   GrabCommand:      the markup of the selection (selected blocks, else the page's text
//                     selection, else the article block that main_element.h picks) under
//                     a header with the page's title and address, dressed in a page style;
//   GrabLinksCommand: one entry per selected link, filled in by a link-fetching worker;
//   FormatCommand:    the page's own content, stripped of scripts, frames, forms, style
//                     elements and inline styles, dressed in a page style.
// The first execute builds the readable body; a redo shows the same body object again.
//
// Contract: the page's user-interface thread only. A missing body, or a link grab without
// links, leaves the page unchanged; an unknown page style applies no style. Undo restores
// the page exactly (bodies, style sheets, the inserted style element, body styles).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "addon/commands/command.h"
#include "common/util/string_pair.h"

namespace addon {

class IsolateCommand : public ICommand {
  public:
    void execute() override;
    void undo() override;
    std::wstring name() const override { return L"Isolate"; }
    bool clearsSelection() const override { return true; }
};

class GrabCommand : public ICommand {
  public:
    // A page-style name; "" or "default" (any case) means the setting "PageStyle\Grab".
    explicit GrabCommand(std::wstring styleName) : styleName_(std::move(styleName)) {}
    void execute() override;
    void undo() override;
    std::wstring name() const override { return L"Grab"; }
    bool clearsSelection() const override { return true; }

  private:
    std::vector<std::wstring> contentItems() const;

    std::wstring styleName_;
};

class GrabLinksCommand : public ICommand {
  public:
    // Starts the worker that fetches the links into the page's "readable_content_<i>"
    // elements; the command owns it until undo or its own end.
    using StartWorker = std::function<std::unique_ptr<CThreadT<1>>(
        std::shared_ptr<dom::Document>, std::vector<common::StringPair>)>;

    // `links`: {title, address} of the selected links in selection order.
    GrabLinksCommand(std::vector<common::StringPair> links, StartWorker startWorker)
        : links_(std::move(links)), startWorker_(std::move(startWorker)) {}
    void execute() override;
    void undo() override;
    std::wstring name() const override { return L"GrabLinks"; }
    bool clearsSelection() const override { return true; }

  private:
    std::vector<common::StringPair> links_;
    StartWorker startWorker_;
};

class FormatCommand : public ICommand {
  public:
    // The style's name (the id of the inserted style element) and its style-sheet text.
    FormatCommand(std::wstring styleName, std::wstring styleText)
        : styleName_(std::move(styleName)), styleText_(std::move(styleText)) {}
    void execute() override;
    void undo() override;
    std::wstring name() const override { return L"Format"; }
    bool clearsSelection() const override { return true; }

  private:
    std::wstring styleName_;
    std::wstring styleText_;
};

}  // namespace addon
