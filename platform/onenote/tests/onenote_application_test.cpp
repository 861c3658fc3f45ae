#include "platform/onenote/onenote_application.h"

#include <gtest/gtest.h>
#include <libxml/parser.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/onenote/tests/page_text.h"
#include "platform/text/utf.h"
#include "testing/environment/temporary_home.h"

using namespace platform::onenote;
using platform::com::ComPtr;
using platform::com::E_INVALIDARG;
using platform::com::S_OK;
namespace fs = std::filesystem;
using onenote_testing::count;
using onenote_testing::readText;

namespace {

const std::wstring kNamespace(kPageNamespace);

bool parses(const std::string& text) {
    xmlDoc* document = xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr,
                                     XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    xmlFreeDoc(document);
    return document != nullptr;
}

std::wstring outline(const std::wstring& text, const std::wstring& objectId = L"") {
    return L"<one:Outline" + (objectId.empty() ? L"" : L" objectID=\"" + objectId + L"\"") +
           L"><one:OEChildren><one:OE><one:T><![CDATA[" + text +
           L"]]></one:T></one:OE></one:OEChildren></one:Outline>";
}

std::wstring pageXml(const std::wstring& id, const std::wstring& body) {
    return L"<?xml version=\"1.0\"?>\n<one:Page xmlns:one=\"" + kNamespace + L"\" ID=\"" + id +
           L"\">" + body + L"</one:Page>";
}

class Notebook : public ::testing::Test {
  protected:
    void SetUp() override {
        void* object = nullptr;
        ASSERT_EQ(createApplication(CLSID_Application, IApplication::IID, &object), S_OK);
        application = ComPtr<IApplication>::adopt(static_cast<IApplication*>(object));
    }

    std::wstring newPage() {
        std::wstring path;
        std::wstring section;
        std::wstring page;
        EXPECT_EQ(application->GetSpecialLocation(slUnfiledNotesSection, &path), S_OK);
        EXPECT_EQ(application->OpenHierarchy(path, L"", &section, cftNone), S_OK);
        EXPECT_EQ(application->CreateNewPage(section, &page, npsBlankPageNoTitle), S_OK);
        return page;
    }

    std::vector<fs::path> pageFiles() const {
        std::vector<fs::path> files;
        for (const auto& entry :
             fs::recursive_directory_iterator(home.dataHome() / "Olvan/Notebook")) {
            if (entry.path().extension() == ".xml") {
                files.push_back(entry.path());
            }
        }
        return files;
    }

    testing_environment::TemporaryHome home;
    ComPtr<IApplication> application;
};

}  // namespace

TEST_F(Notebook, UnfiledNotesKeepOneSectionIdAndNewPagesGetFilesOfTheirOwn) {
    std::wstring path;
    ASSERT_EQ(application->GetSpecialLocation(slUnfiledNotesSection, &path), S_OK);
    EXPECT_TRUE(fs::is_directory(platform::text::toUtf8(path)));
    std::wstring first;
    std::wstring second;
    ASSERT_EQ(application->OpenHierarchy(path, L"", &first, cftNone), S_OK);
    ASSERT_EQ(application->OpenHierarchy(path + L"/", L"", &second, cftNone), S_OK);
    EXPECT_EQ(first, second);

    const std::wstring page = newPage();
    ASSERT_EQ(pageFiles().size(), 1u);
    std::wstring xml;
    ASSERT_EQ(application->GetPageContent(page, &xml, piBasic), S_OK);
    EXPECT_NE(xml.find(L"ID=\"" + page + L"\""), std::wstring::npos);
    EXPECT_EQ(xml.find(L"<one:Title"), std::wstring::npos);
    EXPECT_EQ(application->NavigateTo(page, L"", false), S_OK);
    EXPECT_NE(newPage(), page);
    EXPECT_EQ(pageFiles().size(), 2u);
}

