#include <gtest/gtest.h>

#include "platform/registry/content_types.h"
#include "platform/registry/file_format.h"

using namespace platform::registry;

TEST(RegistryFileFormat, RoundTripsEveryKindOfValue) {
    Key root;
    bool created = false;
    Key& key = createKey(root, {L"Software", L"Olvan \"quoted\"", L"Ünïcode"}, created);
    key.values[L""] = stringValue(L"default");
    key.values[L"Lines"] = stringValue(L"a\r\nb\t\\c\x01\x7f end \x1F600");
    key.values[L"Number"] = {REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}};
    key.values[L"Binary"] = {REG_BINARY, {0x00, 0x10, 0xAB}};
    key.values[L"Empty"] = {REG_BINARY, {}};
    key.values[L"OddText"] = {REG_SZ, {0x41, 0x00}};
    key.values[L"Surrogate"] = stringValue(std::wstring(1, static_cast<wchar_t>(0xD800)));
    createKey(root, {L"EmptyKey"}, created);

    const std::string text = formatRegistryText(root);
    std::string error;
    const auto parsed = parseRegistryText(text, error);
    ASSERT_TRUE(parsed) << error << "\n" << text;
    EXPECT_EQ(*parsed, root);
    EXPECT_NE(text.find("value \"Number\" dword 4294967295"), std::string::npos) << text;
    EXPECT_NE(text.find("key \"EmptyKey\""), std::string::npos);
}

TEST(RegistryFileFormat, RejectsDamagedText) {
    Key root;
    bool created = false;
    createKey(root, {L"A"}, created).values[L"v"] = stringValue(L"text");
    const std::string whole = formatRegistryText(root);
    std::string error;
    ASSERT_TRUE(parseRegistryText(whole, error));

    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        EXPECT_FALSE(parseRegistryText(whole.substr(0, cut), error)) << cut;
    }
    const char* damaged[] = {
        "olvan-registry 2\nend\n",
        "olvan-registry 1\nkey \"A\nend\n",
        "olvan-registry 1\nvalue \"v\" dword -1\nend\n",
        "olvan-registry 1\nvalue \"v\" dword 4294967296\nend\n",
        "olvan-registry 1\nvalue \"v\" hex 3 abc\nend\n",
        "olvan-registry 1\nvalue \"v\" sz \"a\" extra\nend\n",
        "olvan-registry 1\nvalue \"v\" sz \"a\"\nvalue \"V\" sz \"b\"\nend\n",
        "olvan-registry 1\nvalue \"\\q\" sz \"a\"\nend\n",
        "olvan-registry 1\nvalue \"\xff\" sz \"a\"\nend\n",
        "olvan-registry 1\nend\nkey \"A\"\n",
        "olvan-registry 1\n\nend\n",
        "\x00\x00\x00\x00",
    };
    for (const char* text : damaged) {
        error.clear();
        EXPECT_FALSE(parseRegistryText(text, error)) << text;
        EXPECT_FALSE(error.empty());
    }
}

TEST(ContentTypes, MimeTypesAddWithoutOverridingTheTable) {
    Key root = builtInContentTypes();
    addMimeTypes(root,
                 "# comment\n"
                 "image/x-other png\n"
                 "application/x-thing\tthing  thg # trailing\r\n"
                 "type/without-extensions\n");
    EXPECT_EQ(root.subkeys.at(L".png").values.at(L"Content Type"), stringValue(L"image/png"));
    EXPECT_EQ(root.subkeys.at(L".THING").values.at(L"Content Type"),
              stringValue(L"application/x-thing"));
    EXPECT_EQ(root.subkeys.at(L".thg").values.at(L"Content Type"),
              stringValue(L"application/x-thing"));
    EXPECT_EQ(root.subkeys.count(L".trailing"), 0u);
}
