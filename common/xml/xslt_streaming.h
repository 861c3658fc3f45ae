// Internal to the XML wrappers: html output written while libxslt still builds it.
//
// libxslt builds the whole result tree before anything is written, so a large page holds
// its source and its result at once, and the result's nodes take memory that nothing
// used before. Here every compiled instruction of a stylesheet is called through a
// function that, after the instruction, hands what of the result is whole to the
// transformation's HtmlStream (see xml_html_output.h), which writes and frees it: rows
// written early make room for the rows that follow.
//
// Contract: streamInstructions is called once on a stylesheet that xsltParseStylesheetDoc
// has just compiled, after every other change to its instructions, and
// releaseInstructions just before it is freed; both are under the caller's lock.
// Transformations that set no stream (attachStream) run as before. Only the result
// document itself is written: result tree fragments, and the nodes that libxslt makes
// for attribute values and messages, never are. Nothing throws.
#pragma once

#include <libxslt/xsltInternals.h>

namespace common::xml_detail {

class HtmlStream;

void streamInstructions(xsltStylesheetPtr style);
void releaseInstructions(xsltStylesheetPtr style);

// Lets `stream` write the html result of the transformation `context` as it grows.
void attachStream(xsltTransformContextPtr context, HtmlStream* stream);

}  // namespace common::xml_detail
