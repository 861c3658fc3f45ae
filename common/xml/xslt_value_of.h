// Internal to the XML wrappers: a quicker xsl:value-of for the selection that row pages
// use most, a bare element name (select="title").
//
// libxslt evaluates such a select as a full XPath expression per call: a stream matcher,
// a node set, a buffer for the string value and a copy of it. When the first child
// element of that name holds its content as one text node (or nothing), that text is the
// string value, and it is written straight into the result. Every other case (another
// select, another context node, content spread over several nodes) goes to libxslt's
// own xsl:value-of, so the output is always the one libxslt gives.
//
// Contract: call once on a stylesheet that xsltParseStylesheetDoc has just compiled and
// that no transformation uses yet; it changes only that stylesheet's compiled
// instructions (including those of its imports). Nothing throws.
#pragma once

#include <libxslt/xsltInternals.h>

namespace common::xml_detail {

void useQuickValueOf(xsltStylesheetPtr style);

}  // namespace common::xml_detail
