#include "plugin/zip/zip_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <thread>

#include "platform/text/utf.h"
#include "plugin/zip/tests/zip_test_support.h"
#include "plugin/zip/zip_format.h"

namespace {

using namespace plugin::zip;
using namespace zip_test;

constexpr std::string_view kMimetype = "application/epub+zip";

std::wstring wide(const std::filesystem::path& path) {
    return platform::text::fromUtf8(path.string());
}

int add(ZipWriter* zip, const wchar_t* name, std::string_view data) {
    return addZipEntry(zip, name, data.data(), static_cast<unsigned>(data.size()));
}

// Text that deflates well, and bytes that do not, both beyond one 64 KiB read.
std::string largeText() {
    std::string text;
    for (int i = 0; text.size() < 200 * 1024; ++i)
        text += "<p>paragraph " + std::to_string(i) + " of a long page</p>\n";
    return text;
}

std::string noise(std::size_t size) {
    std::string bytes(size, '\0');
    unsigned state = 12345;
    for (char& c : bytes) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 16);
    }
    return bytes;
}

TEST(ZipWriter, MimetypeEntryComesFirstStoredWithoutExtraField) {
    TemporaryFolder folder;
    const auto archive = folder.path() / "book.epub";
    ZipWriter* zip = nullptr;
    ASSERT_EQ(createZipFile(&zip, wide(archive).c_str(), nullptr), kZipOk);
    ASSERT_EQ(add(zip, L"mimetype*", kMimetype), kZipOk);
    ASSERT_EQ(add(zip, L"OEBPS\\main.html", "<html>index</html>"), kZipOk);
    ASSERT_EQ(closeZip(zip), kZipOk);

    const std::string bytes = readFile(archive);
    EXPECT_EQ(bytes.substr(0, 4), "PK\x03\x04");
    EXPECT_EQ(read16(bytes, 6), 0u);    // flags
    EXPECT_EQ(read16(bytes, 8), 0u);    // stored
    EXPECT_EQ(read32(bytes, 18), 20u);  // compressed size
    EXPECT_EQ(read32(bytes, 22), 20u);  // uncompressed size
    EXPECT_EQ(read16(bytes, 26), 8u);   // name length
    EXPECT_EQ(read16(bytes, 28), 0u);   // no extra field
    EXPECT_EQ(bytes.substr(30, 8 + 20), "mimetypeapplication/epub+zip");

    const auto members = readBack(archive, folder.path());
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(members[0].name, "mimetype");
    EXPECT_EQ(members[1].name, "OEBPS/main.html");
    EXPECT_EQ(members[1].method, kMethodDeflated);
    EXPECT_EQ(members[1].flags, kFlagMaximumCompression);
    EXPECT_EQ(members[1].data, "<html>index</html>");
    const CommandResult test = unzipTest(archive);
    EXPECT_EQ(test.exitCode, 0) << test.output;
}

TEST(ZipWriter, MembersOfEveryKindReadBackUnchanged) {
    TemporaryFolder folder;
    const auto archive = folder.path() / "mixed.zip";
    const std::string text = largeText();
    const std::string random = noise(150 * 1024);
    const std::string inner = "PK pretend archive";
    ZipWriter* zip = nullptr;
    ASSERT_EQ(createZipFile(&zip, wide(archive).c_str(), ""), kZipOk);
    ASSERT_EQ(add(zip, L"big.html", text), kZipOk);
    ASSERT_EQ(add(zip, L"noise.bin", random), kZipOk);
    ASSERT_EQ(add(zip, L"Inner.ZIP", inner), kZipOk);
    ASSERT_EQ(add(zip, L"Über/日本語.txt", "non-ASCII name"), kZipOk);
    ASSERT_EQ(addZipEntry(zip, L"empty.txt", nullptr, 0), kZipOk);
    ASSERT_EQ(addZipEntry(zip, L"empty-stored*", "", 0), kZipOk);
    ASSERT_EQ(closeZip(zip), kZipOk);

    const CommandResult test = unzipTest(archive);
    EXPECT_EQ(test.exitCode, 0) << test.output;
    const auto members = readBack(archive, folder.path());
    ASSERT_EQ(members.size(), 6u);
    EXPECT_EQ(members[0].data, text);
    EXPECT_EQ(members[0].method, kMethodDeflated);
    EXPECT_LT(std::filesystem::file_size(archive), text.size() / 4 + random.size() + 4096);
    EXPECT_EQ(members[1].data, random);
    EXPECT_EQ(members[2].name, "Inner.ZIP");
    EXPECT_EQ(members[2].method, kMethodStored);
    EXPECT_EQ(members[2].flags, 0);
    EXPECT_EQ(members[3].name, "Über/日本語.txt");
    EXPECT_EQ(members[3].flags, kFlagMaximumCompression | kFlagUtf8Name);
    EXPECT_EQ(members[3].data, "non-ASCII name");
    EXPECT_EQ(members[4].data, "");
    EXPECT_EQ(members[4].method, kMethodDeflated);
    EXPECT_EQ(members[5].name, "empty-stored");
    EXPECT_EQ(members[5].method, kMethodStored);
}

