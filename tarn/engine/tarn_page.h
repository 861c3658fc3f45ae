// TarnPage: one page file, an XSL stylesheet that also carries the engine's elements.
// compile splits the file into the stylesheet, its defines ("xsl:define"), its variables
// ("xsl:variable") and its data block ("Tarn"), following "xsl:include"s relative to the
// page's folder. request runs the page for a URL: a page with "support_cache" serves a
// valid cache entry of that URL; otherwise the page builds the request parameters, runs
// the data block (execute), transforms the result with the stylesheet into UTF-8 bytes
// (transform) and, with "support_cache", writes the entry (see result_cache.h).
//
//   TarnPage page(L"/data/plugins/tamrix/pages/list.xsl");
//   if (page.compile() == 0 && page.request(L"//tamrix/list?sort=title") == 0) {
//       serve(page.getContentBuffer(), page.getContentLength(), page.getContentType());
//   }
//
// Contract: not synchronised: one thread at a time uses a page (lock mutex() around
// compile, request and reading the content when several threads share it). The content
// is the output of the last successful request, for the URL contentUrl(); cache entries
// are kept per page and URL, stamped with the database and page file as they were
// before the run, and served only while that stamp holds. A compile that fails leaves an empty page
// that is compiled again on its next use. Nothing throws; failures are negative results.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "common/util/string_pair.h"
#include "common/xml/xml_dom.h"
#include "tarn/engine/tarn.h"

namespace tarn {

class TarnPage {
  public:
    explicit TarnPage(const std::wstring& filePath);
    TarnPage(const TarnPage&) = delete;
    TarnPage& operator=(const TarnPage&) = delete;
    virtual ~TarnPage();

    // Compiles the file (`path`, when given, replaces the file path) unless the last
    // compile is at least as new as the file; 0, or -1 for a missing or malformed file, an
    // include that climbs out of the page's folder ("..") or too many includes.
    int compile(const std::wstring& path = {});
    int compile(const common::CXMLDOMDocument2& document);
    // Builds the result document for the parameters; the data block's result.
    int execute(const Parameters& parameters);
    // Transforms the result document into the content; false when the stylesheet fails.
    bool transform();
    // Transforms the result document and loads the output into `output`; false when the
    // stylesheet fails or its output is not XML.
    bool transform(const common::CXMLDOMDocument2& output);
    // Empties the block, defines, variables, content and both documents.
    void reset();

    // Runs the page for the URL (query included); 0, or -1 when it fails.
    int request(const std::wstring& url);
    // The define "support_cache" is "true" in any case.
    bool supportCache() const;
    // The cache entry of `url` was made from the database and page file as they are now.
    bool checkFileCache(const std::wstring& url) const;
    // Reads the valid cache entry of `url` into the content, or writes the content (of
    // `url`) into it; false when that fails (a missing, stale, unreadable or foreign
    // file).
    bool fetchCache(bool read, const std::wstring& url);
    // Frees the content; with `deleteFile` also removes the content's cache file. True.
    bool clearCache(bool deleteFile);

    const unsigned char* getContentBuffer() const;
    int getContentLength() const { return static_cast<int>(content_.size()); }
    const std::string& content() const { return content_; }
    // Hands the content over and leaves the page as clearCache(false) does.
    std::string takeContent();
    const std::wstring& contentUrl() const { return contentUrl_; }
    bool dataReady() const { return !content_.empty(); }
    // The eight byte lanes of the content summed, folded into 64 bits; cached.
    std::uint64_t getContentChecksum();
    // The define "content_type", "text/html" when it is empty.
    std::wstring getContentType() const;
    // The first define of that name, "".
    std::wstring getDefine(const std::wstring& name) const;
    const std::vector<common::StringPair>& defines() const { return defines_; }

    const std::wstring& getFilePath() const { return filePath_; }
    void setFilePath(const std::wstring& path) { filePath_ = path; }
    std::wstring getDatabaseFilePath() const { return block_.getDatabaseFilePath(); }
    const Tarn& block() const { return block_; }
    const common::CXMLDOMDocument2& getXslDocument() const { return xsl_; }
    const common::CXMLDOMDocument2& getXmlDocument() const { return xml_; }

    std::mutex& mutex() { return mutex_; }

  protected:
    // Moves the stylesheet children of the file at `path` before `reference` (at the end
    // when it is empty); 0, or -1 when the file does not load.
    int includeFile(const common::CXMLDOMNode& stylesheet, const std::wstring& path,
                    const common::CXMLDOMNode& reference);
    // "" for a page outside the plug-in folder, which has no cache.
    std::wstring getCacheFilePath(const std::wstring& url) const;
    // The path of this page's cache files up to their URL part; "" without a cache.
    std::wstring cacheFilePrefix() const;

  private:
    struct StylesheetVariable {
        std::wstring name;
        std::wstring select;
        common::CXMLDOMNode element;
    };

    int compileStylesheet(const common::CXMLDOMNode& stylesheet);
    void setContent(std::string bytes, const std::wstring& url);

    std::wstring filePath_;
    std::uint64_t compileTime_ = 0;
    std::string content_;
    std::wstring contentUrl_;
    // The cache stamp taken before the run that made the content.
    std::string contentStamp_;
    std::uint64_t checksum_ = 0;
    // The size of the last transformation's output: the next one makes room for as much.
    std::size_t lastOutputSize_ = 0;
    std::vector<common::StringPair> defines_;
    std::vector<StylesheetVariable> variables_;
    Tarn block_;
    common::CXMLDOMDocument2 xsl_;
    common::CXMLDOMDocument2 xml_;
    std::mutex mutex_;
};

}  // namespace tarn
