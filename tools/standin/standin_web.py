#!/usr/bin/env python3
"""A stand-in web for 墨砚工坊's tests and for trying the program offline.

One small HTTP server on 127.0.0.1 (Python's standard library only) that plays the three
outside places the program talks to, in GBK and with the exact markers the program cuts
its values out of: the web search engine, the source-code site (detail pages, download
pages, packages) and the announcement page. It records every raw request it receives, and
it can misbehave on purpose (delays, silence, trickling, dropped connections, endless
bodies, error pages, zero bytes).

Starting and stopping
  standin_web.py [serve] [--port N] [--port-file FILE] [--lifetime SECONDS]
      Serves in the foreground until SIGTERM/SIGINT (or the lifetime ends). --port 0 (the
      default) lets the system choose a free port. The port is printed as the line
      "standin: listening on 127.0.0.1:PORT" and, with --port-file, written to FILE (the
      number alone, written whole at once).
  standin_web.py start --port-file FILE --pid-file FILE [--port N] [--lifetime SECONDS]
      Starts the server in the background, detached from the caller's terminal and output,
      and returns once FILE holds the port.
  standin_web.py stop --pid-file FILE
      Ends a server started with "start" and removes its files.
  standin_web.py config --port N
      Prints the CMake options that point a build's configuration values at a server on
      port N:
        -DMOYAN_SEARCH_ENGINE_BASE_URL=http://127.0.0.1:N/
        -DMOYAN_SOURCE_SITE_HOST=127.0.0.1:N
        -DMOYAN_SOURCE_SITE_BASE_URL=http://127.0.0.1:N/
        -DMOYAN_ANNOUNCEMENT_PAGE_URL=http://127.0.0.1:N/notice.html
  tools/standin/with_standin.sh COMMAND...  runs COMMAND with MOYAN_STANDIN_PORT set.

What it serves (every answer closes its connection)
  /s?wd=...&pn=...&tn=...&rn=...   search engine result pages. wd, percent-decoded GBK, reads
        "site:(HOST) title: (KEYWORD)"; the entries whose title holds KEYWORD (ASCII case
        ignored) are the hits, linked as http://HOST/soft/ID.html. The count line reports
        how many. Pages hold rn hits (default 10); the page at offset pn holds matches
        from max(pn - rn, 0) on, so the program's first page (pn=rn) shows the first hits.
        Hits carry "<em>" highlighting; pages also hold a link to another site and a
        snapshot link without the link-text separator. Keywords: see ENTRIES; "批量"
        matches 250 generated entries (three result pages of 100), "批量N" the first N
        of them (N up to 2000; "批量299": three full pages less one hit).
  /soft/ID.html     detail page: rating, size and update-time rows, link to the download page
  /down/ID.html     download page with the package link (entries 110 to 116: links that
                    lead nowhere good, see PACKAGE_LINKS)
  /files/ID.rar     the package (a few hundred bytes; entry 105's holds zero bytes)
  /                 the site's home page (200)
  /notice.html      the announcement, "10001" between its markers
  /notice-twice.html (markers twice: 10001, then 20002), /notice-open.html (start marker only)
  /echo, anything else under /echo/   200, body "echo" (any method)
  /zero             200, body "zero-before", a zero byte, "zero-after"
  /bigheaders       200 with a header block of over 2000 bytes
  anything else     404 with a GBK error page
Requests through a proxy (a full address in the request line) are served by their path.
Paths are read as web servers read them: "/./" is "/", "/a/../b" is "/b".

Faults, chosen by a path prefix /fault/MODE/REST (REST is then served), by a query switch
fault=MODE on any path, or for a path by a control request. Parameters in the query, or in
the prefix itself (/fault/MODE,NAME=VALUE,.../REST, for addresses whose query is not the
caller's to choose): ms (a time), bytes (a size), rate (bytes per second), code (a status),
hops, form, per (below).
  delay     waits ms (default 500) and answers normally
  silent    reads the request and never answers; holds the connection (for ms when given,
            then closes it)
  trickle   sends status and headers at once, then the body in pieces of bytes (default 1)
            every ms (default 500)
  trickle-head  the whole answer so, status line included
  drop      announces the whole body but sends half of it and closes
  reset     closes the connection (RST) without answering
  huge      declares Content-Length bytes (default 3 GiB) and sends that many bytes (none of
            them zero) at rate (default 8 MiB/s), unless the client leaves first
  endless   the same without Content-Length
  404       a 404 answer with its GBK error page
  status    REST's body with status code (default 500) instead of its own
  zero      the body "zero-before", a zero byte, "zero-after"
  unsized   REST's answer without Content-Length, ended by closing the connection
  chunked   REST's answer in chunks of bytes (default 1000)
  chunked-huge     chunks without Content-Length, bytes in all (default 3 GiB) at rate
  chunked-endless  chunks at rate that never end
  redirect  (prefix form) a code (default 302) redirect, hops times (default 1), then REST;
            form says how Location is written: path (default, "/fault/redirect,..."),
            absolute ("http://HOST/..."), relative ("../redirect,.../REST")
  redirect-loop  a redirect to the very same address, for ever
  many      a result page of per hits (default 2000) instead of rn: the page at offset pn
            holds the matches from (pn / rn - 1) * per on

Control requests (not recorded; the latest 2000 other requests are kept)
  /_standin/request?find=TEXT      the raw bytes of the latest recorded request holding TEXT
                                   (404 when none)
  /_standin/count?find=TEXT        how many recorded requests hold TEXT (decimal)
  /_standin/fault?path=P&mode=M[&ms=..&bytes=..&rate=..]   fault M for path P from now on;
                                   mode=none clears it; path=* (%2A) for every path
                                   without a fault of its own (delay=20 ms everywhere:
                                   path=*&mode=delay&ms=20)
  /_standin/reset                  forgets recorded requests and faults
"""