TEST_F(Notebook, UpdatesMergeIntoThePageAndReplaceByObjectId) {
    const std::wstring page = newPage();
    const std::wstring title =
        L"<one:Title><one:OE><one:T><![CDATA[Caf\u00e9]]></one:T></one:OE></one:Title>";
    ASSERT_EQ(application->UpdatePageContent(pageXml(page, title + outline(L"first")), 0), S_OK);
    ASSERT_EQ(application->UpdatePageContent(pageXml(page, outline(L"second")), 0), S_OK);
    ASSERT_EQ(pageFiles().size(), 1u);
    std::string stored = readText(pageFiles()[0]);
    EXPECT_TRUE(parses(stored));
    EXPECT_EQ(count(stored, "Outline "), 2u);
    EXPECT_EQ(count(stored, "<one:Title"), 1u);
    EXPECT_LT(stored.find("PageSettings"), stored.find("Title"));
    EXPECT_LT(stored.find("first"), stored.find("second"));
    EXPECT_NE(stored.find("Caf\xc3\xa9"), std::string::npos);

    // The first outline, named by the objectID it was given, is replaced in place.
    const std::size_t idAt = stored.find("objectID=\"") + 10;
    const std::wstring objectId = platform::text::fromUtf8(stored.substr(idAt, 38));
    ASSERT_EQ(application->UpdatePageContent(pageXml(page, outline(L"third", objectId)), 0), S_OK);
    stored = readText(pageFiles()[0]);
    EXPECT_EQ(count(stored, "Outline "), 2u);
    EXPECT_EQ(stored.find("first"), std::string::npos);
    EXPECT_LT(stored.find("third"), stored.find("second"));
}

TEST_F(Notebook, BadUpdatesAndIdsAreRefusedAndLeaveThePageAsItWas) {
    const std::wstring page = newPage();
    const std::string before = readText(pageFiles()[0]);
    EXPECT_EQ(application->UpdatePageContent(L"<one:Page", 0), hrMalformedXML);
    EXPECT_EQ(application->UpdatePageContent(pageXml(page, L"<one:T><![CDATA[a]]>b]]></one:T>"), 0),
              hrMalformedXML);
    EXPECT_EQ(application->UpdatePageContent(L"<Page ID=\"" + page + L"\"/>", 0), hrInvalidXML);
    EXPECT_EQ(application->UpdatePageContent(pageXml(L"../../x", outline(L"x")), 0), hrInvalidXML);
    EXPECT_EQ(application->UpdatePageContent(pageXml(page, L"<other/>"), 0), hrInvalidXML);
    EXPECT_EQ(application->UpdatePageContent(
                  pageXml(page, outline(L"x", L"{00000000-0000-0000-0000-000000000001}")), 0),
              hrObjectDoesNotExist);
    EXPECT_EQ(readText(pageFiles()[0]), before);

    const std::wstring unknown = L"{00000000-0000-0000-0000-000000000002}";
    std::wstring xml;
    EXPECT_EQ(application->GetPageContent(unknown, &xml, piBasic), hrObjectDoesNotExist);
    EXPECT_EQ(application->GetPageContent(L"../Unfiled Notes/x", &xml, piBasic), E_INVALIDARG);
    EXPECT_EQ(application->UpdatePageContent(pageXml(unknown, outline(L"x")), 0),
              hrObjectDoesNotExist);
    EXPECT_EQ(application->NavigateTo(unknown, L"", false), hrObjectDoesNotExist);
    std::wstring section;
    EXPECT_EQ(application->OpenHierarchy(platform::text::fromUtf8(home.root().string()), L"",
                                         &section, cftNone),
              E_INVALIDARG);
    EXPECT_EQ(application->CreateNewPage(unknown, &xml, npsDefault), hrObjectDoesNotExist);
}

TEST(NotebookApplication, OnlyItsOwnClassIsMadeAndOnlyWithANotebookFolder) {
    testing_environment::TemporaryHome home;
    void* object = nullptr;
    EXPECT_EQ(createApplication(IApplication::IID, IApplication::IID, &object),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);
    fs::create_directories(home.dataHome() / "Olvan");
    std::ofstream(home.dataHome() / "Olvan/Notebook") << "in the way";
    EXPECT_EQ(createApplication(CLSID_Application, IApplication::IID, &object),
              CO_E_SERVER_EXEC_FAILURE);
    EXPECT_EQ(object, nullptr);
}
