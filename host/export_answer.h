// The host's answer to the e-book export dialog, as a person gives it: the fields filled
// in, OK, a wait until the export has finished, and the dialog closed.
//
// Contract: the tab's user-interface thread. Queues the answer for the next dialog; the
// wait is limited (kExportWaitLimit), and the dialog is closed however the export ended.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "host/host_presenter.h"

namespace host {

inline constexpr std::chrono::seconds kExportWaitLimit{300};

// Fields, each optional ("" keeps the dialog's value): format (EPUB, HTML, MOBI, TEXT),
// output folder, file title.
void answerExport(HostPresenter& presenter, const std::vector<std::wstring>& fields);

}  // namespace host
