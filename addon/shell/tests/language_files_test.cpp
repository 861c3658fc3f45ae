// Every text the programs translate is in both shipped language files: the sections and
// texts are collected from the sources (translation calls, message boxes, menus and the
// shipped toolbar page), so a new text without its translation fails here.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <tuple>

#include "common/language/language_table.h"
#include "platform/text/utf.h"

namespace {

namespace fs = std::filesystem;

struct Wanted {
    std::string section;
    std::string text;  // the English text; empty when only the key or section is wanted
    std::string key;
    std::string where;
    bool operator<(const Wanted& other) const {
        return std::tie(section, text, key) < std::tie(other.section, other.text, other.key);
    }
};

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A C++ string literal's text: its escapes \n, \r, \t, \" and \\ resolved.
std::string literalText(const std::string& literal) {
    std::string text;
    for (std::size_t i = 0; i < literal.size(); ++i) {
        if (literal[i] != '\\' || i + 1 == literal.size()) {
            text += literal[i];
            continue;
        }
        const char next = literal[++i];
        text += next == 'n' ? '\n' : next == 'r' ? '\r' : next == 't' ? '\t' : next;
    }
    return text;
}

const std::string kLiteral = R"(L"((?:[^"\\]|\\.)*)\")";

std::set<Wanted> wantedBySources() {
    const std::regex translation(R"(translate\(\s*L"([^"]+)\",\s*)" + kLiteral + R"(\s*[,)])");
    const std::regex message(R"(\b(?:errorBox|infoBox|askBox)\(\s*)" + kLiteral + R"(\s*[,)])");
    const std::regex localized(R"(localize(?:Menu|Dialog)\([^;]*?L"([^"]+)\"\s*[,)])");
    const std::regex formatterKey(R"(L"(Copy/[A-Za-z]+/(?:HTML|Text))\")");
    const std::regex highlightEntry(R"(\{\s*)" + kLiteral + R"(,\s*\d+,\s*L"command-)");
    std::set<Wanted> wanted;
    for (const char* folder : {"addon", "plugin", "lorvane"}) {
        for (const auto& entry :
             fs::recursive_directory_iterator(fs::path(TAMRIX_SOURCE_DIR) / folder)) {
            const fs::path& path = entry.path();
            if (path.extension() != ".cpp" || path.string().find("/tests/") != std::string::npos) {
                continue;
            }
            const std::string source = readFile(path);
            const std::string where = path.filename().string();
            for (std::sregex_iterator it(source.begin(), source.end(), translation), end; it != end;
                 ++it) {
                wanted.insert({(*it)[1], literalText((*it)[2]), "", where});
            }
            for (std::sregex_iterator it(source.begin(), source.end(), message), end; it != end;
                 ++it) {
                wanted.insert({"Message", literalText((*it)[1]), "", where});
            }
            for (std::sregex_iterator it(source.begin(), source.end(), localized), end; it != end;
                 ++it) {
                wanted.insert({(*it)[1], "", "", where});
            }
            for (std::sregex_iterator it(source.begin(), source.end(), formatterKey), end;
                 it != end; ++it) {
                wanted.insert({"Formatter", "", (*it)[1], where});
            }
            if (where == "highlight_menu.cpp") {
                for (std::sregex_iterator it(source.begin(), source.end(), highlightEntry), end;
                     it != end; ++it) {
                    wanted.insert({"Menu::Highlight", literalText((*it)[1]), "", where});
                }
            }
        }
    }
    return wanted;
}

std::set<Wanted> wantedByToolbarPage() {
    const fs::path page = fs::path(TAMRIX_SOURCE_DIR) / "data/resources/toolbar/Orange/index.html";
    const std::string markup = readFile(page);
    const std::regex label(R"(<(?:a|span)\b[^>]*>([^<]+)</(?:a|span)>)");
    const std::regex title(R"re(\btitle="([^"]+)")re");
    const std::regex list(R"re(<select id="([^"]+)"[^>]*>([\s\S]*?)</select>)re");
    const std::regex option(R"(<option\b[^>]*>([^<]+)</option>)");
    std::set<Wanted> wanted;
    for (std::sregex_iterator it(markup.begin(), markup.end(), label), end; it != end; ++it) {
        wanted.insert({"Toolbar::Button", (*it)[1], "", "index.html"});
    }
    for (std::sregex_iterator it(markup.begin(), markup.end(), title), end; it != end; ++it) {
        wanted.insert({"Toolbar::Tip", (*it)[1], "", "index.html"});
    }
    for (std::sregex_iterator it(markup.begin(), markup.end(), list), end; it != end; ++it) {
        const std::string options = (*it)[2];
        for (std::sregex_iterator each(options.begin(), options.end(), option), none; each != none;
             ++each) {
            wanted.insert({"Menu::" + (*it)[1].str(), (*each)[1], "", "index.html"});
        }
    }
    return wanted;
}

bool hasTranslation(const common::LanguageSection& section, const Wanted& wanted) {
    const std::wstring text = platform::text::fromUtf8(wanted.text);
    const std::wstring key = platform::text::fromUtf8(wanted.key);
    for (const common::LanguageItem& item : section.items) {
        const bool matches = text.empty() && key.empty() ? true
                             : !text.empty()             ? item.lang1 == text
                                                         : item.name == key;
        if (matches && !item.lang2.empty()) {
            return true;
        }
    }
    return false;
}

}  // namespace

TEST(ShippedLanguageFiles, HoldEveryTextTheProgramsTranslate) {
    std::set<Wanted> wanted = wantedBySources();
    const std::set<Wanted> toolbar = wantedByToolbarPage();
    wanted.insert(toolbar.begin(), toolbar.end());
    // The collection itself works: it finds texts of each kind.
    for (const char* section : {"Message", "Menu::Highlight", "Formatter", "Toolbar::Button",
                                "Toolbar::Tip", "Menu::Toolbox", "Dialog::PrintToPDF"}) {
        EXPECT_TRUE(std::any_of(wanted.begin(), wanted.end(), [section](const Wanted& each) {
            return each.section == section;
        })) << section;
    }
    for (const char* code : {"en", "de"}) {
        common::LanguageTable table;
        const fs::path file =
            fs::path(TAMRIX_SOURCE_DIR) / "data/languages" / (std::string(code) + ".xml");
        ASSERT_EQ(table.load(file.wstring()), 0) << file;
        for (const Wanted& each : wanted) {
            const common::LanguageSection* section =
                table.findSection(platform::text::fromUtf8(each.section));
            ASSERT_NE(section, nullptr)
                << code << ": no section " << each.section << " (" << each.where << ")";
            EXPECT_TRUE(hasTranslation(*section, each))
                << code << ": " << each.section << " lacks \"" << each.text << each.key << "\" ("
                << each.where << ")";
        }
    }
}

TEST(ShippedLanguageFiles, GermanTranslatesRatherThanRepeats) {
    common::LanguageTable table;
    ASSERT_EQ(table.load((fs::path(TAMRIX_SOURCE_DIR) / "data/languages/de.xml").wstring()), 0);
    EXPECT_EQ(table.translate(L"Message", L"Please select content before execute this operation."),
              L"Bitte wählen Sie vor diesem Schritt einen Inhalt aus.");
    EXPECT_EQ(table.translate(L"Toolbar::Button", L"Print"), L"Drucken");
    EXPECT_EQ(table.translate(L"Toolbar::Tip", L"Close the toolbar"), L"Symbolleiste schließen");
    EXPECT_EQ(table.translate(L"Formatter", L"", L"Copy/Link/HTML"),
              L"<a href='#url#'>#title#</a>");
}
