#include "platform/win32/http_win32.h"

#include <windows.h>

#include <wininet.h>

#include <algorithm>
#include <memory>

#include "platform/win32/wide.h"

namespace zk::win {

namespace {

struct InetHandle {
  HINTERNET h;
  ~InetHandle() {
    if (h) InternetCloseHandle(h);
  }
};

}  // namespace

HttpResponse WinInetHttp::get(const std::string& url) {
  HttpResponse out;
  std::wstring wurl = widen(url);
  URL_COMPONENTSW parts{};
  parts.dwStructSize = sizeof parts;
  wchar_t host[256] = {}, path[4096] = {}, extra[4096] = {};
  parts.lpszHostName = host;
  parts.dwHostNameLength = 256;
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = 4096;
  parts.lpszExtraInfo = extra;
  parts.dwExtraInfoLength = 4096;
  if (wurl.empty() || !InternetCrackUrlW(wurl.c_str(), 0, 0, &parts)) return out;
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return out;

  InetHandle session{InternetOpenW(L"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)", INTERNET_OPEN_TYPE_PRECONFIG,
                                   nullptr, nullptr, 0)};
  if (!session.h) return out;
  InternetSetOptionW(session.h, INTERNET_OPTION_CONNECT_TIMEOUT, &connectMs_, sizeof connectMs_);
  InetHandle connection{InternetConnectW(session.h, host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0)};
  if (!connection.h) return out;
  DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI;
  if (parts.nScheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
  std::wstring object = std::wstring(path) + extra;
  if (object.empty()) object = L"/";
  const wchar_t* accept[] = {L"*/*", nullptr};
  // A kept-alive connection that the server closed while it lay idle fails at once, before any
  // answer: such a GET is sent once more, on a new connection. Refusals are not, and neither is a
  // server that stays silent (some WinINet builds report its time-out as an aborted connection,
  // so "at once" is what tells the two apart).
  const ULONGLONG quickMs = std::min<ULONGLONG>(1000, receiveMs_ / 2);
  InetHandle request{nullptr};
  DWORD status = 0, size = sizeof status;
  for (int attempt = 0;; ++attempt) {
    request.h = HttpOpenRequestW(connection.h, L"GET", object.c_str(), L"HTTP/1.0", nullptr, accept, flags, 0);
    if (!request.h) return out;
    for (DWORD option :
         {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT}) {
      DWORD ms = option == INTERNET_OPTION_CONNECT_TIMEOUT ? connectMs_ : receiveMs_;
      InternetSetOptionW(request.h, option, &ms, sizeof ms);
    }
    const ULONGLONG sentAt = GetTickCount64();
    DWORD error = 0;
    if (!HttpSendRequestW(request.h, nullptr, 0, nullptr, 0))
      error = GetLastError();
    else if (!HttpQueryInfoW(request.h, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) ||
             status < 100)
      error = ERROR_HTTP_INVALID_SERVER_RESPONSE;  // the connection closed without a status line
    if (error == 0) break;
    bool dropped = (error == ERROR_INTERNET_CONNECTION_RESET || error == ERROR_INTERNET_CONNECTION_ABORTED ||
                    error == ERROR_HTTP_INVALID_SERVER_RESPONSE) &&
                   GetTickCount64() - sentAt < quickMs;
    if (!dropped || attempt > 0) return out;
    InternetCloseHandle(request.h);
    request.h = nullptr;
    status = 0;
    size = sizeof status;
  }

  // Over HTTP/1.0 a connection closed mid-body ends the read like a finished one: the announced
  // length is what tells them apart.
  DWORD announced = 0, announcedSize = sizeof announced;
  bool hasLength = HttpQueryInfoW(request.h, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &announced,
                                  &announcedSize, nullptr);

  auto buffer = std::make_unique<char[]>(64 * 1024);
  for (;;) {
    DWORD got = 0;
    if (!InternetReadFile(request.h, buffer.get(), 64 * 1024, &got)) return HttpResponse{};  // cut off or timed out
    if (got == 0) break;
    if (out.body.size() + got > maxBytes_) {
      out.truncated = true;
      break;
    }
    out.body.append(buffer.get(), got);
  }
  if (!out.truncated && hasLength && out.body.size() < announced) return HttpResponse{};
  out.reached = true;
  out.status = static_cast<int>(status);
  return out;
}

}  // namespace zk::win
