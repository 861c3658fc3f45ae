#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "common/util/registry_string.h"
#include "plugin/export/exports.h"
#include "plugin/export/mobi_converter.h"
#include "plugin/export/tests/export_fixture.h"

namespace {

using namespace plugin;
using zip_test::readFile;

void setExportSetting(const std::wstring& name, const std::wstring& value) {
    common::registry_string<std::wstring> setting(
        L"Software\\Olvan\\Tamrix\\Export\\" + name, platform::registry::HKEY_CURRENT_USER, L"",
        common::kRegistrySaveOnAssign | common::kRegistryAlwaysStore);
    setting = value;
}

// A stand-in converter beside the test program (where the converter of the plug-in
// library would be), named by the settings; it writes its arguments to a log and leaves
// a copy of the book it was given as the ".mobi" file.
class MobiTest : public ExportTest {
  protected:
    void SetUp() override {
        ExportTest::SetUp();
        name_ = "fake-converter-" + std::to_string(getpid()) + ".sh";
        log_ = home_.root() / "converter.log";
        setExportSetting(L"MobiConverter", wide(name_));
        setExportSetting(L"MobiConverterPararms", L"-c2  --quiet");
    }
    void TearDown() override {
        if (!converter_.empty())
            std::filesystem::remove(converter_);
        ExportTest::TearDown();
    }

    void installConverter(const std::string& body) {
        converter_ = narrow(mobiConverterPath());
        EXPECT_EQ(std::filesystem::path(converter_).filename().string(), name_);
        std::ofstream(converter_) << "#!/bin/sh\n" << body;
        chmod(converter_.c_str(), 0755);
    }

    bool temporaryFilesLeft() const { return !filesBelow(home_.root() / "tmp").empty(); }

