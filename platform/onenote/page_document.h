// Page XML of the notebook: a new blank page, and the merge of an update into a stored
// page (see onenote_application.h for the merge rules).
//
// Contract: pure functions over UTF-8 texts, thread-safe. Parsing never loads external
// entities or anything from the network. Results are HRESULTs of onenote_application.h.
#pragma once

#include <string>

#include "platform/onenote/onenote_application.h"

namespace platform::onenote {

// A page with that ID, its settings, and an empty title unless the style has none.
std::string newPageXml(const std::wstring& pageId, int newPageStyle);

// The ID of the page an update is for: hrMalformedXML, hrInvalidXML or S_OK.
HRESULT pageIdOfUpdate(const std::string& update, std::wstring& pageId);

// `stored` with `update` merged in; hrObjectDoesNotExist when the update names an
// objectID the page does not have.
HRESULT mergePageUpdate(const std::string& stored, const std::string& update, std::string& merged);

}  // namespace platform::onenote
