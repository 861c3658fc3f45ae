// CXMLHTTPRequest: a synchronous HTTP request in the shape the system's callers use
// (open, setRequestHeader, send, then status, status text, response text and response
// document), over platform::net's client.
//
// Contract: a cheap value; copies refer to the same request. Open, SetRequestHeader, Send
// and the readers are called from one thread; Abort may be called from any thread and
// makes a running Send throw. Every request has a time limit (60 s unless set). Failures
// throw CComException by value: a network failure names the URL and the cause, and
// reading a response before a Send has completed fails too.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/xml/my_exception.h"
#include "common/xml/xml_document.h"

namespace common {

class CXMLHTTPRequest {
  public:
    CXMLHTTPRequest() = default;
    static CXMLHTTPRequest Create();

    bool IsEmpty() const { return state_ == nullptr; }
    explicit operator bool() const { return !IsEmpty(); }

    // Starts a new request; earlier headers and response are dropped. Only synchronous
    // requests exist (async true throws E_NOTIMPL). An empty user sends no credentials.
    void Open(std::wstring_view method, std::wstring_view url, bool async = false,
              std::wstring_view user = L"", std::wstring_view password = L"") const;
    // "Accept-Encoding" makes the response body arrive decoded.
    void SetRequestHeader(std::wstring_view name, std::wstring_view value) const;
    void SetTimeout(std::chrono::milliseconds limit) const;

    void Send() const;
    void Send(std::wstring_view text) const;  // sent as UTF-8
    void Send(const std::vector<std::uint8_t>& bytes) const;
    void Abort() const;

    long GetStatus() const;
    std::wstring GetStatusText() const;
    // Decoded by the response's charset, then its byte-order mark, else as UTF-8.
    std::wstring GetResponseText() const;
    // The body parsed when the response has an XML media type; an empty document when
    // it has another type or does not parse.
    CXMLDOMDocument2 GetResponseXML() const;

  private:
    struct State;
    State& state() const;
    void send(std::string body) const;

    std::shared_ptr<State> state_;
};

}  // namespace common