    std::string name_;
    std::string converter_;
    std::filesystem::path log_;
};

TEST_F(MobiTest, ConverterTurnsTheTemporaryBookIntoTheOutput) {
    installConverter("echo \"$@\" > '" + log_.string() + "'\ncp \"$1\" \"${1%.*}.mobi\"\n");
    const auto a = insert(L"A", L"2024-01-01 08:00:00");
    const auto b = insert(L"B", L"2024-01-02 08:00:00");
    const auto output = out() / "book.mobi";
    ExportControl control;
    ASSERT_EQ(exportLatest(L"Book", wide(output), 0, kExportMobi, &control), 0)
        << narrow(control.error);

    const std::string arguments = readFile(log_);
    EXPECT_NE(arguments.find(".epub -c2 --quiet\n"), std::string::npos) << arguments;
    // The converter was given the finished book.
    const auto members = readBook(output);
    EXPECT_EQ(members.size(), 4u + 2u);  // two pages
    EXPECT_FALSE(temporaryFilesLeft());
    EXPECT_EQ(filesBelow(out()), (std::vector<std::string>{"book.mobi"}));

    const auto clip = out() / "clip.mobi";
    ASSERT_EQ(exportContent(L"http://example.org", L"Clip", L"t", L"<p>c</p>", wide(clip),
                            kExportMobi, &control),
              0);
    EXPECT_NE(member(readBook(clip), "OEBPS/content.html"), nullptr);
    EXPECT_FALSE(temporaryFilesLeft());
}

TEST_F(MobiTest, CalibreConvertsWhenNoConverterIsSet) {
    if (access("/usr/bin/ebook-convert", X_OK) != 0)
        GTEST_SKIP() << "calibre's ebook-convert is not installed (apt-get install calibre)";
    setExportSetting(L"MobiConverter", L"");
    ASSERT_TRUE(mobiConverterIsCalibre());
    EXPECT_EQ(narrow(mobiConverterPath()), "/usr/bin/ebook-convert");
    insert(L"Erste Seite", L"2024-01-01 08:00:00", L"<h2>Grüße</h2><p>Ein Absatz.</p>");
    const auto output = out() / "book.mobi";
    ExportControl control;
    ASSERT_EQ(exportLatest(L"Buch", wide(output), 0, kExportMobi, &control), 0)
        << narrow(control.error);
    const std::string book = readFile(output);
    ASSERT_GT(book.size(), 68u);
    EXPECT_EQ(book.substr(60, 8), "BOOKMOBI");
    EXPECT_FALSE(temporaryFilesLeft());
    EXPECT_EQ(filesBelow(out()), (std::vector<std::string>{"book.mobi"}));
}

TEST_F(MobiTest, MissingOrFailingConverterLeavesNoOutput) {
    insert(L"A", L"2024-01-01 08:00:00");
    const auto output = out() / "book.mobi";
    ExportControl control;
    EXPECT_EQ(exportLatest(L"", wide(output), 0, kExportMobi, &control), -1);
    EXPECT_NE(control.error.find(L"MOBI converter"), std::wstring::npos);
    EXPECT_NE(control.error.find(L"missing"), std::wstring::npos);

    installConverter("echo failing >&2\nexit 1\n");
    EXPECT_EQ(exportLatest(L"", wide(output), 0, kExportMobi, &control), -1);
    EXPECT_EQ(control.error, L"The MOBI converter failed (exit status 1).");
    EXPECT_FALSE(std::filesystem::exists(output));

    // A converter that leaves bytes behind but reports a failure made no book either.
    installConverter("head -c 100 \"$1\" > \"${1%.*}.mobi\"\nexit 2\n");
    EXPECT_EQ(exportLatest(L"", wide(output), 0, kExportMobi, &control), -1);
    EXPECT_EQ(control.error, L"The MOBI converter failed (exit status 2).");
    EXPECT_FALSE(std::filesystem::exists(output));

    installConverter("exit 0\n");
    EXPECT_EQ(exportLatest(L"", wide(output), 0, kExportMobi, &control), -1);
    EXPECT_EQ(control.error, L"The MOBI converter produced no book.");
    EXPECT_FALSE(std::filesystem::exists(output));
    EXPECT_FALSE(temporaryFilesLeft());
    EXPECT_TRUE(filesBelow(out()).empty());
}

TEST_F(MobiTest, AConverterNamedByItsWholePathIsRunFromThere) {
    const auto program = home_.root() / "tools" / "to-mobi.sh";
    std::filesystem::create_directories(program.parent_path());
    std::ofstream(program) << "#!/bin/sh\ncp \"$1\" \"${1%.*}.mobi\"\n";
    chmod(program.c_str(), 0755);
    setExportSetting(L"MobiConverter", wide(program.string()));
    EXPECT_EQ(narrow(mobiConverterPath()), program.string());
    insert(L"A", L"2024-01-01 08:00:00");
    const auto output = out() / "book.mobi";
    ExportControl control;
    ASSERT_EQ(exportLatest(L"Book", wide(output), 0, kExportMobi, &control), 0)
        << narrow(control.error);
    EXPECT_EQ(filesBelow(out()), (std::vector<std::string>{"book.mobi"}));
}

TEST_F(MobiTest, CancelStopsARunningConverter) {
    installConverter("sleep 30\ncp \"$1\" \"${1%.*}.mobi\"\n");
    insert(L"A", L"2024-01-01 08:00:00");
    ExportControl control;
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        control.cancelled = true;
    });
    const auto started = std::chrono::steady_clock::now();
    const int result = exportLatest(L"", wide(out() / "book.mobi"), 0, kExportMobi, &control);
    canceller.join();
    EXPECT_EQ(result, -1);
    EXPECT_EQ(control.error, L"The export was cancelled.");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_FALSE(temporaryFilesLeft());
    EXPECT_TRUE(filesBelow(out()).empty());
}

TEST(RunProgram, ReportsStartFailureTimeoutAndCompletion) {
    EXPECT_EQ(runProgram({"/nonexistent/program"}, 1000), -1);
    EXPECT_EQ(runProgram({}, 1000), -1);
    int exitCode = -1;
    EXPECT_EQ(runProgram({"/bin/sh", "-c", "exit 3"}, 5000, nullptr, &exitCode), 1);
    EXPECT_EQ(exitCode, 3);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(runProgram({"/bin/sleep", "20"}, 200), -2);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
}

}  // namespace
