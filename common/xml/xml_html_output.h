// Internal to the XML wrappers: writing a transformation's result document with the
// html output method as UTF-8, straight into a string.
//
// The bytes are those that libxml2's HTML serialiser writes for the same document (its
// rules for escaping, quoting, URI attributes, boolean attributes, empty and inline
// elements and the line breaks of formatted output, which its own HTML element table
// decides), without its per-node buffers and copies.
//
// Contract: reads the document only; the caller has already added the encoding's meta
// element. Not synchronised: the document is used by one thread at a time.
#pragma once

#include <libxml/tree.h>

#include <memory>
#include <string>

namespace common::xml_detail {

// Appends `doc` (its DTD, then its children) as HTML, with line breaks between block
// elements when `format`.
void appendHtml(xmlDocPtr doc, bool format, std::string& out);
// appendHtml that frees the nodes below the document's own children once they are
// written, while they are still in the cache; the caller then frees a document that
// holds little more than its last branch. The document is not for anything else after.
void appendHtmlFreeing(xmlDocPtr doc, bool format, std::string& out);

class HtmlWriter;

// Writes a document while it is being built, so that its nodes go, and their memory is
// used again, long before the document is whole. The builder appends only (children of
// the insertion point and of its ancestors, text to its last child); what lies before
// that path is whole, and is written and freed, but for the last child of the insertion
// point and the end tags that wait for a next sibling. Writing begins once the head
// that takes the encoding's meta element (htmlSetMetaEncoding's) is whole; a document
// without one is written whole by finish. The bytes are appendHtml's for the finished
// document.
//
// Contract: one document per stream (the first one that writing began with; others are
// ignored by writeBefore); nothing else may hold nodes that writeBefore frees. `out`
// and `encoding` outlive the stream.
class HtmlStream {
  public:
    HtmlStream(bool format, const xmlChar* encoding, std::string& out);
    ~HtmlStream();
    HtmlStream(const HtmlStream&) = delete;
    HtmlStream& operator=(const HtmlStream&) = delete;

    // Writes what of `doc` is whole while `insert` may still change; true when nodes
    // were freed.
    bool writeBefore(xmlDocPtr doc, xmlNodePtr insert);
    // The document writing began with, or null.
    xmlDocPtr document() const { return doc_; }
    // Writes the rest of the finished document (all of it when writing had not begun;
    // nothing for a document without content) and frees what it wrote.
    void finish(xmlDocPtr doc);

  private:
    bool format_;
    const xmlChar* encoding_;
    std::string& out_;
    xmlDocPtr doc_ = nullptr;
    std::unique_ptr<HtmlWriter> writer_;
};

}  // namespace common::xml_detail
