// Tarn: a page's data block, the root of its element tree. Executing it opens the page's
// database, runs the tree under an element called `name` (default "storage") of the
// result document, and for a writable block runs everything inside one transaction under
// the process-wide lock m_globalCS: committed when the block succeeded and changed rows,
// rolled back otherwise.
//
//   <Tarn name="storage" database="tamrix.db" writable="false"> ... </Tarn>
//
// TarnParser: a Tarn that runs against a scratch document of its own.
//
// Contract: as TarnBlock. The lock and the transaction are released on every way out,
// exceptions included; a database fault (SqliteException) while beginning or ending the
// transaction propagates after the release. Relative databases are resolved against
// TarnApplication's repository folder; an empty one is a fresh in-memory database.
#pragma once

#include <mutex>
#include <string>

#include "common/xml/xml_dom.h"
#include "tarn/engine/tarn_block.h"

namespace tarn {

class Tarn : public TarnBlock {
  public:
    Tarn() = default;
    explicit Tarn(const common::CXMLDOMNode& node);

    int compile(const common::CXMLDOMNode& node) override;
    using TarnBlock::execute;
    // Runs the block for one request and adds its output to `result`.
    virtual int execute(const Parameters& parameters, const common::CXMLDOMDocument2& result);

    bool isReadonly() const { return !writable_; }
    const std::wstring& getName() const { return name_; }
    const std::wstring& getDatabase() const { return database_; }
    // ":memory:" for an empty database attribute, else the repository folder + "/" + it.
    std::wstring getDatabaseFilePath() const;

    // Serialises every writable block of the process.
    static std::mutex m_globalCS;

  private:
    int run(common::SqliteDB& db, const Parameters& parameters,
            const common::CXMLDOMDocument2& result);

    std::wstring name_;
    std::wstring database_;
    bool writable_ = false;
};

class TarnParser : public Tarn {
  public:
    using Tarn::execute;
    using Tarn::Tarn;
    // Runs the block against a new scratch document, which is dropped afterwards.
    int execute(const Parameters& parameters);
};

}  // namespace tarn
