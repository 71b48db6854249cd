// A cloud that misbehaves on purpose, for the end-to-end tests. It serves a published site under
// "/" and answers "/fault" with the next fault of its list, one per request (the last repeats):
//   404, 500     an error status with an HTML page
//   html         200 with a portal's HTML page instead of hosts text
//   empty        200 with no body
//   truncated    a Content-Length of 100,000 bytes, 20 sent, then the connection closed
//   overcap      200 with 65 MiB of hosts-like text (over the client's cap)
//   binary       200 with binary bytes
//   hang         accepts and never answers (until the server stops)
//   ok           200 with a good hosts text
// Usage: zk_fault_server PORT SITE-FOLDER FAULT,FAULT,...
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

std::atomic<bool> stopping{false};
httplib::Server* running = nullptr;

void fault(const std::string& kind, httplib::Response& res) {
  if (kind == "404" || kind == "500") {
    res.status = std::stoi(kind);
    res.set_content("<!DOCTYPE html><html><body>Error " + kind + "</body></html>", "text/html");
  } else if (kind == "html") {
    res.set_content("<!DOCTYPE html>\n<html><head><title>Portal</title></head><body>Log in to continue</body></html>",
                    "text/html");
  } else if (kind == "empty") {
    res.set_content("", "text/plain");
  } else if (kind == "truncated") {
    res.set_content_provider(100000, "text/plain", [](size_t offset, size_t, httplib::DataSink& sink) {
      if (offset == 0) sink.write("# Ti:000000000\r\n1.1.", 20);
      return false;  // the connection is closed mid-body
    });
  } else if (kind == "overcap") {
    const size_t total = 65u << 20;
    res.set_content_provider(total, "text/plain", [total](size_t offset, size_t, httplib::DataSink& sink) {
      static const std::string chunk = [] {
        std::string s;
        while (s.size() < (1u << 16)) s += "0.0.0.0 over.cap.example\r\n";
        return s.substr(0, 1u << 16);
      }();
      size_t n = std::min(chunk.size(), total - offset);
      return sink.write(chunk.data(), n);
    });
  } else if (kind == "binary") {
    std::string bytes;
    for (int i = 0; i < 4096; ++i) bytes += static_cast<char>((i * 37) & 0xFF);
    res.set_content(bytes, "application/octet-stream");
  } else if (kind == "hang") {
    while (!stopping) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    res.status = 503;
  } else {
    res.set_content("# Ti:000000000\r\n127.0.0.1 fault-server-ok\r\n", "text/plain");
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: zk_fault_server PORT SITE-FOLDER FAULT,FAULT,...\n", stderr);
    return 2;
  }
  std::vector<std::string> faults;
  std::stringstream list(argv[3]);
  for (std::string f; std::getline(list, f, ',');) faults.push_back(f);
  std::mutex m;
  size_t next = 0;
  httplib::Server server;
  server.set_mount_point("/", argv[2]);
  server.Get("/fault", [&](const httplib::Request&, httplib::Response& res) {
    std::string kind;
    {
      std::lock_guard lock(m);
      kind = faults[std::min(next, faults.size() - 1)];
      ++next;
    }
    std::printf("fault %s\n", kind.c_str());
    std::fflush(stdout);
    fault(kind, res);
  });
  server.set_logger([](const httplib::Request& req, const httplib::Response& res) {
    std::printf("%s -> %d\n", req.target.c_str(), res.status);
    std::fflush(stdout);
  });
  running = &server;
  auto stop = [](int) {
    stopping = true;
    running->stop();
  };
  std::signal(SIGTERM, stop);
  std::signal(SIGINT, stop);
  std::printf("serving on %s\n", argv[1]);
  std::fflush(stdout);
  return server.listen("127.0.0.1", std::atoi(argv[1])) ? 0 : 1;
}
