#include "raw_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>
#include <random>
#include <thread>

namespace refserver {

namespace {

constexpr size_t kHeadLimit = 64 * 1024;
constexpr size_t kBodyLimit = 16 * 1024 * 1024;

bool SendAll(socket_t sock, std::string_view data) {
  while (!data.empty()) {
    const ssize_t sent = ::send(sock, data.data(), data.size(), MSG_NOSIGNAL);
    if (sent <= 0) return false;
    data.remove_prefix(static_cast<size_t>(sent));
  }
  return true;
}

std::string LowerCase(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  return lower;
}

// The value of a header in a raw head, by case-insensitive name; nullopt when absent.
std::optional<std::string> HeaderValue(std::string_view head, std::string_view name) {
  const std::string lowerHead = LowerCase(head);
  const std::string marker = "\r\n" + LowerCase(name) + ":";
  const size_t at = lowerHead.find(marker);
  if (at == std::string::npos) return std::nullopt;
  size_t start = at + marker.size();
  const size_t end = head.find("\r\n", start);
  while (start < end && (head[start] == ' ' || head[start] == '\t')) ++start;
  return std::string(head.substr(start, end - start));
}

std::string PathOf(std::string_view raw) {
  const size_t start = raw.find(' ');
  if (start == std::string_view::npos) return {};
  const size_t end = raw.find_first_of(" ?\r", start + 1);
  return std::string(raw.substr(start + 1, end - start - 1));
}

// Reads one request whole; nullopt when the peer went away or sent too much, or when
// `proceed` refuses the head. Answers "Expect: 100-continue" itself, so that clients that ask
// do not wait for a timeout. `proceed` may set `crawl` to read the body that many bytes at a
// time, 50 ms apart.
template <typename Proceed>
std::optional<std::string> ReadRequest(socket_t sock, Proceed proceed) {
  size_t crawl = 0;
  std::string raw;
  char buffer[64 * 1024];
  size_t headEnd = std::string::npos;
  while ((headEnd = raw.find("\r\n\r\n")) == std::string::npos) {
    if (raw.size() > kHeadLimit) return std::nullopt;
    const ssize_t got = ::recv(sock, buffer, sizeof(buffer), 0);
    if (got <= 0) return std::nullopt;
    raw.append(buffer, static_cast<size_t>(got));
  }
  const std::string_view head(raw.data(), headEnd + 2);
  if (!proceed(head, crawl)) return std::nullopt;
  size_t length = 0;
  if (auto value = HeaderValue(head, "Content-Length")) length = std::strtoull(value->c_str(), nullptr, 10);
  if (length > kBodyLimit) return std::nullopt;
  if (auto expect = HeaderValue(head, "Expect"); expect && LowerCase(*expect) == "100-continue") {
    SendAll(sock, "HTTP/1.1 100 Continue\r\n\r\n");
  }
  const size_t total = headEnd + 4 + length;
  while (raw.size() < total) {
    const size_t piece = crawl > 0 ? std::min(crawl, sizeof(buffer)) : sizeof(buffer);
    const ssize_t got = ::recv(sock, buffer, std::min(piece, total - raw.size()), 0);
    if (got <= 0) return std::nullopt;
    raw.append(buffer, static_cast<size_t>(got));
    if (crawl > 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return raw;
}

// A Stream over a request already read and a response being collected.
class BufferedStream : public httplib::Stream {
 public:
  BufferedStream(std::string request, socket_t sock) : request_(std::move(request)), sock_(sock) {}
  bool is_readable() const override { return true; }
  bool is_writable() const override { return true; }
  ssize_t read(char* ptr, size_t size) override {
    const size_t n = std::min(size, request_.size() - position_);
    std::memcpy(ptr, request_.data() + position_, n);
    position_ += n;
    return static_cast<ssize_t>(n);
  }
  ssize_t write(const char* ptr, size_t size) override {
    response_.append(ptr, size);
    return static_cast<ssize_t>(size);
  }
  void get_remote_ip_and_port(std::string& ip, int& port) const override { Address(::getpeername, ip, port); }
  void get_local_ip_and_port(std::string& ip, int& port) const override { Address(::getsockname, ip, port); }
  socket_t socket() const override { return sock_; }
  std::string& response() { return response_; }

 private:
  template <typename Get>
  void Address(Get get, std::string& ip, int& port) const {
    sockaddr_in address{};
    socklen_t size = sizeof(address);
    if (get(sock_, reinterpret_cast<sockaddr*>(&address), &size) != 0) return;
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address.sin_addr, text, sizeof(text));
    ip = text;
    port = ntohs(address.sin_port);
  }

  std::string request_;
  size_t position_ = 0;
  socket_t sock_;
  std::string response_;
};

// The request as httplib gets it: without "Expect" (answered already), and with a multipart
// body marked as a plain one, so that it reaches the routes whole. The upload form is read by
// its offsets, not by its delimiters: a photo may hold the boundary's bytes.
std::string ForRouting(std::string raw) {
  const size_t headEnd = raw.find("\r\n\r\n");
  std::string lowerHead = LowerCase(std::string_view(raw).substr(0, headEnd + 2));
  if (const size_t at = lowerHead.find("\r\nexpect:"); at != std::string::npos) {
    const size_t lineEnd = raw.find("\r\n", at + 2);
    raw.erase(at, lineEnd - at);
    lowerHead.erase(at, lineEnd - at);
  }
  constexpr std::string_view kMultipart = "multipart/form-data";
  if (const size_t at = lowerHead.find("\r\ncontent-type:"); at != std::string::npos) {
    const size_t type = lowerHead.find(kMultipart, at);
    if (type != std::string::npos && type < lowerHead.find("\r\n", at + 2)) {
      raw.replace(type, kMultipart.size(), kRawMultipartType);
    }
  }
  return raw;
}

std::string ReplaceContentLength(std::string head, size_t length) {
  const std::string lowerHead = LowerCase(head);
  const size_t at = lowerHead.find("\r\ncontent-length:");
  const std::string line = "\r\nContent-Length: " + std::to_string(length);
  if (at == std::string::npos) return head + line;
  const size_t lineEnd = head.find("\r\n", at + 2);
  head.replace(at, (lineEnd == std::string::npos ? head.size() : lineEnd) - at, line);
  return head;
}

}  // namespace

std::string ApplyReplyFaults(FaultPlan& faults, const std::string& path, std::string response) {
  const size_t split = response.find("\r\n\r\n");
  if (split == std::string::npos) return response;
  std::string head = response.substr(0, split);
  std::string body = response.substr(split + 4);
  bool changed = false;
  if (auto lead = faults.Take(FaultKind::Lead, path)) {
    body.insert(0, std::string(static_cast<size_t>(std::max(0L, *lead)), ' '));
    changed = true;
  }
  if (auto extra = faults.Take(FaultKind::Oversize, path)) {
    body += "<!--" + std::string(static_cast<size_t>(std::max(0L, *extra)), '.') + "-->";
    changed = true;
  }
  if (auto seed = faults.Take(FaultKind::Garble, path)) {
    std::mt19937 random(static_cast<unsigned>(*seed));
    for (char& c : body) c = static_cast<char>(random() & 0xFF);
    changed = true;
  }
  if (changed) head = ReplaceContentLength(head, body.size());
  if (auto keep = faults.Take(FaultKind::Truncate, path)) {
    // The head still promises the whole body; the connection ends early.
    body.resize(std::min(body.size(), static_cast<size_t>(std::max(0L, *keep))));
  }
  return head + "\r\n\r\n" + body;
}

bool RawHttpServer::process_and_close_socket(socket_t sock) {
  timeval timeout{10, 0};
  ::setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof(timeout));
  ::setsockopt(sock, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof(timeout));
  std::optional<std::string> raw = ReadRequest(sock, [this, sock](std::string_view head, size_t& crawl) {
    const std::string path = PathOf(head);
    if (path.rfind("/control/", 0) == 0) return true;
    if (auto piece = faults_.Take(FaultKind::Crawl, path); piece && *piece > 0) crawl = static_cast<size_t>(*piece);
    // A server that hangs while the body is on its way and then gives the connection up: it
    // reads nothing more, stores nothing, and no request of it reaches a route (nor any fault
    // armed meanwhile), whatever the client did in the meantime.
    const auto stall = faults_.Take(FaultKind::Stall, path);
    if (stall) faults_.Sleep(*stall);
    if (!stall && !faults_.Take(FaultKind::Reset, path)) return true;
    // Closing with the linger time at zero sends a reset instead of an orderly end.
    linger abort{1, 0};
    ::setsockopt(sock, SOL_SOCKET, SO_LINGER, &abort, sizeof(abort));
    return false;
  });
  if (!raw) {
    ::close(sock);
    return false;
  }
  const std::string path = PathOf(*raw);
  const bool control = path.rfind("/control/", 0) == 0;
  if (!control) {
    log_.Add(*raw);
    if (faults_.Take(FaultKind::Drop, path)) {
      ::shutdown(sock, SHUT_RDWR);
      ::close(sock);
      return true;
    }
  }
  BufferedStream stream(ForRouting(std::move(*raw)), sock);
  bool closed = false;
  const bool ok = process_request(stream, true, closed, [](httplib::Request&) {});
  std::string response = std::move(stream.response());
  if (!control) {
    if (auto delay = faults_.Take(FaultKind::Delay, path)) faults_.Sleep(*delay);
    response = ApplyReplyFaults(faults_, path, std::move(response));
  }
  if (auto piece = control ? std::nullopt : faults_.Take(FaultKind::Trickle, path); piece && *piece > 0) {
    for (size_t at = 0; at < response.size(); at += static_cast<size_t>(*piece)) {
      if (!SendAll(sock, std::string_view(response).substr(at, static_cast<size_t>(*piece)))) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  } else {
    SendAll(sock, response);
  }
  ::shutdown(sock, SHUT_WR);
  ::close(sock);
  return ok;
}

}  // namespace refserver
