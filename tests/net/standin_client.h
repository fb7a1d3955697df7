#ifndef MOYAN_TESTS_NET_STANDIN_CLIENT_H_
#define MOYAN_TESTS_NET_STANDIN_CLIENT_H_

// Talking to the stand-in web (tools/standin/standin_web.py) from programs under Wine: where
// it listens, plain socket requests that bypass the routines under test, and the raw
// requests it recorded.

#include <string>
#include <string_view>

namespace standin {

// The stand-in's port: MOYAN_STANDIN_PORT, else the number in the file named by
// MOYAN_STANDIN_PORT_FILE; 0 when neither names a running stand-in.
int port();
// "http://127.0.0.1:PORT" followed by `target` (which starts with "/").
std::string url(std::string_view target);

struct Answer {
  bool ok = false;   // connected and read an answer
  std::string head;  // status line and headers
  std::string body;  // everything after the blank line
};
// One GET of `target` over a plain socket, read until the server closes.
Answer plain_get(int port, std::string_view target);

// The raw bytes of the latest request the stand-in recorded that holds `text`; empty when
// it recorded none.
std::string recorded_request(std::string_view text);
// How many of the requests the stand-in recorded hold `text`.
int recorded_count(std::string_view text);
// Makes the stand-in answer requests for `path` with fault `mode` ("none" clears it).
void set_fault(std::string_view path, std::string_view mode, std::string_view parameters = {});

// A text no other request of this run holds, to find a request among the recorded ones.
std::string unique_tag();
// A local port that nothing listens on.
int unused_port();

}  // namespace standin

#endif  // MOYAN_TESTS_NET_STANDIN_CLIENT_H_
