// The Grab-links dialog: the links found in the selection as a checked list (title, link)
// that a person orders and ticks before the linked pages are fetched. doModal gives 1 with
// `chosen()` holding the ticked rows in their shown order, or 2 with nothing chosen.
//
// Every row after the first starts ticked; the first (the page itself) only when it is the
// only row or the other titles are longer than 5 characters on average. A double click on
// a row ticks every row whose link lies in the same folder as the clicked one (the link cut
// back after its last "/"), as long as that folder is below the site's root.
//
// Contract: user-interface thread only.
#pragma once

#include <vector>

#include "addon/dialogs/addon_dialog.h"
#include "common/util/string_pair.h"

namespace addon {

class GrabLinksDialog : public AddonDialog {
  public:
    // Pairs of {title, link}.
    explicit GrabLinksDialog(std::vector<common::StringPair> links);

    const std::vector<common::StringPair>& chosen() const { return chosen_; }

  protected:
    void onStart() override;
    void onCommand(int id, platform::ui::UINT code) override;
    void onNotify(int id, int code) override;

  private:
    void fillList();
    void moveSelected(int by);
    void checkAll(bool checked);
    void hideUnchecked();
    void checkSameFolder(int row);

    std::vector<common::StringPair> links_;
    std::vector<common::StringPair> chosen_;
};

}  // namespace addon
