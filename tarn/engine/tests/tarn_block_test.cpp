#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace {

using tarn_test::EngineTest;
using tarn_test::xmlPage;
using ::testing::StartsWith;

constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

std::string tarn(const std::string& body, const std::string& attributes = "database=\"test.db\"") {
    return "<Tarn " + attributes + ">" + body + "</Tarn>";
}

TEST_F(EngineTest, SqlRowsBecomeItemsWithUnderscoreColumnsAsAttributes) {
    const std::string out = run(xmlPage(tarn(
        R"(<request name="*" method="SQL" value="select id as _id, title, score from entry order by id"/>)")));
    EXPECT_EQ(out, std::string(kDeclaration) +
                       "<storage><item id=\"1\"><title>First</title><score>1.5</score></item>"
                       "<item id=\"2\"><title>Second &amp; more</title><score/></item>"
                       "<item id=\"3\"><title>Third</title><score>3.0</score></item></storage>\n");
}

TEST_F(EngineTest, NamedRequestWrapsItsRowsAndEmptyResultExportsNothing) {
    EXPECT_EQ(
        run(xmlPage(
            tarn(R"(<request name="rows" method="SQL" value="select title from entry where id=2"/>)"
                 R"(<request name="*" method="SQL" value="select title from entry where id=99">)"
                 R"(<for-each><output message="never"/></for-each></request>)"))),
        std::string(kDeclaration) +
            "<storage><rows><item><title>Second &amp; more</title></item></rows></storage>\n");
}

TEST_F(EngineTest, BindsAreTypedAndAnUnknownTypeFails) {
    EXPECT_EQ(
        run(xmlPage(tarn(
                R"(<request name="*" method="SQL" value="select title from entry where id=? and score>?">)"
                R"(<bind type="int" value="{$request_value}"/><bind type="double">1.25</bind>)"
                R"(</request>)")),
            L"//t/1"),
        std::string(kDeclaration) + "<storage><item><title>First</title></item></storage>\n");
    EXPECT_EQ(run(xmlPage(tarn(R"(<request name="*" method="SQL" value="select ?">)"
                               R"(<bind type="date" value="x"/></request>)"))),
              "FAILED: Unsupported data type: date");
    EXPECT_THAT(
        run(xmlPage(tarn(R"(<request name="*" method="SQL" value="select x from nowhere"/>)"))),
        StartsWith("FAILED: SQLITE_ERROR[1]: no such table: nowhere"));
}

