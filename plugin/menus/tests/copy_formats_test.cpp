#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/language/language_table.h"
#include "platform/text/utf.h"
#include "plugin/menus/copy_formats.h"
#include "plugin/menus/list_path.h"
#include "testing/environment/temporary_home.h"

using namespace plugin;

namespace {

EntryRecord linkEntry() {
    EntryRecord entry;
    entry.type = L"link";
    entry.title = L"Grüße & mehr";
    entry.url = L"http://example.org/ö?a=1";
    entry.html = L"<p>#title#</p>";
    entry.text = L"Text mit #url# darin";
    entry.description = L"Beschreibung";
    return entry;
}

}  // namespace

TEST(CopyFormats, TypesPickTheirTemplatesAndMarkupGetsEscapedFields) {
    common::languageTable().clear();
    const EntryRecord link = linkEntry();
    const CopyTemplates linkTemplates = copyTemplates(L"link");
    EXPECT_EQ(fillCopyTemplate(link, linkTemplates.html, TemplateForm::markup),
              L"<a href='http://example.org/ö?a=1'>Grüße &amp; mehr</a>");
    EXPECT_EQ(fillCopyTemplate(link, linkTemplates.text, TemplateForm::text),
              L"http://example.org/ö?a=1");

    // Markup characters in the title and the url stay text and leave the anchor whole.
    EntryRecord odd = link;
    odd.title = L"Link <&> \"t\"";
    odd.url = L"http://x.org/?q='a'&b=<c>";
    EXPECT_EQ(fillCopyTemplate(odd, linkTemplates.html, TemplateForm::markup),
              L"<a href='http://x.org/?q=&#39;a&#39;&amp;b=&lt;c&gt;'>"
              L"Link &lt;&amp;&gt; &quot;t&quot;</a>");
    EXPECT_EQ(fillCopyTemplate(odd, linkTemplates.text, TemplateForm::text), odd.url);

    // The entry's html is markup already; a key inside an entry's own text is not expanded.
    const CopyTemplates clip = copyTemplates(L"unknown type");
    EXPECT_EQ(fillCopyTemplate(link, clip.html, TemplateForm::markup), L"<p>#title#</p>");
    EXPECT_EQ(fillCopyTemplate(link, clip.text, TemplateForm::text), L"Text mit #url# darin");
    EXPECT_EQ(fillCopyTemplate(link, copyTemplates(L"sticky").html, TemplateForm::markup),
              L"Beschreibung");
    EXPECT_EQ(fillCopyTemplate(link, L"#title##folder#|#nokey#|#", TemplateForm::text),
              L"Grüße & mehr|#nokey#|#");
}

TEST(CopyFormats, TheLanguageFileCanReplaceATemplate) {
    testing_environment::TemporaryHome home;
    const auto file = home.root() / "formats.xml";
    std::ofstream(file) << "<language name='x'><section name='Formatter'>"
                           "<item name='Copy/Link/Text' lang1='' lang2='#title#: #url#'/>"
                           "</section></language>";
    auto& table = common::languageTable();
    ASSERT_EQ(table.load(platform::text::fromUtf8(file.string())), 0);
    const CopyTemplates templates = copyTemplates(L"link");
    table.clear();
    EXPECT_EQ(fillCopyTemplate(linkEntry(), templates.text, TemplateForm::text),
              L"Grüße & mehr: http://example.org/ö?a=1");
    EXPECT_EQ(templates.html, L"<a href='#url#'>#title#</a>") << "the other keeps its default";
}

TEST(ListPath, PrefixAndKeySplitAtTheFirstSlash) {
    EXPECT_EQ(splitListPath(L"@category/a/b").prefix, L"@category");
    EXPECT_EQ(splitListPath(L"@category/a/b").key, L"a/b");
    EXPECT_EQ(splitListPath(L"@item").prefix, L"@item");
    EXPECT_EQ(splitListPath(L"@item").key, L"");
    EXPECT_EQ(splitListPath(L"@site/").key, L"");
}