import argparse
import os
import re
import signal
import socket
import socketserver
import subprocess
import sys
import threading
import time
import urllib.parse

HOST = "127.0.0.1"
RECORD_LIMIT = 2000  # raw requests kept, newest last
HEADER_LIMIT = 64 * 1024
BODY_LIMIT = 4 * 1024 * 1024

# The built-in source entries: id, title, rating, size, update time. A rating of None
# leaves the rating row out of the detail page; "" leaves it empty.
ENTRIES = [
    (101, "超级列表框增强模块", "★★★★", "128 KB", "2012-03-15"),
    (102, "网络封包拦截模块源码", "★★★", "56 KB", "2011-11-02"),
    (103, "俄罗斯方块游戏源码", "★★★★★", "340 KB", "2010-07-21"),
    (104, "Excel数据库操作类模块", "★★", "88 KB", "2012-01-09"),
    (105, "图片批处理工具 含零字节包", "★★★", "1.2 MB", "2011-05-30"),
    (106, "多线程下载器源码", "★★★★", "210 KB", "2012-02-28"),
    (107, "文件 管理 工具源码", "★★★", "75 KB", "2011-09-12"),
    (108, "无评级的模块源码", None, "12 KB", "2010-01-01"),
    (109, "空评级的模块源码", "", "13 KB", "2010-01-02"),
    # Entries whose download page links to no package (see PACKAGE_LINKS).
    (110, "问号链接的源码", "★", "1 KB", "2013-01-01"),
    (111, "井号链接的源码", "★", "1 KB", "2013-01-02"),
    (112, "点斜杠链接的源码", "★", "1 KB", "2013-01-03"),
    (113, "包已丢失的源码", "★", "1 KB", "2013-01-04"),
    (114, "包出错的源码", "★", "1 KB", "2013-01-05"),
    (115, "包转圈的源码", "★", "1 KB", "2013-01-06"),
    (116, "包搬过家的源码", "★", "1 KB", "2013-01-07"),
]
# The package link of a download page, where it isn't "files/ID.rar": links that lead back
# to the site itself, to a missing package (404 with its error page), to an error status
# with a whole package as its body, to a redirect loop, and to a package moved twice.
PACKAGE_LINKS = {
    110: "?",
    111: "#",
    112: "./",
    113: "files/99999.rar",
    114: "fault/status,code=500/files/101.rar",
    115: "fault/redirect-loop/files/101.rar",
    116: "fault/redirect,hops=2/files/101.rar",
}
BULK_KEYWORD = "批量"
BULK_FIRST_ID = 1000
BULK_COUNT = 250
BULK_LIMIT = 2000  # entries "批量N" may ask for


