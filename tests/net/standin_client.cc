#include "standin_client.h"

#include <winsock2.h>

#include <windows.h>
#include <ws2tcpip.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <mutex>

namespace standin {
namespace {

void start_winsock() {
  static std::once_flag once;
  std::call_once(once, [] {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  });
}

sockaddr_in local_address(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<u_short>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

std::string percent_encoded(std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const unsigned char c : text) {
    if (isalnum(c) || c == '-' || c == '_' || c == '.') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

}  // namespace

int port() {
  if (const char* value = std::getenv("MOYAN_STANDIN_PORT")) return std::atoi(value);
  const char* file = std::getenv("MOYAN_STANDIN_PORT_FILE");
  if (file == nullptr) return 0;
  std::ifstream in(file);
  int number = 0;
  in >> number;
  return number;
}

std::string url(std::string_view target) {
  return "http://127.0.0.1:" + std::to_string(port()) + std::string(target);
}

Answer plain_get(int port_number, std::string_view target) {
  start_winsock();
  Answer answer;
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return answer;
  const sockaddr_in address = local_address(port_number);
  if (connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
    closesocket(s);
    return answer;
  }
  const std::string request = "GET " + std::string(target) +
                              " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port_number) +
                              "\r\nConnection: close\r\n\r\n";
  send(s, request.data(), static_cast<int>(request.size()), 0);
  std::string all;
  char buffer[16384];
  for (;;) {
    const int n = recv(s, buffer, sizeof(buffer), 0);
    if (n <= 0) break;
    all.append(buffer, static_cast<size_t>(n));
  }
  closesocket(s);
  const size_t split = all.find("\r\n\r\n");
  if (split == std::string::npos) return answer;
  answer.ok = true;
  answer.head = all.substr(0, split + 2);
  answer.body = all.substr(split + 4);
  return answer;
}

std::string recorded_request(std::string_view text) {
  const Answer answer = plain_get(port(), "/_standin/request?find=" + percent_encoded(text));
  if (!answer.ok || answer.head.rfind("HTTP/1.1 200", 0) != 0) return std::string();
  return answer.body;
}

int recorded_count(std::string_view text) {
  const Answer answer = plain_get(port(), "/_standin/count?find=" + percent_encoded(text));
  return answer.ok ? std::atoi(answer.body.c_str()) : -1;
}

void set_fault(std::string_view path, std::string_view mode, std::string_view parameters) {
  std::string target =
      "/_standin/fault?path=" + percent_encoded(path) + "&mode=" + std::string(mode);
  if (!parameters.empty()) target += "&" + std::string(parameters);
  plain_get(port(), target);
}

std::string unique_tag() {
  static std::atomic<int> counter{0};
  return "tag" + std::to_string(GetCurrentProcessId()) + "x" + std::to_string(GetTickCount64()) +
         "x" + std::to_string(counter.fetch_add(1));
}

int unused_port() {
  start_winsock();
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = local_address(0);
  bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
  int size = sizeof(address);
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
  closesocket(s);
  return ntohs(address.sin_port);
}

}  // namespace standin
