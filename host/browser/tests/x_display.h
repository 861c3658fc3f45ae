// A display for the window tests: an Xvfb server of its own (no real display needed), the
// commands that play the person (xdotool) and screenshots read back as pixels.
//
// Contract: one per test; sets DISPLAY for the test process (and so for the programs it
// starts) and ends the server when it goes. Every command runs with a time limit.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/system/process.h"

namespace browser_tests {

struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // rows top first, three bytes a pixel

    std::uint32_t pixel(int x, int y) const;  // 0xRRGGBB
};

class XDisplay {
  public:
    XDisplay();
    ~XDisplay();
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    bool ready() const { return ready_; }
    // Runs a shell command on this display with a time limit; its standard output.
    std::string run(const std::string& command,
                    std::chrono::seconds limit = std::chrono::seconds(20)) const;
    // The first window whose title holds `title`, waited for up to `limit`; "" when none.
    std::string waitForWindow(const std::string& title,
                              std::chrono::seconds limit = std::chrono::seconds(30)) const;
    Screenshot screenshot() const;
    // Saves the screen as a PNG file (for a person to look at).
    void savePng(const std::string& file) const;

  private:
    platform::system::Process server_;
    std::string display_;
    bool ready_ = false;
};

}  // namespace browser_tests
