#include <gtest/gtest.h>

#include <string>

#include "platform/dom/style/var_reference_guard.h"

namespace platform::dom {
namespace {

struct Text {
    std::string css;
    StyleText kind;
};

// Every text as the guard gives it back after reading them all.
std::vector<std::string> guardedAll(const std::vector<Text>& texts) {
    VarReferenceGuard guard;
    for (const Text& text : texts)
        guard.add(text.css, text.kind);
    guard.settle();
    std::vector<std::string> out;
    for (const Text& text : texts)
        out.push_back(guard.guarded(text.css, text.kind));
    return out;
}

std::string guardedSheet(const std::string& css) {
    return guardedAll({{css, StyleText::sheet}}).front();
}

TEST(VarReferenceGuard, ReferencesOnACycleBecomeInertAndOthersStay) {
    // Directly, through two properties, and through a third; --base and its users stay.
    EXPECT_EQ(guardedSheet(":root{--gap: calc(var(--gap) * 3); --base: 4px}"
                           ".a{margin: var(--gap); padding: var(--base)}"),
              ":root{--gap: calc(var\\(--gap) * 3); --base: 4px}"
              ".a{margin: var(--gap); padding: var(--base)}");
    EXPECT_EQ(guardedSheet(".a{--a: var(--b)} .b{--b: 1px var(--c)} .c{--c: var(--a); "
                           "--d: var(--a)}"),
              ".a{--a: var\\(--b)} .b{--b: 1px var\\(--c)} .c{--c: var\\(--a); --d: var(--a)}");
    // Names are read without case, as the engine stores them.
    EXPECT_EQ(guardedSheet("p{--Size: var(--SIZE)}"), "p{--Size: var\\(--SIZE)}");
}

TEST(VarReferenceGuard, ACycleBetweenASheetAndAStyleAttributeIsFound) {
    const auto out = guardedAll({{":root{--a: 2px var(--b)} p{width: var(--a)}", StyleText::sheet},
                                 {"--b: var(--a); color: var(--b)", StyleText::declarations}});
    EXPECT_EQ(out[0], ":root{--a: 2px var\\(--b)} p{width: var(--a)}");
    EXPECT_EQ(out[1], "--b: var\\(--a); color: var(--b)");
    // Any property name may stand in var() for the engine; only custom ones stay.
    EXPECT_EQ(
        guardedAll({{"color: var(color); width: var(--w, 3px)", StyleText::declarations}}).front(),
        "color: var\\(color); width: var\\(--w, 3px)");
}

TEST(VarReferenceGuard, SubstitutionThatWouldGrowPastItsBoundsIsCut) {
    // Thirty properties each twice the one before: 10 bytes * 2^30 written out.
    std::string css = ":root{--v0: 0123456789;";
    for (int i = 1; i <= 30; ++i)
        css += " --v" + std::to_string(i) + ": var(--v" + std::to_string(i - 1) + ") var(--v" +
               std::to_string(i - 1) + ");";
    css += "} p{width: var(--v30); height: var(--v3)}";
    const std::string out = guardedSheet(css);
    const auto referencesOf = [&](const std::string& name) {
        const std::size_t at = out.find(name + ":");
        return out.substr(at, out.find(';', at) - at);
    };
    // --v8 would take 510 substitutions, past the bound: it keeps its text as written, and
    // the properties after it build on that.
    EXPECT_EQ(referencesOf("--v7"), "--v7: var(--v6) var(--v6)");
    EXPECT_EQ(referencesOf("--v8"), "--v8: var\\(--v7) var\\(--v7)");
    EXPECT_EQ(referencesOf("--v9"), "--v9: var(--v8) var(--v8)");
    EXPECT_EQ(referencesOf("--v16"), "--v16: var\\(--v15) var\\(--v15)");
    EXPECT_NE(out.find("height: var(--v3)"), std::string::npos);
    EXPECT_NE(out.find("width: var(--v30)"), std::string::npos);

    // One declaration may not repeat a large property past the bound either.
    const std::string large(VarReferenceGuard::kMaxExpandedBytes / 4, 'x');
    EXPECT_EQ(
        guardedSheet("p{--l: " + large + "; margin: var(--l) var(--l) var(--l) var(--l) " +
                     "var(--l)}"),
        "p{--l: " + large + "; margin: var\\(--l) var\\(--l) var\\(--l) var\\(--l) var\\(--l)}");
}

TEST(VarReferenceGuard, ReadsTextsAsTheEngineReadsThem) {
    // A ';' inside quotes ends no declaration, so the reference is --a's own.
    EXPECT_EQ(guardedAll({{"--a: 'x;' var(--a); --b: 1px", StyleText::declarations}}).front(),
              "--a: 'x;' var\\(--a); --b: 1px");
    // The engine's block runs to the first '}', over the second '{': --a holds var(--a).
    EXPECT_EQ(guardedSheet("#x{ --a: 1 #y{--b: var(--a)}"), "#x{ --a: 1 #y{--b: var\\(--a)}");
    // A removed comment can join "var(" together; the text comes back without comments.
    EXPECT_EQ(guardedSheet("p{--a: va/**/r(--a)} /* gone */q{--c: 1}"),
              "p{--a: var\\(--a)} q{--c: 1}");
    EXPECT_EQ(VarReferenceGuard::withoutComments("a/ /**/* b */c/*d"), "a/ * b */c");
    EXPECT_EQ(VarReferenceGuard::withoutComments("a//**/*b*/c"), "ac");
    // A reference followed by a letter or "(" could join the value substituted into it into
    // a new reference.
    EXPECT_EQ(guardedSheet("p{--a: va; width: var(--a)r(--b)}"),
              "p{--a: va; width: var\\(--a)r(--b)}");
}

TEST(VarReferenceGuard, CustomPropertiesOfATextNotReadBeforeReferToNothing) {
    VarReferenceGuard guard;
    guard.add(":root{--a: 1px}", StyleText::sheet);
    guard.settle();
    EXPECT_EQ(guard.guarded("[x]{--b: var(--a); width: var(--a)}", StyleText::sheet, false),
              "[x]{--b: var\\(--a); width: var(--a)}");
    EXPECT_EQ(VarReferenceGuard::inert("p{width: var(--a)} /* q{} */", StyleText::sheet),
              "p{width: var\\(--a)} ");
}

}  // namespace
}  // namespace platform::dom
