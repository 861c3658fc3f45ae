// The sanitiser as an XSLT extension function, so that pages built by stylesheets show
// stored clip markup in its display form:
//   <xsl:stylesheet ... xmlns:markup="urn:tamrix:markup" exclude-result-prefixes="markup">
//   <xsl:value-of select="markup:safe(html)" disable-output-escaping="yes"/>
//
// Contract: registers the function on one transformation context; call before the
// transformation runs, on the thread that runs it.
#pragma once

#include <libxslt/xsltInternals.h>

namespace common::markup {

inline constexpr const char* kMarkupFunctionsNamespace = "urn:tamrix:markup";

// markup:safe(string) -> the string's markup in display form.
void registerMarkupFunctions(xsltTransformContextPtr context);

}  // namespace common::markup
