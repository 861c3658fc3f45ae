#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "addon/readable/grab_rules.h"

using namespace addon;

namespace {

std::wstring writeTemporary(const std::string& name, const std::string& text) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("tamrix-grab-" + std::to_string(::getpid()) + "-" + name);
    std::ofstream(path, std::ios::binary) << text;
    return path.wstring();
}

}  // namespace

TEST(GrabRulesLoading, TablesKeepFileOrderAndParametersReplaceDefaults) {
    const auto path = writeTemporary(
        "rules.xml",
        "<config><tagChars><item name='UL' value='50'/><item name='FORM' value='0'/></tagChars>"
        "<tagRanks><item name='P' value='100'/><skip name='X' value='1'/>"
        "<item name='DIV' value='-40'/><item name='P' value='5'/><item name='B'/>"
        "<item name='I' value=''/></tagRanks>"
        "<other><item name='Z' value='9'/></other>"
        "<params><item name='transferToUpper' value='0.25'/><item name='extra' value='x'/>"
        "</params><idRanks><item name='main' value='7'/></idRanks></config>");
    GrabRules rules;
    ASSERT_EQ(rules.load(path), 0);
    std::filesystem::remove(path);
    ASSERT_EQ(rules.tagRanks.size(), 5u);
    EXPECT_EQ(rules.tagRanks[0].name, L"P");
    EXPECT_EQ(rules.tagRanks[1].value, -40);
    EXPECT_EQ(rules.tagRanks[2].value, 5);
    EXPECT_EQ(rules.tagRanks[3].value, 0);
    EXPECT_EQ(rules.tagRanks[4].value, 0);
    ASSERT_EQ(rules.tagChars.size(), 2u);
    EXPECT_EQ(rules.tagChars[0].value, 50);
    ASSERT_EQ(rules.idRanks.size(), 1u);
    EXPECT_TRUE(rules.classRanks.empty());
    EXPECT_DOUBLE_EQ(rules.transferToUpper(), 0.25);
    EXPECT_EQ(rules.params.at(L"extra"), L"x");
    EXPECT_EQ(rules.params.at(L"subElemK"), L"-5.0");
}

TEST(GrabRulesLoading, AFailedLoadLeavesEmptyTablesAndDefaults) {
    GrabRules rules;
    const auto good = writeTemporary("good.xml",
                                     "<config><tagRanks><item name='P' value='1'/>"
                                     "</tagRanks><params><item "
                                     "name='transferToUpper' value='0.9'/></params>"
                                     "</config>");
    ASSERT_EQ(rules.load(good), 0);
    const auto noConfig = writeTemporary("noconfig.xml", "<rules><tagRanks/></rules>");
    EXPECT_EQ(rules.load(noConfig), -1);
    EXPECT_TRUE(rules.tagRanks.empty());
    EXPECT_DOUBLE_EQ(rules.transferToUpper(), 0.5);
    EXPECT_EQ(rules.load(L""), -1);
    const auto broken = writeTemporary("broken.xml", "<config><tagRanks>");
    EXPECT_EQ(rules.load(broken), -1);
    for (const auto& path : {good, noConfig, broken}) {
        std::filesystem::remove(path);
    }
}

TEST(GrabRulesLoading, ShippedRulesLoad) {
    ASSERT_EQ(loadGrabRules(std::filesystem::path(TAMRIX_STAGE_DIR "/data/grab.xml").wstring()), 0);
    EXPECT_FALSE(grabRules().tagRanks.empty());
    EXPECT_FALSE(grabRules().tagChars.empty());
    EXPECT_DOUBLE_EQ(grabRules().transferToUpper(), 0.5);
}
