// Memory targets, file sources, finishing and aborting, and the names the writer refuses.
#include <fcntl.h>
#include <unistd.h>

#include <cwchar>
#include <thread>
#include <vector>

#include "plugin/zip/tests/zip_test_support.h"
#include "plugin/zip/zip_writer.h"

namespace {

using namespace plugin::zip;
using namespace zip_test;

int add(ZipWriter* zip, const wchar_t* name, std::string_view data) {
    return addZipEntry(zip, name, data.data(), static_cast<unsigned>(data.size()));
}

std::string pageText() {
    std::string text;
    for (int i = 0; text.size() < 150 * 1024; ++i)
        text += "<p>line " + std::to_string(i) + "</p>\n";
    return text;
}

// The archive in memory, checked and read back through a file.
std::vector<Member> readMemory(ZipWriter* zip, const TemporaryFolder& folder) {
    const void* data = nullptr;
    std::size_t length = 0;
    EXPECT_EQ(zipMemory(zip, &data, &length), kZipOk);
    const auto archive = folder.path() / "memory.zip";
    std::ofstream(archive, std::ios::binary)
        .write(static_cast<const char*>(data), static_cast<std::streamsize>(length));
    const CommandResult test = unzipTest(archive);
    EXPECT_EQ(test.exitCode, 0) << test.output;
    return readBack(archive, folder.path());
}

TEST(ZipTargets, NamesThatClimbOutOfTheFolderAreRefused) {
    TemporaryFolder folder;
    ZipWriter* zip = nullptr;
    ASSERT_EQ(createZipFile(&zip, (folder.path() / "a.zip").wstring().c_str(), nullptr), kZipOk);
    for (const wchar_t* name : {L"../x", L"..\\x", L"a/../../b", L"a\\..", L"..", L"/etc/x", L"\\x",
                                L"C:x", L"c:\\x", L"../x*"})
        EXPECT_EQ(add(zip, name, "x"), kZipBadArgument) << static_cast<int>(std::wcslen(name));
    for (const wchar_t* name : {L"a..b", L"..a/b..", L"dir/.../f", L"OEBPS\\images\\p.jpg"})
        EXPECT_EQ(add(zip, name, "x"), kZipOk);
    EXPECT_EQ(closeZip(zip), kZipOk);
    const auto members = readBack(folder.path() / "a.zip", folder.path());
    ASSERT_EQ(members.size(), 4u);
    EXPECT_EQ(members[3].name, "OEBPS/images/p.jpg");
}

TEST(ZipTargets, CallersBufferAndOwnMappingHoldTheWholeArchive) {
    TemporaryFolder folder;
    const std::string text = pageText();
    std::vector<char> buffer(1 << 20);
    ZipWriter* zip = nullptr;
    ASSERT_EQ(createZipInMemory(&zip, buffer.data(), buffer.size(), nullptr), kZipOk);
    EXPECT_EQ(add(zip, L"mimetype*", "application/epub+zip"), kZipOk);
    EXPECT_EQ(add(zip, L"OEBPS\\page.html", text), kZipOk);
    EXPECT_EQ(finishZip(zip), kZipOk);
    auto members = readMemory(zip, folder);
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(members[0].method, 0);
    EXPECT_EQ(members[0].flags, 0);  // sizes in the header: a memory target can seek
    EXPECT_EQ(members[1].data, text);
    EXPECT_EQ(closeZip(zip), kZipOk);

    ASSERT_EQ(createZipInMemory(&zip, nullptr, 1 << 20, nullptr), kZipOk);
    EXPECT_EQ(add(zip, L"a.txt", "first"), kZipOk);
    EXPECT_EQ(finishZip(zip), kZipOk);
    members = readMemory(zip, folder);
    ASSERT_EQ(members.size(), 1u);
    EXPECT_EQ(members[0].data, "first");
    EXPECT_EQ(closeZip(zip), kZipOk);
}

TEST(ZipTargets, FullOrSizelessMemoryIsReported) {
    ZipWriter* zip = reinterpret_cast<ZipWriter*>(1);
    EXPECT_EQ(createZipInMemory(&zip, nullptr, 0, nullptr), kZipMemoryFull);
    EXPECT_EQ(zip, nullptr);
    char small[100];
    ASSERT_EQ(createZipInMemory(&zip, small, sizeof small, nullptr), kZipOk);
    EXPECT_EQ(add(zip, L"a.txt", "fits"), kZipOk);
    EXPECT_EQ(add(zip, L"b.txt", std::string(500, 'x') + "does not fit"), kZipMemoryFull);
    EXPECT_EQ(add(zip, L"c.txt", "later"), kZipMemoryFull);
    EXPECT_EQ(closeZip(zip), kZipMemoryFull);
}

TEST(ZipTargets, FileSourcesAreReadInPiecesAndTheirFailuresReported) {
    TemporaryFolder folder;
    const std::string text = pageText();
    const auto source = folder.path() / "source.html";
    std::ofstream(source, std::ios::binary) << text;
    ZipWriter* zip = nullptr;
    ASSERT_EQ(createZipFile(&zip, (folder.path() / "f.zip").wstring().c_str(), nullptr), kZipOk);
    EXPECT_EQ(addZipFileEntry(zip, L"page.html", source.wstring().c_str()), kZipOk);
    EXPECT_EQ(addZipFileEntry(zip, L"gone.html", (folder.path() / "gone").wstring().c_str()),
              kZipCannotCreate);
    EXPECT_EQ(closeZip(zip), kZipOk);
    const auto members = readBack(folder.path() / "f.zip", folder.path());
    ASSERT_EQ(members.size(), 1u);
    EXPECT_EQ(members[0].data, text);

    // A folder opens but cannot be read.
    ASSERT_EQ(createZipFile(&zip, (folder.path() / "g.zip").wstring().c_str(), nullptr), kZipOk);
    EXPECT_EQ(addZipFileEntry(zip, L"folder.txt", folder.path().wstring().c_str()), kZipReadFailed);
    EXPECT_EQ(closeZip(zip), kZipReadFailed);
}

TEST(ZipTargets, StreamedEntryWhoseSourceChangedSizeIsRefused) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    std::thread reader([&] {
        char buffer[4096];
        while (read(ends[0], buffer, sizeof buffer) > 0) {
        }
    });
    ZipWriter* zip = nullptr;
    const int created = createZipOnDescriptor(&zip, ends[1], nullptr);
    close(ends[1]);
    ASSERT_EQ(created, kZipOk);
    // Files under /proc report size 0 and then give their text.
    EXPECT_EQ(addZipFileEntry(zip, L"status.txt", L"/proc/self/status"), kZipSizeMismatch);
    EXPECT_EQ(closeZip(zip), kZipSizeMismatch);
    reader.join();
    close(ends[0]);
}

