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

#include <string>

namespace common::xml_detail {

// Appends `doc` (its DTD, then its children) as HTML, with line breaks between block
// elements when `format`.
void appendHtml(xmlDocPtr doc, bool format, std::string& out);
// appendHtml that frees the nodes below the document's own children once they are
// written, while they are still in the cache; the caller then frees a document that
// holds little more than its last branch. The document is not for anything else after.
void appendHtmlFreeing(xmlDocPtr doc, bool format, std::string& out);

}  // namespace common::xml_detail
