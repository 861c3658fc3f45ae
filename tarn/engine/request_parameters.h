// The parameters of a page request, from its URL ("folder/list?id=5&sort="):
//   the query pairs as written (no percent-decoding): id=5, sort=;
//   request_name   the path before its last "/" (the whole path without one): folder;
//   request_value  the path after its last "/" ("" without one): list;
//   request_params the query: id=5&sort=;
//   request_value2 request_value, then "?" and the query when there is one.
//
// Contract: pure function, thread-safe.
#pragma once

#include <string>

#include "tarn/engine/tarn_base.h"

namespace tarn {

Parameters requestParameters(const std::wstring& url);

}  // namespace tarn