TEST(ZipWriter, EndRecordCountsEntriesAndPointsAtTheDirectory) {
    TemporaryFolder folder;
    const auto archive = folder.path() / "three.zip";
    ZipWriter* zip = nullptr;
    ASSERT_EQ(createZipFile(&zip, wide(archive).c_str(), nullptr), kZipOk);
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c"})
        ASSERT_EQ(add(zip, name, "content"), kZipOk);
    ASSERT_EQ(closeZip(zip), kZipOk);

    const std::string bytes = readFile(archive);
    const std::size_t end = bytes.size() - 22;
    EXPECT_EQ(read32(bytes, end), 0x06054b50u);
    EXPECT_EQ(read16(bytes, end + 8), 3u);
    EXPECT_EQ(read16(bytes, end + 10), 3u);
    const unsigned long directorySize = read32(bytes, end + 12);
    const unsigned long directoryOffset = read32(bytes, end + 16);
    EXPECT_EQ(directoryOffset + directorySize, end);
    EXPECT_EQ(read32(bytes, directoryOffset), 0x02014b50u);
    EXPECT_EQ(read16(bytes, directoryOffset + 4), 0x0B17u);
    // The name without extension ("c") is the third record; its attributes differ.
    std::size_t record = directoryOffset;
    for (int i = 0; i < 2; ++i)
        record += 46 + read16(bytes, record + 28) + read16(bytes, record + 30);
    EXPECT_EQ(read32(bytes, record + 38), 0x81C00000u);
    EXPECT_EQ(read32(bytes, directoryOffset + 38), 0x81800000u);
}

TEST(ZipWriter, DosTimeAndDateFields) {
    std::tm time{};
    time.tm_year = 2024 - 1900;
    time.tm_mon = 2;  // March
    time.tm_mday = 7;
    time.tm_hour = 13;
    time.tm_min = 45;
    time.tm_sec = 59;
    EXPECT_EQ(dosTime(time), (13 << 11) | (45 << 5) | 29);
    EXPECT_EQ(dosDate(time), ((2024 - 1980) << 9) | (3 << 5) | 7);
    EXPECT_TRUE(isCompressedExtension("a/b.TGZ"));
    EXPECT_FALSE(isCompressedExtension("a.zipx"));
    EXPECT_FALSE(isCompressedExtension("zip"));
}

TEST(ZipWriter, PipeTargetCarriesDataDescriptors) {
    TemporaryFolder folder;
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    std::string received;
    std::thread reader([&] {
        char buffer[4096];
        ssize_t got = 0;
        while ((got = read(ends[0], buffer, sizeof buffer)) > 0)
            received.append(buffer, static_cast<std::size_t>(got));
    });
    ZipWriter* zip = nullptr;
    const int created = createZipOnDescriptor(&zip, ends[1], nullptr);
    close(ends[1]);
    ASSERT_EQ(created, kZipOk);
    const std::string text = largeText();
    EXPECT_EQ(add(zip, L"mimetype*", kMimetype), kZipOk);
    EXPECT_EQ(add(zip, L"page.html", text), kZipOk);
    EXPECT_EQ(closeZip(zip), kZipOk);
    reader.join();
    close(ends[0]);

    EXPECT_EQ(read16(received, 6), kFlagDataDescriptor);
    EXPECT_EQ(read32(received, 30 + 8 + 20), 0x08074b50u);  // descriptor after the data
    const auto archive = folder.path() / "piped.zip";
    std::ofstream(archive, std::ios::binary) << received;
    const CommandResult test = unzipTest(archive);
    EXPECT_EQ(test.exitCode, 0) << test.output;
    const auto members = readBack(archive, folder.path());
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(members[1].data, text);
}

