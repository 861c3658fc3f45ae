#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "addon/commands/page_styles.h"

using namespace addon;

namespace {

class PageStylesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("tamrix-pagestyles-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::wstring write(const std::string& name, const std::string& bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
        return (folder / name).wstring();
    }

    std::filesystem::path folder;
};

}  // namespace

TEST_F(PageStylesTest, LooksUpClassesAndCssOfTheFirstStyleWithTheName) {
    const auto path = write("styles.xml",
                            "<styles>"
                            "<style name='Plain'><item type='class' value='a'/>"
                            "<item type='class' value=''/><item type='class' value='c'/>"
                            "<item type='style' value='one.css'/><item type='style' value=''/>"
                            "<item type='style' value='missing.css'/>"
                            "<item type='style' value='two.css'/></style>"
                            "<style name='Plain'><item type='class' value='second'/></style>"
                            "<style><item value='x'/></style>"
                            "</styles>");
    write("one.css", "p{color:red}\n");
    write("two.css", "h1::before{content:\"\xc2\xa7\"}");
    PageStyleSet styles;
    ASSERT_EQ(styles.load(path, folder.wstring()), 0);
    EXPECT_EQ(styles.names(), (std::vector<std::wstring>{L"Plain", L"Plain", L""}));
    EXPECT_EQ(styles.classes(L"Plain"), L"a  c");
    EXPECT_EQ(styles.css(L"Plain"), L"p{color:red}\nh1::before{content:\"\u00a7\"}");
    EXPECT_EQ(styles.classes(L"plain"), L"");
    EXPECT_EQ(styles.css(L"Unknown"), L"");
    ASSERT_EQ(styles.styles()[2].items.size(), 1u);
    EXPECT_EQ(styles.styles()[2].items[0].type, L"");
}

TEST_F(PageStylesTest, EachStyleSheetContributesAtMostItsFirst64KiB) {
    std::string css;
    while (css.size() < 200000) {
        css += "p.rule" + std::to_string(css.size()) + " { margin: 0 }\n";
    }
    write("long.css", css);
    write("short.css", "/* short */");
    const auto path = write("styles.xml",
                            "<styles><style name='Long'>"
                            "<item type='style' value='long.css'/>"
                            "<item type='style' value='short.css'/></style></styles>");
    PageStyleSet styles;
    ASSERT_EQ(styles.load(path, folder.wstring()), 0);
    const std::wstring text = styles.css(L"Long");
    EXPECT_EQ(text, std::wstring(css.begin(), css.begin() + 65536) + L"/* short */");
}

TEST_F(PageStylesTest, BadFilesLeaveTheSetEmpty) {
    PageStyleSet styles;
    EXPECT_EQ(styles.load(L"", folder.wstring()), -1);
    EXPECT_EQ(styles.load((folder / "absent.xml").wstring(), folder.wstring()), -1);
    EXPECT_EQ(styles.load(write("broken.xml", "<styles><style name='x'>"), folder.wstring()), -1);
    const auto good = write("good.xml", "<styles><style name='S'/></styles>");
    ASSERT_EQ(styles.load(good, folder.wstring()), 0);
    EXPECT_EQ(styles.load(write("other.xml", "<pagestyles><style name='S'/></pagestyles>"),
                          folder.wstring()),
              -1);
    EXPECT_TRUE(styles.names().empty());
}

TEST(ShippedPageStyles, NovelAndTwoMoreWithTheirStyleSheets) {
    const std::wstring data = std::filesystem::path(TAMRIX_STAGE_DIR "/data").wstring();
    PageStyleSet styles;
    ASSERT_EQ(styles.load(data + L"/pagestyles.xml", data + L"/resources/pagestyles"), 0);
    const auto names = styles.names();
    ASSERT_GE(names.size(), 3u);
    EXPECT_EQ(names[0], L"Novel");
    for (const auto& name : names) {
        EXPECT_FALSE(styles.classes(name).empty()) << name;
        const std::wstring css = styles.css(name);
        EXPECT_NE(css.find(L"#readable"), std::wstring::npos) << name;
        EXPECT_NE(css.find(L"max-width"), std::wstring::npos) << name;
    }
}