TEST(ZipTargets, FinishedArchiveTakesNoMoreAndAbortStopsEverything) {
    TemporaryFolder folder;
    ZipWriter* zip = nullptr;
    ASSERT_EQ(createZipFile(&zip, (folder.path() / "a.zip").wstring().c_str(), nullptr), kZipOk);
    EXPECT_EQ(add(zip, L"a.txt", "a"), kZipOk);
    EXPECT_EQ(finishZip(zip), kZipOk);
    EXPECT_EQ(add(zip, L"b.txt", "b"), kZipClosed);
    EXPECT_EQ(finishZip(zip), kZipClosed);
    EXPECT_EQ(closeZip(zip), kZipOk);
    EXPECT_EQ(readBack(folder.path() / "a.zip", folder.path()).size(), 1u);

    ASSERT_EQ(createZipFile(&zip, (folder.path() / "b.zip").wstring().c_str(), nullptr), kZipOk);
    EXPECT_EQ(add(zip, L"a.txt", "a"), kZipOk);
    std::thread([zip] { abortZip(zip); }).join();
    EXPECT_EQ(add(zip, L"b.txt", "b"), kZipAborted);
    EXPECT_EQ(closeZip(zip), kZipAborted);
    EXPECT_NE(unzipTest(folder.path() / "b.zip").exitCode, 0) << "no directory was written";
}

}  // namespace
