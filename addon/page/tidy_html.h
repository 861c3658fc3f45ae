// Cleaning captured markup into well-formed XHTML with HTML Tidy, and taking the body of
// the cleaned document back out for the repository.
//
// Contract: pure functions over texts; thread-safe (each call has its own Tidy document).
// Tidy's failures never throw: they leave the output as it was.
#pragma once

#include <string>

namespace addon {

// Runs Tidy over `html`. Returns 1 for an empty `html` (nothing done) and 0 otherwise;
// `out` is replaced only when Tidy produced output. With an empty `configFile` (or one
// that fails to load, in which case nothing is parsed) the built-in options apply: XHTML
// output, UTF-8 throughout, bare and clean, numeric entities, no Tidy mark, forced output.
// The white space after an inline element's end tag is kept where Tidy would drop it (text
// standing directly in a list or a table).
int tidyHtml(const std::wstring& html, std::wstring& out, const std::wstring& configFile);

// The markup between "<body...>" and "</body>" of a tidied document, with the document's
// "<style>" elements (where the clean option moves the page's presentational markup) put
// in front, so the stored body keeps its looks. Nothing when the document holds no body.
bool extractTidyBody(const std::wstring& document, std::wstring& body);

}  // namespace addon
