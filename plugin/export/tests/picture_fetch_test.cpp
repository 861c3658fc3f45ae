// Where an e-book's pictures may come from, and how long fetching them may take.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "plugin/export/export_failure.h"
#include "plugin/export/exports.h"
#include "plugin/export/tests/export_fixture.h"
#include "testing/http/loopback_server.h"

using namespace plugin;

namespace {

// A 1x1 GIF, the smallest picture a book stores.
const std::string kGif(
    "\x47\x49\x46\x38\x39\x61\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xFF\xFF\xFF\x21\xF9"
    "\x04\x01\x00\x00\x00\x00\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x01\x44\x00\x3B",
    42);

std::string fileUrl(const std::filesystem::path& path) {
    return "file://" + path.string();
}

std::vector<std::string> storedPictures(const std::vector<zip_test::Member>& members) {
    std::vector<std::string> names;
    for (const auto& member : members)
        if (member.name.starts_with("OEBPS/images/"))
            names.push_back(member.name);
    return names;
}

class PictureFetchTest : public ExportTest {
  protected:
    std::filesystem::path localPicture() {
        const auto path = home_.root() / "private" / "secret.gif";
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << kGif;
        return path;
    }
};

}  // namespace

TEST_F(PictureFetchTest, OnlyAClipOfAFilePageTakesPicturesFromThisMachine) {
    const std::wstring picture = L"<p>x<img src=\"" +
                                 platform::text::fromUtf8(fileUrl(localPicture())) +
                                 L"\" alt=\"local\">";
    const auto fromWeb =
        insert(L"From the web", L"2024-01-03 10:00:00", picture, L"", L"", L"https://e.org/a");
    const auto withoutAddress =
        insert(L"No address", L"2024-01-02 10:00:00", picture, L"", L"", L"");
    const auto book = out() / "web.epub";
    ASSERT_EQ(exportEntries({fromWeb, withoutAddress}, L"Web", wide(book), kExportEpub), 0);
    auto members = readBook(book);
    EXPECT_EQ(storedPictures(members), std::vector<std::string>{});
    EXPECT_NE(members[2].data.find("local"), std::string::npos) << "the alt text stands in";

    const auto clip = out() / "clip.epub";
    ASSERT_EQ(exportContent(L"http://e.org/page", L"Clip", L"", picture, wide(clip), kExportEpub),
              0);
    EXPECT_EQ(storedPictures(readBook(clip)), std::vector<std::string>{});

    const auto fromFile = insert(L"From a file", L"2024-01-01 10:00:00", picture, L"", L"",
                                 platform::text::fromUtf8(fileUrl(home_.root() / "page.html")));
    const auto local = out() / "local.epub";
    ASSERT_EQ(exportEntries({fromFile}, L"Local", wide(local), kExportEpub), 0);
    EXPECT_EQ(storedPictures(readBook(local)),
              std::vector<std::string>{"OEBPS/images/picture-1.gif"});
}

TEST_F(PictureFetchTest, AllPictureDownloadsOfAnExportShareOneTimeBudget) {
    testing_http::LoopbackServer server;
    std::wstring html = L"<p>Stalled pictures</p>";
    for (int i = 0; i < 12; ++i) {
        const std::string path = "/stalled-" + std::to_string(i) + ".gif";
        server.reply(path, {200, kGif, "image/gif", {}, std::chrono::milliseconds(5000)});
        html += L"<img src=\"" + platform::text::fromUtf8(server.url(path)) + L"\" alt=\"p\">";
    }
    const auto guid = insert(L"Stalled", L"2024-01-01 10:00:00", html);
    ExportControl control;
    control.pictureBudget = std::chrono::milliseconds(1500);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(exportEntries({guid}, L"Stalled", wide(out() / "s.epub"), kExportEpub, &control), 0)
        << narrow(control.error);
    const auto took = std::chrono::steady_clock::now() - start;
    // Twelve stalled downloads would take a minute; the budget ends them after 1.5 s.
    EXPECT_LT(took, std::chrono::seconds(8));
    EXPECT_EQ(storedPictures(readBook(out() / "s.epub")), std::vector<std::string>{});
}

TEST_F(PictureFetchTest, ACancelEndsTheDownloadUnderWayAndNoBookIsLeft) {
    testing_http::LoopbackServer server;
    server.reply("/slow.gif", {200, kGif, "image/gif", {}, std::chrono::milliseconds(20000)});
    const auto guid =
        insert(L"Slow", L"2024-01-01 10:00:00",
               L"<img src=\"" + platform::text::fromUtf8(server.url("/slow.gif")) + L"\">");
    ExportControl control;
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        control.cancel();
    });
    const auto start = std::chrono::steady_clock::now();
    const int result =
        exportEntries({guid}, L"Slow", wide(out() / "slow.epub"), kExportEpub, &control);
    const auto took = std::chrono::steady_clock::now() - start;
    canceller.join();
    EXPECT_EQ(result, -1);
    EXPECT_EQ(control.error, kExportCancelled);
    EXPECT_LT(took, std::chrono::seconds(5));
    EXPECT_FALSE(std::filesystem::exists(out() / "slow.epub"));
}