def entry(entry_id):
    for e in ENTRIES:
        if e[0] == entry_id:
            return e
    if BULK_FIRST_ID <= entry_id < BULK_FIRST_ID + BULK_LIMIT:
        n = entry_id - BULK_FIRST_ID + 1
        return (entry_id, "批量源码第%d号" % n, "★★★", "%d KB" % (10 + n), "2012-04-%02d" % (n % 28 + 1))
    return None


def bulk_count(keyword):
    """How many generated entries a keyword asks for: "批量" 250, "批量N" N."""
    if keyword == BULK_KEYWORD:
        return BULK_COUNT
    m = re.fullmatch(BULK_KEYWORD + r"(\d{1,5})", keyword)
    return min(int(m.group(1)), BULK_LIMIT) if m else 0


def matching_entries(keyword):
    bulk = bulk_count(keyword)
    if bulk:
        return [entry(BULK_FIRST_ID + i) for i in range(bulk)]
    folded = keyword.lower()
    return [e for e in ENTRIES if folded and folded in e[1].lower()]


def gbk(text):
    return text.encode("gbk")


# ---- Pages -----------------------------------------------------------------------------

def highlight(title, keyword):
    if not keyword:
        return title
    out, lower, folded, i = [], title.lower(), keyword.lower(), 0
    while True:
        j = lower.find(folded, i)
        if j < 0:
            out.append(title[i:])
            return "".join(out)
        out.append(title[i:j] + "<em>" + title[j:j + len(keyword)] + "</em>")
        i = j + len(keyword)


