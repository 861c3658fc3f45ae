// A CUPS scheduler of the test's own: cupsd on a private configuration, spool and Unix
// socket under a fresh folder in /tmp (which the scheduler's filters, running as the lp
// user, can reach), with CUPS_SERVER pointing at it for the test's lifetime. A printer
// added with addPdfPrinter goes through the CUPS-PDF driver's filters into a file, so a
// printed job can be read back. A watchdog ends the scheduler should the test process
// die before its destructor runs.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include "platform/system/atomic_file.h"
#include "platform/system/process.h"
#include "testing/environment/temporary_home.h"

namespace export_test {

class PrivateCups {
  public:
    explicit PrivateCups(testing_environment::TemporaryHome& home) {
        std::string pattern = "/tmp/tamrix-cups-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            failure_ = "no folder for the scheduler";
            return;
        }
        root_ = pattern;
        namespace fs = std::filesystem;
        fs::permissions(root_, fs::perms::owner_all | fs::perms::group_read |
                                   fs::perms::group_exec | fs::perms::others_read |
                                   fs::perms::others_exec);
        for (const char* folder : {"spool", "cache", "state", "log", "ppd"}) {
            fs::create_directories(root_ / folder);
        }
        for (const char* open : {"tmp", "out"}) {
            fs::create_directories(root_ / open);
            fs::permissions(root_ / open, fs::perms::all | fs::perms::sticky_bit);
        }
        std::ofstream(root_ / "cupsd.conf") << "Listen " << socket().string() << "\n"
                                            << "LogLevel warn\nWebInterface No\nBrowsing No\n"
                                            << "DefaultAuthType None\n"
                                            << "<Location />\n  Order allow,deny\n  Allow all\n"
                                            << "</Location>\n<Policy default>\n  <Limit All>\n"
                                            << "    Order deny,allow\n  </Limit>\n</Policy>\n";
        std::ofstream(root_ / "cups-files.conf")
            << "ServerRoot " << root_.string() << "\nRequestRoot " << (root_ / "spool").string()
            << "\nTempDir " << (root_ / "tmp").string() << "\nCacheDir "
            << (root_ / "cache").string() << "\nStateDir " << (root_ / "state").string()
            << "\nErrorLog " << (root_ / "log/error_log").string() << "\nAccessLog "
            << (root_ / "log/access_log").string() << "\nPageLog "
            << (root_ / "log/page_log").string() << "\nFileDevice Yes\n";
        home.set("CUPS_SERVER", socket().string());
        if (!scheduler_.start({"cupsd", "-f", "-c", (root_ / "cupsd.conf").string(), "-s",
                               (root_ / "cups-files.conf").string()},
                              {.workingFolder = "", .discardOutput = true})) {
            failure_ = "cupsd cannot be started: " + scheduler_.error();
            return;
        }
        watchdog_.start(
            {"sh", "-c", "while kill -0 \"$1\" 2>/dev/null; do sleep 1; done; kill \"$2\"", "sh",
             std::to_string(::getpid()), std::to_string(scheduler_.id())},
            {.workingFolder = "", .discardOutput = true});
        for (int tries = 0; tries < 100 && !fs::exists(socket()); ++tries) {
            if (!scheduler_.isRunning()) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        if (!fs::exists(socket())) {
            std::string log;
            platform::system::readWholeFile((root_ / "log/error_log").string(), log);
            failure_ = "cupsd did not open its socket: " + log;
        }
    }
    ~PrivateCups() {
        watchdog_.kill();
        scheduler_.kill();
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    PrivateCups(const PrivateCups&) = delete;
    PrivateCups& operator=(const PrivateCups&) = delete;

    // Why the scheduler is not there; empty when it runs.
    const std::string& failure() const { return failure_; }

    // Adds the default printer, whose output is the file printed().
    bool addPdfPrinter() {
        const std::string device = "file:" + printed().string();
        return admin({"lpadmin", "-p", "tamrix-test", "-v", device, "-E", "-P",
                      "/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd"}) &&
               admin({"lpadmin", "-d", "tamrix-test"});
    }

    std::filesystem::path printed() const { return root_ / "out" / "printed.ps"; }

    // The printed file once the printer has written it whole; nothing after 60 seconds.
    std::optional<std::string> waitForPrinted() const {
        for (int tries = 0; tries < 600; ++tries) {
            std::string bytes;
            if (platform::system::readWholeFile(printed().string(), bytes) &&
                bytes.find("%%EOF") != std::string::npos) {
                return bytes;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return std::nullopt;
    }

  private:
    std::filesystem::path socket() const { return root_ / "cups.sock"; }

    static bool admin(const std::vector<std::string>& argv) {
        return platform::system::runProcess(argv, std::chrono::seconds(30),
                                            {.workingFolder = "", .discardOutput = true})
                   .exitCode == 0;
    }

    std::filesystem::path root_;
    platform::system::Process scheduler_;
    platform::system::Process watchdog_;
    std::string failure_;
};

}  // namespace export_test
