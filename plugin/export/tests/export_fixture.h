// A throw-away home with a real repository file for export tests, entries seeded through
// the repository's writers, and readers for what the exports write.
#pragma once

#include <gtest/gtest.h>
#include <libxml/parser.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "common/xml/xml_document.h"
#include "platform/text/utf.h"
#include "plugin/export/exports.h"
#include "plugin/repository/repository.h"
#include "plugin/zip/tests/zip_test_support.h"
#include "testing/environment/temporary_home.h"

class ExportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        home_.set("TMPDIR", (home_.root() / "tmp").string());
        std::filesystem::create_directories(home_.root() / "tmp");
        std::filesystem::create_directories(out());
        ASSERT_EQ(plugin::OpenRepository(wide(home_.root() / "tamrix.db")), 0);
    }
    void TearDown() override { plugin::closeRepository(); }

    static std::wstring wide(const std::filesystem::path& path) {
        return platform::text::fromUtf8(path.string());
    }
    static std::string narrow(const std::wstring& text) { return platform::text::toUtf8(text); }

    std::filesystem::path out() const { return home_.root() / "out"; }
    std::filesystem::path scratch() const { return home_.root() / "scratch"; }

    // Inserts an entry created at `createTime`; returns its guid.
    std::wstring insert(const std::wstring& title, const std::wstring& createTime,
                        const std::wstring& html = L"<p>body</p>", const std::wstring& folder = L"",
                        const std::wstring& category = L"",
                        const std::wstring& url = L"http://example.org/page") {
        plugin::EntryRecord record;
        record.title = title;
        record.url = url;
        record.folder = folder;
        record.category = category;
        record.text = L"text of " + title;
        record.html = html;
        const std::wstring guid = plugin::insertEntry(record);
        EXPECT_FALSE(guid.empty());
        plugin::readEntry(guid, record);
        record.createTime = createTime;
        EXPECT_EQ(plugin::updateEntry(record), 0);
        return guid;
    }

    std::wstring idOf(const std::wstring& guid) {
        plugin::EntryRecord record;
        plugin::readEntry(guid, record);
        return record.id;
    }

    // What epubcheck finds wrong with the book: its error and warning lines, "" for a book
    // that reading systems accept.
    // (epubcheck reads only files named ".epub": others are checked as a copy so named.)
    std::string epubcheckFindings(const std::filesystem::path& book) const {
        std::filesystem::path checked = book;
        if (book.extension() != ".epub") {
            checked = home_.root() / "checked.epub";
            std::filesystem::copy_file(book, checked,
                                       std::filesystem::copy_options::overwrite_existing);
        }
        const auto check = zip_test::runCommand("java -jar /usr/share/java/epubcheck.jar '" +
                                                checked.string() + "' 2>&1");
        std::istringstream lines(check.output);
        std::string findings;
        for (std::string line; std::getline(lines, line);)
            if (line.starts_with("ERROR") || line.starts_with("WARNING") ||
                line.starts_with("FATAL"))
                findings += line + "\n";
        if (findings.empty() &&
            (check.exitCode != 0 ||
             check.output.find("No errors or warnings detected") == std::string::npos))
            findings = "epubcheck did not pass the book: " + check.output;
        return findings;
    }

    // The members of a book, after checking it with epubcheck and unzip -t and checking
    // that every member but the mimetype and the pictures parses as namespace-well-formed
    // XML, through the program's XML document and through libxml2 directly.
    std::vector<zip_test::Member> readBook(const std::filesystem::path& book) {
        EXPECT_EQ(epubcheckFindings(book), "") << book;
        const auto test = zip_test::unzipTest(book);
        EXPECT_EQ(test.exitCode, 0) << test.output;
        std::filesystem::remove_all(scratch());
        std::filesystem::create_directories(scratch());
        auto members = zip_test::readBack(book, scratch());
        for (std::size_t i = 0; i < members.size(); ++i) {
            if (members[i].name == "mimetype" || members[i].name.starts_with("OEBPS/images/"))
                continue;
            auto document = common::CXMLDOMDocument2::Create();
            EXPECT_TRUE(document.Load(wide(scratch() / "members" / std::to_string(i))))
                << members[i].name << ": " << narrow(document.GetParseError());
            EXPECT_TRUE(strictlyWellFormed(members[i].data)) << members[i].name;
        }
        return members;
    }

    // The content page of the book that an EPUB export of the one entry writes into the
    // file `name`, checked as readBook checks a book; "" when the export failed.
    std::string exportedBookPage(const std::wstring& guid, const std::string& name) {
        const auto book = out() / name;
        plugin::ExportControl control;
        const int result =
            plugin::exportEntries({guid}, L"Book", wide(book), plugin::kExportEpub, &control);
        EXPECT_EQ(result, 0) << narrow(control.error);
        if (result != 0)
            return {};
        const auto members = readBook(book);
        return members.size() > 2 ? members[2].data : std::string();
    }

    static bool strictlyWellFormed(const std::string& bytes) {
        xmlParserCtxtPtr context = xmlNewParserCtxt();
        xmlDocPtr doc =
            xmlCtxtReadMemory(context, bytes.data(), static_cast<int>(bytes.size()), nullptr,
                              nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
        const bool good = doc != nullptr && context->wellFormed && context->nsWellFormed;
        xmlFreeDoc(doc);
        xmlFreeParserCtxt(context);
        return good;
    }

    static const zip_test::Member* member(const std::vector<zip_test::Member>& members,
                                          const std::string& name) {
        for (const auto& m : members)
            if (m.name == name)
                return &m;
        return nullptr;
    }

    // Every file below `folder`, as paths relative to it.
    static std::vector<std::string> filesBelow(const std::filesystem::path& folder) {
        std::vector<std::string> files;
        for (const auto& item : std::filesystem::recursive_directory_iterator(folder))
            if (item.is_regular_file())
                files.push_back(std::filesystem::relative(item.path(), folder).string());
        std::sort(files.begin(), files.end());
        return files;
    }

    testing_environment::TemporaryHome home_;
};