TEST_F(EngineTest, VariablesTakeValuesSelectionsAndStayInTheirBlock) {
    const std::string out = run(xmlPage(tarn(R"(
        <variable name="kind" value="{$request_value}"/>
        <request name="*" method="SQL" value="select id as _id, title from entry where folder={$kind} order by id">
          <for-each>
            <variable name="title" select="title"/>
            <variable name="missing" select="nothing"/>
            <request name="*" method="SQL" value="select '{$title}|{$missing}|{$kind}|{$unknown}' as seen"/>
          </for-each>
          <request name="*" method="SQL" value="select '{$title}' as outside"/>
        </request>)")),
                                L"//t/news");
    EXPECT_EQ(out, std::string(kDeclaration) +
                       "<storage><item id=\"1\"><title>First</title></item>"
                       "<item id=\"2\"><title>Second &amp; more</title></item>"
                       "<item><seen>First||news|{$unknown}</seen></item>"
                       "<item><seen>Second &amp; more||news|{$unknown}</seen></item>"
                       "<item><outside>{$title}</outside></item></storage>\n");
}

TEST_F(EngineTest, ConditionsSeeTypedVariablesAndChooseRunsTheFirstTrueBranch) {
    const std::string out = run(xmlPage(tarn(R"P(
        <variable name="n" type="int" value="{$request_value}"/>
        <variable name="word" value="abc"/>
        <if test="n > 5"><request name="big" method="SQL" value="select 1 as x"/></if>
        <if test="(n = 7) .AND. (word = &quot;abc&quot;)"><request name="seven" method="SQL" value="select 1 as x"/></if>
        <if test="word"><request name="text" method="SQL" value="select 1 as x"/></if>
        <choose>
          <when test="n > 1"><request name="first" method="SQL" value="select 1 as x"/></when>
          <when test="n > 2"><request name="second" method="SQL" value="select 1 as x"/></when>
          <otherwise><request name="other" method="SQL" value="select 1 as x"/></otherwise>
        </choose>
        <choose><when test="n > 100"><request name="never" method="SQL" value="select 1 as x"/></when></choose>
        <choose><when test="n > 100"/><otherwise><request name="fallback" method="SQL" value="select 1 as x"/></otherwise></choose>)P")),
                                L"//t/7");
    const std::string item = "<item><x>1</x></item>";
    EXPECT_EQ(out, std::string(kDeclaration) + "<storage><big>" + item + "</big><seven>" + item +
                       "</seven><text>" + item + "</text><first>" + item + "</first><fallback>" +
                       item + "</fallback></storage>\n");

    EXPECT_THAT(run(xmlPage(tarn(R"(<if test="1 +"><output message="x"/></if>)"))),
                StartsWith("FAILED: "));
}

TEST_F(EngineTest, TopLevelSelectionsOnTheEmptyContextFindNothing) {
    EXPECT_EQ(run(xmlPage(tarn(R"(<variable name="v" select="/results/item"/>
        <for-each select="//*"><request name="never" method="SQL" value="select 1 as x"/></for-each>
        <request name="v" method="SQL" value="select '{$v}' as value"/>)"))),
              std::string(kDeclaration) + "<storage><v><item><value/></item></v></storage>\n");
}

TEST_F(EngineTest, ClosedReadOnlyDatabaseSkipsSqlAndMemoryDatabaseStartsEmpty) {
    EXPECT_EQ(run(xmlPage(tarn(R"(<request name="*" method="SQL" value="select 1 as x"/>)",
                               R"(database="missing.db")"))),
              std::string(kDeclaration) + "<storage/>\n");
    EXPECT_EQ(
        run(xmlPage(tarn(
            R"(<request method="SQL" value="create table t(x);"/>)"
            R"(<request name="*" method="SQL" value="select count(*) as n from sqlite_master"/>)",
            R"(name="memory" writable="true")"))),
        std::string(kDeclaration) + "<memory><item><n>1</n></item></memory>\n");
}

TEST_F(EngineTest, WritableBlocksCommitChangesAndRollBackFailuresReleasingTheLock) {
    const auto count = [&](const std::wstring& where) {
        common::SqliteDB db(databasePath(), true);
        auto rows = db.prepareStatement(L"select count(*) from entry where " + where).query();
        return rows.columnText(0);
    };
    const std::string writable = R"(database="test.db" writable="TRUE")";
    EXPECT_EQ(run(xmlPage(
                  tarn(R"(<request method="SQL" value="update entry set folder='x' where id=1"/>)",
                       writable))),
              std::string(kDeclaration) + "<storage/>\n");
    EXPECT_EQ(count(L"folder='x'"), L"1");

    EXPECT_EQ(
        run(xmlPage(tarn(R"(<request method="SQL" value="update entry set folder='y' where id=1"/>)"
                         R"(<request method="SQL" value="insert into nowhere values (1);"/>)",
                         writable)))
            .rfind("FAILED: ", 0),
        0u);
    EXPECT_EQ(count(L"folder='y'"), L"0");
    EXPECT_TRUE(tarn::Tarn::m_globalCS.try_lock());
    tarn::Tarn::m_globalCS.unlock();

    // The database cannot be opened, so "begin;" throws: the page fails, the lock is free.
    EXPECT_EQ(run(xmlPage(tarn(R"(<request method="SQL" value="select 1"/>)",
                               R"(database="no/such/folder/x.db" writable="true")"))),
              "FAILED: ");
    EXPECT_TRUE(tarn::Tarn::m_globalCS.try_lock());
    tarn::Tarn::m_globalCS.unlock();
}

TEST_F(EngineTest, EditsEmptyAndDeleteNodesOfTheResultSoFar) {
    EXPECT_EQ(run(xmlPage(tarn(R"(
        <request name="a" method="SQL" value="select title from entry order by id"/>
        <request name="b" method="SQL" value="select folder from entry where id=3"/>
        <request method="xml:empty" value="b"/>
        <request method="xml:delete" value="a/item[title={$request_value}]"/>
        <request method="xml:delete" value="nothing/here"/>)")),
                  L"//t/Third"),
              std::string(kDeclaration) +
                  "<storage><a><item><title>First</title></item>"
                  "<item><title>Second &amp; more</title></item></a><b/></storage>\n");
    EXPECT_EQ(run(xmlPage(tarn(R"(<request method="PUT" value="x"/>)"))),
              "FAILED: unsupport method: PUT");
}

TEST_F(EngineTest, UrlValuesCannotChangeSqlStatementsOrEditPaths) {
    const std::string quoted = xmlPage(tarn(
        R"(<request name="*" method="SQL" value="select id from entry where title='{$request_value}'"/>)"));
    EXPECT_EQ(run(quoted, L"//t/x' or '1'='1"), std::string(kDeclaration) + "<storage/>\n");
    EXPECT_EQ(run(quoted, L"//t/Second & more"),
              std::string(kDeclaration) + "<storage><item><id>2</id></item></storage>\n");

    const std::string bare = xmlPage(
        tarn(R"(<request name="*" method="SQL" value="select title from entry where id={$id}"/>)"));
    EXPECT_EQ(run(bare, L"//t/x?id=1 or 1=1"), std::string(kDeclaration) + "<storage/>\n");
    EXPECT_EQ(run(bare, L"//t/x?id=3"),
              std::string(kDeclaration) + "<storage><item><title>Third</title></item></storage>\n");

    EXPECT_EQ(run(xmlPage(tarn(R"(
        <request name="a" method="SQL" value="select title from entry order by id"/>
        <request method="xml:delete" value="a/item[title='{$request_value}']"/>)")),
                  L"//t/x' or '1'='1"),
              std::string(kDeclaration) +
                  "<storage><a><item><title>First</title></item>"
                  "<item><title>Second &amp; more</title></item>"
                  "<item><title>Third</title></item></a></storage>\n");
}

TEST_F(EngineTest, SignedNumbersQuotedNamesAndWideIntegersStayData) {
    // "5-" and "-1" must not meet as "--", which would comment out the rest.
    const std::string difference =
        xmlPage(tarn(R"(<request name="*" method="SQL" value="select 5-{$n} as v"/>)"));
    EXPECT_EQ(run(difference, L"//t/x?n=-1"),
              std::string(kDeclaration) + "<storage><item><v>6</v></item></storage>\n");

    // A value inside [..] or `..` names one column, whatever brackets or quotes it holds.
    for (const char* quoted : {"[{$c}]", "`{$c}`"}) {
        const std::string alias =
            xmlPage(tarn(std::string(R"(<request name="*" method="SQL" value="select id as )") +
                         quoted + R"( from entry where id=1"/>)"));
        EXPECT_EQ(run(alias, L"//t/x?c=v"),
                  std::string(kDeclaration) + "<storage><item><v>1</v></item></storage>\n")
            << quoted;
        EXPECT_EQ(run(alias, L"//t/x?c=v], title as [w").find("First"), std::string::npos)
            << quoted;
        EXPECT_EQ(run(alias, L"//t/x?c=v` , title as `w").find("First"), std::string::npos)
            << quoted;
    }

    const std::string wide = xmlPage(tarn(R"(<request name="*" method="SQL" value="select ? as v">)"
                                          R"(<bind type="int" value="{$n}"/></request>)"));
    EXPECT_EQ(run(wide, L"//t/x?n=4294967297"),
              std::string(kDeclaration) + "<storage><item><v>4294967297</v></item></storage>\n");
    EXPECT_EQ(run(wide, L"//t/x?n=-9223372036854775808"),
              std::string(kDeclaration) +
                  "<storage><item><v>-9223372036854775808</v></item></storage>\n");
}

}  // namespace