def search_page(query, host_header, per=None):
    wd_raw = first_value(query, "wd") or ""
    wd = urllib.parse.unquote_to_bytes(wd_raw).decode("gbk", errors="replace")
    site = re.search(r"site:\((.*?)\)", wd)
    site_host = site.group(1) if site else host_header
    title = re.search(r"title:\s*\((.*)\)\s*$", wd)
    keyword = title.group(1) if title else wd
    rn = to_int(first_value(query, "rn"), 10) or 10
    pn = to_int(first_value(query, "pn"), 0)
    hits = matching_entries(keyword)
    start = max(pn - rn, 0)
    if per is not None:  # "many": pages of per hits each, whatever rn asked for
        start, rn = max(pn // rn - 1, 0) * per, per
    base = "http://%s/" % site_host
    lines = [
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\">",
        "<title>%s_搜索结果</title></head><body>" % keyword,
        "<div id=\"content_left\">",
        "<p><span class=\"nums\">找到相关结果约%d个</span></p>" % len(hits),
    ]
    for e in hits[start:start + rn]:
        link = "%ssoft/%d.html" % (base, e[0])
        lines.append("<div class=\"result\"><h3 class=\"t\"><a href=\"%s\"target=\"_blank\">%s</a></h3>"
                     % (link, highlight(e[1], keyword)))
        lines.append("<a href=\"%s\">网页快照</a></div>" % link)
    if hits[start:start + rn]:
        lines.append("<div class=\"result\"><h3 class=\"t\"><a href=\"http://www.other-site.invalid/"
                     "code/1.html\"target=\"_blank\">别处的%s源码</a></h3></div>" % highlight(keyword, keyword))
    lines.append("</div></body></html>")
    return gbk("\r\n".join(lines))


def detail_page(e):
    entry_id, title, rating, size, updated = e
    rows = []
    if rating is not None:
        rows += ["        <tr>",
                 "          <th>评论等级：</th>",
                 "          <td class=\"c_orange\"> %s</td>" % rating,
                 "        </tr>"]
    # The size's heading stands one space further left than the others, as on the site.
    rows += ["        <tr>",
             "         <th>文件大小：</th>",
             "          <td> %s</td>" % size,
             "        </tr>",
             "        <tr>",
             "          <th>更新时间：</th>",
             "          <td> %s</td>" % updated,
             "        </tr>"]
    lines = ["<html>", "<head><title>%s</title></head>" % title, "<body>",
             "<h1>%s</h1>" % title, "      <table class=\"info\">"] + rows + [
        "      </table>",
        "<div id=\"down_address\">",
        "    <a href='down/%d.html' target='_blank'>本地下载</a>" % entry_id,
        "</div>", "</body></html>"]
    return gbk("\r\n".join(lines))


def download_page(e):
    lines = ["<html><head><title>%s 下载</title></head><body>" % e[1], "<div class=\"down\">",
             "<!--判断是否已经扣点-->",
             "<a href=\"%s\"><img src=\"images/down.gif\" /></a>"
             % PACKAGE_LINKS.get(e[0], "files/%d.rar" % e[0]),
             "</div></body></html>"]
    return gbk("\r\n".join(lines))


def package(e):
    """A few hundred bytes standing in for an archive; entry 105's holds zero bytes."""
    head = b"Rar!\x1a\x07\x01" + gbk(e[1]) + b"\r\n"
    if e[0] == 105:
        return head + b"\x00\x00before-and-after-zero\x00" + bytes(range(256))
    return head + bytes(range(1, 256)) * 2


NOTICE = "<html><body><div class=\"notice\">%s</div></body></html>"
START, END = "公告首｛", "｝公告尾"
PAGES = {
    "/notice.html": gbk(NOTICE % (START + "10001" + END)),
    "/notice-twice.html": gbk(NOTICE % (START + "10001" + END + "<br>" + START + "20002" + END)),
    "/notice-open.html": gbk(NOTICE % (START + "10001")),
}
HOME = gbk("<html><head><title>源码站首页</title></head><body><h1>欢迎光临</h1></body></html>")
NOT_FOUND = gbk("<html><head><title>404 页面不存在</title></head><body>"
                "<h1>404</h1><p>您要找的页面不存在。</p></body></html>")


def without_dot_segments(path):
    """The path as a web server reads it: "." and ".." segments resolved."""
    kept = []
    segments = path.split("/")[1:]
    for i, segment in enumerate(segments):
        last = i == len(segments) - 1
        if segment in (".", ".."):
            if segment == ".." and kept:
                kept.pop()
            if last:
                kept.append("")
        else:
            kept.append(segment)
    return "/" + "/".join(kept)


def route(method, path, query, host_header, per=None):
    """(status, body, extra headers) of a well-behaved answer."""
    path = without_dot_segments(path)
    if path == "/":
        return 200, HOME, []
    if path == "/s":
        return 200, search_page(query, host_header, per), []
    m = re.fullmatch(r"/(soft|down|files)/(\d+)\.(html|rar)", path)
    if m and entry(int(m.group(2))):
        e = entry(int(m.group(2)))
        kind = m.group(1)
        if kind == "soft" and m.group(3) == "html":
            return 200, detail_page(e), []
        if kind == "down" and m.group(3) == "html":
            return 200, download_page(e), []
        if kind == "files" and m.group(3) == "rar":
            return 200, package(e), [("Content-Type", "application/octet-stream")]
    if path in PAGES:
        return 200, PAGES[path], []
    if path == "/echo" or path.startswith("/echo/"):
        return 200, b"echo", []
    if path == "/bigheaders":
        return 200, b"big", [("X-Padding", "p" * 2000)]
    if path == "/zero":
        return 200, b"zero-before\x00zero-after", []
    return 404, NOT_FOUND, []


# ---- Server ----------------------------------------------------------------------------

def first_value(query, key):
    values = query.get(key)
    return values[0] if values else None


def to_int(text, default):
    try:
        return int(text)
    except (TypeError, ValueError):
        return default


def parse_query(raw):
    query = {}
    for part in raw.split("&"):
        if not part:
            continue
        key, _, value = part.partition("=")
        query.setdefault(key, []).append(value)
    return query


def reason(status):
    return {200: "OK", 301: "Moved Permanently", 302: "Found", 303: "See Other",
            307: "Temporary Redirect", 308: "Permanent Redirect", 404: "Not Found",
            500: "Internal Server Error"}.get(status, "Status")


class State:
    def __init__(self):
        self.lock = threading.Lock()
        self.requests = []
        self.faults = {}  # path -> query dict of the fault
        self.stopping = threading.Event()

    def record(self, raw):
        with self.lock:
            self.requests.append(raw)
            del self.requests[:-RECORD_LIMIT]

    def find(self, text):
        with self.lock:
            for raw in reversed(self.requests):
                if text in raw:
                    return raw
        return None

    def count(self, text):
        with self.lock:
            return sum(1 for raw in self.requests if text in raw)


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        sock = self.request
        sock.settimeout(30)
        try:
            raw = self.read_request(sock)
        except (OSError, ValueError):
            return
        if raw is None:
            return
        head = raw.split(b"\r\n\r\n", 1)[0].decode("latin-1")
        request_line = head.split("\r\n", 1)[0]
        parts = request_line.split(" ")
        if len(parts) < 2:
            return
        method, target = parts[0], parts[1]
        if target.startswith("http://"):  # through a proxy
            target = "/" + target.split("/", 3)[3] if target.count("/") >= 3 else "/"
        path, _, raw_query = target.partition("?")
        query = parse_query(raw_query)
        host_header = ""
        for line in head.split("\r\n")[1:]:
            name, _, value = line.partition(":")
            if name.strip().lower() == "host":
                host_header = value.strip()
        state = self.server.state
        try:
            if path.startswith("/_standin/"):
                self.control(sock, path, query)
                return
            state.record(raw)
            self.raw_query = raw_query
            mode, fault_query, path = self.fault_of(path, query)
            self.answer(sock, method, path, query, host_header, mode, fault_query)
        except OSError:
            pass

    def read_request(self, sock):
        data = b""
        while b"\r\n\r\n" not in data:
            chunk = sock.recv(65536)
            if not chunk:
                return None
            data += chunk
            if len(data) > HEADER_LIMIT:
                raise ValueError("header too long")
        head, _, rest = data.partition(b"\r\n\r\n")
        length = 0
        for line in head.split(b"\r\n")[1:]:
            name, _, value = line.partition(b":")
            if name.strip().lower() == b"content-length":
                length = min(to_int(value.strip(), 0), BODY_LIMIT)
        while len(rest) < length:
            chunk = sock.recv(65536)
            if not chunk:
                break
            rest += chunk
        return head + b"\r\n\r\n" + rest

    def fault_of(self, path, query):
        m = re.fullmatch(r"/fault/([a-z0-9-]+)((?:,[a-z]+=[^,/]*)*)(/.*)?", path)
        if m:
            fault_query = dict(query)
            for pair in m.group(2).split(",")[1:]:
                name, _, value = pair.partition("=")
                fault_query[name] = [value]
            fault_query["_prefix"] = ["/fault/" + m.group(1) + m.group(2)]
            return m.group(1), fault_query, m.group(3) or "/"
        if "fault" in query:
            return first_value(query, "fault"), query, path
        with self.server.state.lock:
            faults = self.server.state.faults
            configured = faults.get(path) or faults.get("*")
        if configured:
            return first_value(configured, "mode"), configured, path
        return None, query, path

    def control(self, sock, path, query):
        state = self.server.state
        if path == "/_standin/request":
            text = urllib.parse.unquote_to_bytes(first_value(query, "find") or "")
            raw = state.find(text) if text else None
            if raw is None:
                self.send(sock, 404, b"no such request")
            else:
                self.send(sock, 200, raw, [("Content-Type", "application/octet-stream")])
        elif path == "/_standin/count":
            text = urllib.parse.unquote_to_bytes(first_value(query, "find") or "")
            self.send(sock, 200, b"%d" % (state.count(text) if text else 0))
        elif path == "/_standin/fault":
            target = urllib.parse.unquote(first_value(query, "path") or "")
            with state.lock:
                if first_value(query, "mode") in (None, "none"):
                    state.faults.pop(target, None)
                else:
                    state.faults[target] = query
            self.send(sock, 200, b"ok")
        elif path == "/_standin/reset":
            with state.lock:
                state.requests.clear()
                state.faults.clear()
            self.send(sock, 200, b"ok")
        else:
            self.send(sock, 404, b"unknown control request")

    @staticmethod
    def head_bytes(status, length, extra, content_type="text/html; charset=gbk"):
        lines = ["HTTP/1.1 %d %s" % (status, reason(status)), "Content-Type: " + content_type,
                 "Connection: close"]
        if length is not None:
            lines.append("Content-Length: %d" % length)
        for name, value in extra:
            if name == "Content-Type":
                lines[1] = "Content-Type: " + value
            else:
                lines.append("%s: %s" % (name, value))
        return ("\r\n".join(lines) + "\r\n\r\n").encode("latin-1")

    def send(self, sock, status, body, extra=()):
        sock.sendall(self.head_bytes(status, len(body), list(extra)) + body)

    @staticmethod
    def chunk(data):
        return b"%x\r\n" % len(data) + data + b"\r\n"

    def redirect(self, sock, path, fault_query, host_header, loop):
        """A redirect to the next hop (or, for a loop, to this very address)."""
        prefix = first_value(fault_query, "_prefix") or ""
        hops = to_int(first_value(fault_query, "hops"), 1)
        tail = path + ("?" + self.raw_query if self.raw_query else "")
        if loop:
            target = prefix + tail
        elif hops > 1:
            target = re.sub(r"hops=\d+", "hops=%d" % (hops - 1), prefix) + tail
        else:
            target = tail
        form = first_value(fault_query, "form") or "path"
        if form == "absolute":
            location = "http://%s%s" % (host_header, target)
        elif form == "relative":
            # From the folder of this hop's address up to the root, then down again.
            location = "../" * ((prefix + path).count("/") - 1) + target[1:]
        else:
            location = target
        code = to_int(first_value(fault_query, "code"), 302)
        self.send(sock, code, b"<html>moved</html>", [("Location", location)])

    def hold(self, sock, seconds):
        """Keeps the connection open, saying nothing, until the client or the server ends it
        or `seconds` (when not None) have passed."""
        sock.settimeout(0.5)
        until = None if seconds is None else time.monotonic() + seconds
        while not self.server.state.stopping.is_set():
            if until is not None and time.monotonic() >= until:
                return
            try:
                if not sock.recv(65536):
                    return
            except socket.timeout:
                continue

    def answer(self, sock, method, path, query, host_header, mode, fault_query):
        ms = to_int(first_value(fault_query, "ms"), None)
        if mode == "delay":
            time.sleep((ms if ms is not None else 500) / 1000.0)
            mode = None
        if mode == "silent":
            self.hold(sock, None if ms is None else ms / 1000.0)
            return
        if mode == "reset":
            sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, b"\x01\x00\x00\x00\x00\x00\x00\x00")
            sock.close()
            return
        if mode == "404":
            self.send(sock, 404, NOT_FOUND)
            return
        if mode in ("redirect", "redirect-loop"):
            self.redirect(sock, path, fault_query, host_header, mode == "redirect-loop")
            return
        if mode == "zero":
            self.send(sock, 200, b"zero-before\x00zero-after")
            return
        if mode in ("huge", "endless", "chunked-huge", "chunked-endless"):
            total = to_int(first_value(fault_query, "bytes"), 3 << 30) if mode.endswith("huge") else None
            rate = to_int(first_value(fault_query, "rate"), 8 << 20)
            self.stream(sock, total, rate, mode.startswith("chunked"))
            return
        per = to_int(first_value(fault_query, "per"), 2000) if mode == "many" else None
        status, body, extra = route(method, path, query, host_header, per)
        if mode == "status":
            status = to_int(first_value(fault_query, "code"), 500)
        if mode == "unsized":
            sock.sendall(self.head_bytes(status, None, extra) + body)
            return
        if mode == "chunked":
            piece = max(to_int(first_value(fault_query, "bytes"), 1000), 1)
            head = self.head_bytes(status, None, extra + [("Transfer-Encoding", "chunked")])
            chunks = b"".join(self.chunk(body[i:i + piece]) for i in range(0, len(body), piece))
            sock.sendall(head + chunks + b"0\r\n\r\n")
            return
        if mode == "drop":
            sock.sendall(self.head_bytes(status, len(body), extra) + body[:len(body) // 2])
            sock.shutdown(socket.SHUT_RDWR)
            return
        if mode in ("trickle", "trickle-head"):
            interval = (ms if ms is not None else 500) / 1000.0
            head = self.head_bytes(status, len(body), extra)
            if mode == "trickle":
                sock.sendall(head)
                slow = body
            else:
                slow = head + body
            piece = max(to_int(first_value(fault_query, "bytes"), 1), 1)
            for i in range(0, len(slow), piece):
                if self.server.state.stopping.wait(interval):
                    return
                sock.sendall(slow[i:i + piece])
            return
        self.send(sock, status, body, extra)

    def stream(self, sock, total, rate, chunked):
        """`total` bytes (None: without end) at `rate`: declared, or in chunks without a
        length."""
        extra = [("Content-Type", "application/octet-stream")]
        if chunked:
            extra.append(("Transfer-Encoding", "chunked"))
        sock.sendall(self.head_bytes(200, None if chunked else total, extra))
        block = bytes(range(1, 256)) * 64  # no zero byte, so a page reader keeps reading
        sent, started = 0, time.monotonic()
        while not self.server.state.stopping.is_set():
            if total is not None and sent >= total:
                if chunked:
                    sock.sendall(b"0\r\n\r\n")
                return
            ahead = sent / float(rate) - (time.monotonic() - started)
            if ahead > 0:
                time.sleep(min(ahead, 0.05))
                continue
            piece = block if total is None else block[:total - sent]
            sock.sendall(self.chunk(piece) if chunked else piece)
            sent += len(piece)


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True
    request_queue_size = 64

    def __init__(self, port):
        super().__init__((HOST, port), Handler)
        self.state = State()


# ---- Command line ----------------------------------------------------------------------

def write_whole(path, text):
    temporary = path + ".tmp%d" % os.getpid()
    with open(temporary, "w") as f:
        f.write(text)
    os.replace(temporary, path)


def serve(args):
    server = Server(args.port)
    port = server.server_address[1]

    def stop(*_):
        server.state.stopping.set()
        threading.Thread(target=server.shutdown, daemon=True).start()

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    if args.lifetime:
        timer = threading.Timer(args.lifetime, stop)
        timer.daemon = True
        timer.start()
    if args.port_file:
        write_whole(args.port_file, "%d\n" % port)
    print("standin: listening on %s:%d" % (HOST, port), flush=True)
    server.serve_forever(poll_interval=0.2)
    server.server_close()


def start(args):
    for path in (args.port_file, args.pid_file):
        if os.path.exists(path):
            os.remove(path)
    command = [sys.executable, os.path.abspath(__file__), "serve", "--port", str(args.port),
               "--port-file", args.port_file]
    if args.lifetime:
        command += ["--lifetime", str(args.lifetime)]
    # Detached from the caller's output: a test runner waits for every holder of its pipes.
    process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, start_new_session=True)
    deadline = time.monotonic() + 15
    while time.monotonic() < deadline:
        if os.path.exists(args.port_file):
            write_whole(args.pid_file, "%d\n" % process.pid)
            with open(args.port_file) as f:
                print("standin: started on %s:%s (pid %d)" % (HOST, f.read().strip(), process.pid))
            return 0
        if process.poll() is not None:
            break
        time.sleep(0.05)
    process.kill()
    print("standin: the server did not start", file=sys.stderr)
    return 1


def stop(args):
    try:
        with open(args.pid_file) as f:
            pid = int(f.read().strip())
    except (OSError, ValueError):
        print("standin: no server recorded in %s" % args.pid_file)
        return 0
    try:
        os.kill(pid, signal.SIGTERM)
        for _ in range(100):
            time.sleep(0.05)
            os.kill(pid, 0)
        os.kill(pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    for path in (args.pid_file, args.port_file):
        if path and os.path.exists(path):
            os.remove(path)
    print("standin: stopped (pid %d)" % pid)
    return 0


def config(args):
    base = "http://%s:%d/" % (HOST, args.port)
    print("-DMOYAN_SEARCH_ENGINE_BASE_URL=%s" % base)
    print("-DMOYAN_SOURCE_SITE_HOST=%s:%d" % (HOST, args.port))
    print("-DMOYAN_SOURCE_SITE_BASE_URL=%s" % base)
    print("-DMOYAN_ANNOUNCEMENT_PAGE_URL=%snotice.html" % base)
    return 0


def main(argv):
    parser = argparse.ArgumentParser(description="A stand-in web for tests and offline trials.")
    parser.add_argument("action", nargs="?", default="serve", choices=["serve", "start", "stop", "config"])
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--port-file")
    parser.add_argument("--pid-file")
    parser.add_argument("--lifetime", type=float, default=0, help="seconds until the server ends itself")
    args = parser.parse_args(argv)
    if args.action == "serve":
        serve(args)
        return 0
    if args.action == "start":
        if not args.port_file or not args.pid_file:
            parser.error("start needs --port-file and --pid-file")
        return start(args)
    if args.action == "stop":
        if not args.pid_file:
            parser.error("stop needs --pid-file")
        return stop(args)
    return config(args)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
