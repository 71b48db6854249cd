// zelkora-cloud: publishes a cloud site into a folder, and serves such a folder over HTTP for
// local use and tests, filling in the external-IP lookup pages (any ".../ip/") with each
// caller's own address, and standing in for the two QQ services (nickname and avatar) from the
// folder's "qq/". In production any static web server serves the folder.
#include <httplib.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "cloud/site.h"

namespace {

int usage() {
  std::fputs(
      "usage:\n"
      "  zelkora-cloud publish CONFIG.ini OUTPUT-FOLDER [--origin http://HOST:PORT]\n"
      "  zelkora-cloud serve FOLDER [--port N] [--host ADDRESS]   (default 127.0.0.1:8080)\n",
      stderr);
  return 2;
}

httplib::Server* running = nullptr;

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return usage();
  std::string cmd = argv[1];
  if (cmd == "publish" && (argc == 4 || (argc == 6 && !std::strcmp(argv[4], "--origin")))) {
    zk::cloud::SiteConfig config;
    std::string error = zk::cloud::readConfig(argv[2], config);
    // "@ORIGIN@" in the config's addresses: where this copy of the site is served.
    for (std::string* url : {&config.baseUrl, &config.websiteUrl}) {
      auto at = url->find("@ORIGIN@");
      if (at != std::string::npos) url->replace(at, 8, argc == 6 ? argv[5] : "http://127.0.0.1:8080");
    }
    if (error.empty()) error = zk::cloud::publish(config, argv[3]);
    if (!error.empty()) {
      std::fprintf(stderr, "zelkora-cloud: %s\n", error.c_str());
      return 1;
    }
    std::printf("published %s\n", argv[3]);
    return 0;
  }
  if (cmd == "serve") {
    std::string host = "127.0.0.1";
    int port = 8080;
    for (int i = 3; i + 1 < argc; i += 2) {
      if (!std::strcmp(argv[i], "--port"))
        port = std::atoi(argv[i + 1]);
      else if (!std::strcmp(argv[i], "--host"))
        host = argv[i + 1];
      else
        return usage();
    }
    httplib::Server server;
    if (!server.set_mount_point("/", argv[2])) {
      std::fprintf(stderr, "zelkora-cloud: no such folder %s\n", argv[2]);
      return 1;
    }
    // The site's files are plain text in GBK, or HTML pages.
    server.set_file_extension_and_mimetype_mapping("css", "text/plain; charset=gbk");
    server.set_file_extension_and_mimetype_mapping("txt", "text/plain; charset=gbk");
    // Any ".../ip/" is the lookup page: the one publish wrote there, else the built-in one, with
    // the caller's address and place filled in as a web server's includes would.
    const std::string root = argv[2];
    auto fileText = [root](const std::string& name) {
      std::ifstream in(root + "/" + name, std::ios::binary);
      std::ostringstream text;
      if (in) text << in.rdbuf();
      return text.str();
    };
    server.set_pre_routing_handler([root, fileText](const httplib::Request& req, httplib::Response& res) {
      const std::string& path = req.path;
      // The QQ services' stand-ins, from the folder's "qq/".
      if (path == "/fcg-bin/cgi_get_portrait.fcg") {
        res.set_content(zk::cloud::qqNicknameReply(fileText("qq/nicknames.txt"), req.get_param_value("uins")),
                        "application/javascript; charset=gbk");
        return httplib::Server::HandlerResponse::Handled;
      }
      if (path == "/headimg_dl") {
        using zk::cloud::AvatarAnswer;
        switch (zk::cloud::qqAvatarAnswer(fileText("qq/avatars.txt"), req.get_param_value("dst_uin"))) {
          case AvatarAnswer::Picture: res.set_content(fileText("qq/avatar.jpg"), "image/jpeg"); break;
          case AvatarAnswer::Html:
            res.set_content("<html><body>请先登录</body></html>", "text/html; charset=utf-8");
            break;
          case AvatarAnswer::Empty: res.set_content("", "image/jpeg"); break;
          case AvatarAnswer::Missing: res.status = 404; break;
        }
        return httplib::Server::HandlerResponse::Handled;
      }
      if (path.size() < 4 || path.compare(path.size() - 4, 4, "/ip/") != 0 || path.find("..") != std::string::npos)
        return httplib::Server::HandlerResponse::Unhandled;
      std::ifstream in(root + path + "index.html", std::ios::binary);
      std::ostringstream page;
      if (in)
        page << in.rdbuf();
      else if (path == "/ip/")
        page << zk::cloud::lookupPage();
      else
        return httplib::Server::HandlerResponse::Unhandled;
      bool loopback = req.remote_addr == "127.0.0.1" || req.remote_addr == "::1";
      res.set_content(zk::cloud::filledLookupPage(page.str(), req.remote_addr,
                                                  loopback ? "本机&nbsp;回环地址" : "局域网&nbsp;未知"),
                      "text/html; charset=gb2312");
      return httplib::Server::HandlerResponse::Handled;
    });
    server.set_logger([](const httplib::Request& req, const httplib::Response& res) {
      std::printf("%s %s %s -> %d (%zu bytes)\n", req.remote_addr.c_str(), req.method.c_str(), req.target.c_str(),
                  res.status, res.body.size());
      std::fflush(stdout);
    });
    running = &server;
    std::signal(SIGTERM, [](int) { running->stop(); });
    std::signal(SIGINT, [](int) { running->stop(); });
    std::printf("serving %s on http://%s:%d/\n", argv[2], host.c_str(), port);
    std::fflush(stdout);
    return server.listen(host, port) ? 0 : 1;
  }
  return usage();
}
