// WinINet reads against a loopback server that misbehaves on purpose, and the browser host.
#include <ole2.h>
#include <windows.h>
#include <winsock2.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "platform/win32/http_win32.h"
#include "ui/web_view.h"

namespace zk {
namespace {

// One listening socket on 127.0.0.1; each accepted connection goes to the handler with its number.
class LoopbackServer {
 public:
  using Handler = std::function<void(SOCKET, int connection)>;
  explicit LoopbackServer(Handler handler) : handler_(std::move(handler)) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&at), sizeof at);
    listen(listener_, 8);
    int size = sizeof at;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&at), &size);
    port_ = ntohs(at.sin_port);
    thread_ = std::thread([this] {
      for (int n = 1;; ++n) {
        SOCKET s = accept(listener_, nullptr, nullptr);
        if (s == INVALID_SOCKET) return;
        connections_ = n;
        handler_(s, n);
      }
    });
  }
  ~LoopbackServer() {
    closesocket(listener_);
    thread_.join();
    WSACleanup();
  }
  std::string url(const char* path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
  int connections() const { return connections_; }

  static void readRequest(SOCKET s) {
    std::string got;
    char buf[1024];
    while (got.find("\r\n\r\n") == std::string::npos) {
      int n = recv(s, buf, sizeof buf, 0);
      if (n <= 0) return;
      got.append(buf, n);
    }
  }
  static void reset(SOCKET s) {
    linger hard{1, 0};
    setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<char*>(&hard), sizeof hard);
    closesocket(s);
  }
  static void answer(SOCKET s, const std::string& body) {
    std::string reply = "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
    send(s, reply.data(), static_cast<int>(reply.size()), 0);
    shutdown(s, SD_SEND);
    closesocket(s);
  }

 private:
  Handler handler_;
  SOCKET listener_;
  int port_ = 0;
  std::atomic<int> connections_{0};
  std::thread thread_;
};

TEST(WinInetHttp, AConnectionDroppedBeforeTheAnswerIsTriedOnceMore) {
  LoopbackServer server([](SOCKET s, int n) {
    LoopbackServer::readRequest(s);
    if (n == 1)
      LoopbackServer::reset(s);
    else
      LoopbackServer::answer(s, "1");
  });
  win::WinInetHttp http(2000, 2000);
  HttpResponse r = http.get(server.url("/ol.css"));
  EXPECT_TRUE(r.reached);
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.body, "1");
  EXPECT_EQ(server.connections(), 2);
}

TEST(WinInetHttp, OnlyOnceMoreAndNeverAfterATimeOut) {
  {
    LoopbackServer server([](SOCKET s, int) {
      LoopbackServer::readRequest(s);
      LoopbackServer::reset(s);
    });
    win::WinInetHttp http(2000, 2000);
    HttpResponse r = http.get(server.url("/ol.css"));
    EXPECT_FALSE(r.reached) << r.status << " " << r.body.size();
    EXPECT_EQ(server.connections(), 2);
  }
  {
    std::atomic<bool> done{false};
    LoopbackServer server([&](SOCKET s, int) {
      LoopbackServer::readRequest(s);
      while (!done) std::this_thread::sleep_for(std::chrono::milliseconds(20));  // never answers
      closesocket(s);
    });
    win::WinInetHttp http(1000, 1000);
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_FALSE(http.get(server.url("/hosts.txt")).reached);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
    done = true;
    EXPECT_GE(ms, 900);
    EXPECT_LT(ms, 1900);  // one wait for the answer, not two
    EXPECT_EQ(server.connections(), 1);
  }
}

// Where the system has an HTML engine the view is a live child window; where it has none (this
// Wine prefix), nothing is left behind and the caller keeps its link.
TEST(WebView, EitherALiveChildWindowOrNothingAtAll) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"ZkWebViewHost";
  RegisterClassW(&wc);
  // A message-only host: the Windows-side tests run without a display.
  HWND parent =
      CreateWindowExW(0, wc.lpszClassName, L"host", 0, 0, 0, 300, 200, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(parent, nullptr);
  {
    ui::WebView view;
    RECT area{10, 10, 190, 40};
    bool created = view.create(parent, area);
    EXPECT_EQ(view.created(), created);
    EXPECT_EQ(GetWindow(parent, GW_CHILD) != nullptr, created);
    view.navigate(L"about:blank");  // harmless either way
    view.destroy();
    EXPECT_FALSE(view.created());
  }
  DestroyWindow(parent);
}

}  // namespace
}  // namespace zk