TEST(ZipWriter, ArchiveAfterOtherDataInAFileStaysReadable) {
    TemporaryFolder folder;
    const auto archive = folder.path() / "prefixed.zip";
    const int fd = open(archive.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    const std::string prefix = "a stub that comes before the archive\n";
    ASSERT_EQ(write(fd, prefix.data(), prefix.size()), static_cast<ssize_t>(prefix.size()));
    ZipWriter* zip = nullptr;
    ASSERT_EQ(createZipOnDescriptor(&zip, fd, nullptr), kZipOk);
    close(fd);
    EXPECT_EQ(add(zip, L"one.txt", "first"), kZipOk);
    EXPECT_EQ(add(zip, L"two.txt", "second"), kZipOk);
    EXPECT_EQ(closeZip(zip), kZipOk);

    const std::string bytes = readFile(archive);
    EXPECT_EQ(bytes.substr(0, prefix.size()), prefix);
    const CommandResult test = unzipTest(archive);
    EXPECT_EQ(test.exitCode, 0) << test.output;
    const auto members = readBack(archive, folder.path());
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(members[1].data, "second");
}

TEST(ZipWriter, BadArgumentsAreRefused) {
    TemporaryFolder folder;
    ZipWriter* zip = reinterpret_cast<ZipWriter*>(1);
    EXPECT_EQ(createZipFile(&zip, wide(folder.path() / "missing" / "a.zip").c_str(), nullptr),
              kZipCannotCreate);
    EXPECT_EQ(zip, nullptr);
    EXPECT_EQ(createZipFile(&zip, wide(folder.path() / "a.zip").c_str(), "secret"),
              kZipBadArgument);
    EXPECT_EQ(createZipFile(&zip, L"", nullptr), kZipBadArgument);
    EXPECT_EQ(createZipOnDescriptor(&zip, -1, nullptr), kZipBadArgument);
    EXPECT_EQ(closeZip(nullptr), kZipBadArgument);
    EXPECT_EQ(add(nullptr, L"a", "x"), kZipBadArgument);

    ASSERT_EQ(createZipFile(&zip, wide(folder.path() / "a.zip").c_str(), nullptr), kZipOk);
    EXPECT_EQ(add(zip, L"", "x"), kZipBadArgument);
    EXPECT_EQ(add(zip, L"*", "x"), kZipBadArgument);
    EXPECT_EQ(add(zip, nullptr, "x"), kZipBadArgument);
    EXPECT_EQ(addZipEntry(zip, L"a", nullptr, 3), kZipBadArgument);
    EXPECT_EQ(add(zip, std::wstring(261, L'n').c_str(), "x"), kZipBadArgument);
    EXPECT_EQ(add(zip, std::wstring(260, L'n').c_str(), "x"), kZipOk);
    // Refused entries leave the archive sound.
    EXPECT_EQ(closeZip(zip), kZipOk);
    EXPECT_EQ(unzipTest(folder.path() / "a.zip").exitCode, 0);
}

TEST(ZipWriter, FirstWriteFailureSticksAndIsReportedByClose) {
    ZipWriter* zip = nullptr;
    ASSERT_EQ(createZipFile(&zip, L"/dev/full", nullptr), kZipOk);
    EXPECT_EQ(add(zip, L"a.txt", "data"), kZipWriteFailed);
    EXPECT_EQ(add(zip, L"b.txt", "data"), kZipWriteFailed);
    EXPECT_EQ(closeZip(zip), kZipWriteFailed);
}

TEST(ZipWriter, EntryCountStopsAtTheClassicLimit) {
    TemporaryFolder folder;
    ZipWriter* zip = nullptr;
    ASSERT_EQ(createZipFile(&zip, wide(folder.path() / "many.zip").c_str(), nullptr), kZipOk);
    for (int i = 0; i < 0xFFFF; ++i)
        ASSERT_EQ(add(zip, (L"f" + std::to_wstring(i) + L"*").c_str(), "x"), kZipOk) << i;
    EXPECT_EQ(add(zip, L"one-too-many*", "x"), kZipBadArgument);
    EXPECT_EQ(closeZip(zip), kZipOk);
    const std::string bytes = readFile(folder.path() / "many.zip");
    EXPECT_EQ(read16(bytes, bytes.size() - 22 + 10), 0xFFFFu);
}

}  // namespace
