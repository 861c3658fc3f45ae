// The clipboard: data blocks by format number, standard formats (CF_TEXT, CF_UNICODETEXT)
// and formats registered by name (numbers from 0xC000, one per name, names compared
// without case). Writing needs the clipboard opened; one thread holds it open at a time.
// Thread-safe; process-wide.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/types.h"

namespace platform::ui {

class Clipboard {
  public:
    static Clipboard& instance();

    // False when another thread holds it open.
    bool open(HWND owner);
    // False when the calling thread does not hold it open.
    bool close();
    // Drops every format; needs the clipboard open.
    bool empty();
    // Sets one format's bytes; needs the clipboard open.
    bool setData(UINT format, std::vector<std::uint8_t> bytes);
    std::optional<std::vector<std::uint8_t>> data(UINT format) const;
    std::vector<UINT> formats() const;

    // 0 for an empty name.
    UINT registerFormat(const std::wstring& name);
    // The registered name, "" for a standard or unknown format.
    std::wstring formatName(UINT format) const;

    // Empties the clipboard and forgets its holder; for tests.
    void reset();

  private:
    Clipboard() = default;
    struct State;
    State& state() const;
};

Clipboard& clipboard();

}  // namespace platform::ui
