#!/usr/bin/env python3
"""The stand-in web: its pages carry the markers the program cuts values out of, its faults
misbehave as named, it records raw requests, and it starts and stops as a background process.

Usage: standin_web_test.py PATH/TO/standin_web.py
"""

import importlib.util
import os
import socket
import subprocess
import sys
import tempfile
import threading
import time
import unittest
import urllib.parse

STANDIN = sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(
    os.path.dirname(__file__), "..", "..", "tools", "standin", "standin_web.py")
spec = importlib.util.spec_from_file_location("standin_web", STANDIN)
standin = importlib.util.module_from_spec(spec)
spec.loader.exec_module(standin)


def gbk(text):
    return text.encode("gbk")


def between(page, start, end):
    """The program's text_between: the bytes after the first start marker up to the first
    end marker after it; None when either is missing (ASCII case is not folded here: the
    stand-in writes the markers exactly)."""
    p = page.find(start)
    if p < 0:
        return None
    q = page.find(end, p + len(start))
    return None if q < 0 else page[p + len(start):q]


# The markers, byte for byte.
COUNT = (b'">' + gbk("找到相关结果约"), gbk("个</span></p>"))
SEPARATOR = b'"target="_blank">'
ROW_END = b"</td>\r\n" + b" " * 8 + b"</tr>"
RATING = (b" " * 10 + gbk("<th>评论等级：</th>") + b"\r\n" + b" " * 10 + b'<td class="c_orange"> ', ROW_END)
SIZE = (b" " * 9 + gbk("<th>文件大小：</th>") + b"\r\n" + b" " * 10 + b"<td> ", ROW_END)
UPDATED = (gbk("<th>更新时间：</th>") + b"\r\n" + b" " * 10 + b"<td> ", ROW_END)
DOWN_PAGE = (b'<div id="down_address">\r\n    <a href=\'', gbk("' target='_blank'>本地下载</a>"))
PACKAGE = (gbk("<!--判断是否已经扣点-->") + b'\r\n<a href="', b'"><img src="')
NOTICE = (gbk("公告首｛"), gbk("｝公告尾"))


def query_for(host, keyword, pn, rn=100):
    # As the program builds it: every byte of ": (keyword)" percent-encoded.
    term = "".join("%%%02X" % b for b in b": (" + gbk(keyword) + b")")
    return "/s?wd=site%%3A%%28%s%%29%%20title%s&pn=%d&pn=100&tn=baiduadv&rn=%d" % (host, term, pn, rn)


class Client:
    def __init__(self, port):
        self.port = port

    def raw(self, request, timeout=10):
        with socket.create_connection(("127.0.0.1", self.port), timeout=timeout) as s:
            s.sendall(request)
            data = b""
            while True:
                chunk = s.recv(65536)
                if not chunk:
                    return data
                data += chunk

    def get(self, target, extra=b""):
        answer = self.raw(b"GET " + target.encode("latin-1") + b" HTTP/1.1\r\nHost: t\r\n" + extra + b"\r\n")
        head, _, body = answer.partition(b"\r\n\r\n")
        return head, body


class StandinTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = standin.Server(0)
        cls.port = cls.server.server_address[1]
        cls.thread = threading.Thread(target=cls.server.serve_forever, kwargs={"poll_interval": 0.05})
        cls.thread.start()
        cls.client = Client(cls.port)
        cls.host = "127.0.0.1:%d" % cls.port

    @classmethod
    def tearDownClass(cls):
        cls.server.state.stopping.set()
        cls.server.shutdown()
        cls.server.server_close()
        cls.thread.join()

    def search(self, keyword, pn, rn=100):
        head, body = self.client.get(query_for(self.host, keyword, pn, rn))
        self.assertTrue(head.startswith(b"HTTP/1.1 200"))
        return body

    def hits(self, page):
        base = b'href="http://' + self.host.encode() + b"/"
        return [part.split(b"</a>")[0] for part in page.split(base)[1:]]

    def test_result_pages_count_and_link_hits(self):
        page = self.search("模块", 100)
        self.assertEqual(between(page, *COUNT), b"5")
        hits = self.hits(page)
        separated = [h.split(SEPARATOR) for h in hits if SEPARATOR in h]
        self.assertEqual([p for p, _ in separated],
                         [b"soft/101.html", b"soft/102.html", b"soft/104.html", b"soft/108.html", b"soft/109.html"])
        self.assertIn(gbk("超级列表框增强<em>模块</em>"), separated[0][1])
        self.assertEqual(len(hits) - len(separated), 5, "each hit has a snapshot link without separator")
        self.assertIn(b'href="http://www.other-site.invalid/', page, "a link to another site")

    def test_keyword_case_and_no_match(self):
        page = self.search("excel", 100)
        self.assertEqual(between(page, *COUNT), b"1")
        self.assertIn(b"<em>Excel</em>", page)
        page = self.search("没有这个", 100)
        self.assertEqual(between(page, *COUNT), b"0")
        self.assertEqual(self.hits(page), [])

    def test_many_results_span_pages_from_pn_rn(self):
        self.assertEqual(between(self.search("批量", 100), *COUNT), b"250")
        for pn, first, count in [(0, 1, 100), (100, 1, 100), (200, 101, 100), (300, 201, 50), (400, None, 0)]:
            hits = [h for h in self.hits(self.search("批量", pn)) if SEPARATOR in h]
            self.assertEqual(len(hits), count, "pn=%d" % pn)
            if first:
                self.assertIn(gbk("<em>批量</em>源码第%d号" % first), hits[0], "pn=%d" % pn)

    def test_bulk_keyword_with_a_count(self):
        self.assertEqual(between(self.search("批量299", 100), *COUNT), b"299")
        for pn, count in [(100, 100), (200, 100), (300, 99), (400, 0)]:
            hits = [h for h in self.hits(self.search("批量299", pn)) if SEPARATOR in h]
            self.assertEqual(len(hits), count, "pn=%d" % pn)
        _, detail = self.client.get("/soft/1298.html")
        self.assertEqual(between(detail, *SIZE), b"309 KB")

    def test_detail_download_and_package_pages(self):
        _, detail = self.client.get("/soft/103.html")
        for start, _ in (RATING, SIZE):
            self.assertIn(b"\n" + start, detail, "exactly the marker's spaces begin the line")
        self.assertEqual(between(detail, *RATING), gbk("★★★★★"))
        self.assertEqual(between(detail, *SIZE), b"340 KB")
        self.assertEqual(between(detail, *UPDATED), b"2010-07-21")
        link = between(detail, *DOWN_PAGE)
        self.assertEqual(link, b"down/103.html")
        _, download = self.client.get("/" + link.decode())
        package_link = between(download, *PACKAGE)
        self.assertEqual(package_link, b"files/103.rar")
        head, package = self.client.get("/" + package_link.decode())
        self.assertIn(b"application/octet-stream", head)
        self.assertTrue(package.startswith(b"Rar!"))
        self.assertNotIn(b"\x00", package)
        self.assertIn(b"\x00", self.client.get("/files/105.rar")[1], "one package holds zero bytes")

    def test_detail_pages_without_a_rating(self):
        self.assertIsNone(between(self.client.get("/soft/108.html")[1], *RATING))
        self.assertEqual(between(self.client.get("/soft/109.html")[1], *RATING), b"")
        self.assertEqual(between(self.client.get("/soft/1001.html")[1], *SIZE), b"12 KB")

    def test_announcement_pages(self):
        self.assertEqual(between(self.client.get("/notice.html")[1], *NOTICE), b"10001")
        self.assertEqual(between(self.client.get("/notice-twice.html")[1], *NOTICE), b"10001")
        self.assertIsNone(between(self.client.get("/notice-open.html")[1], *NOTICE))

    def test_records_raw_requests(self):
        request = (b"POST /echo?tag=rec1 HTTP/1.1\r\nHost: x\r\nX-Odd:  spaced \r\n"
                   b"Content-Length: 5\r\n\r\nab\x00cd")
        self.assertTrue(self.client.raw(request).endswith(b"echo"))
        head, recorded = self.client.get("/_standin/request?find=" + urllib.parse.quote("tag=rec1"))
        self.assertTrue(head.startswith(b"HTTP/1.1 200"))
        self.assertEqual(recorded, request)
        head, _ = self.client.get("/_standin/request?find=_standin")
        self.assertTrue(head.startswith(b"HTTP/1.1 404"), "control requests are not recorded")

    def test_home_page_and_dot_segments(self):
        home = self.client.get("/")
        self.assertTrue(home[0].startswith(b"HTTP/1.1 200"))
        for target in ("/?", "/./", "/x/..", "/x/../?a=1"):
            self.assertEqual(self.client.get(target)[1], home[1], target)
        self.assertEqual(self.client.get("/x/../soft/101.html")[1], self.client.get("/soft/101.html")[1])
        for entry_id, link in [(110, b"?"), (112, b"./"), (116, b"fault/redirect,hops=2/files/101.rar")]:
            _, download = self.client.get("/down/%d.html" % entry_id)
            self.assertEqual(between(download, *PACKAGE), link)

    def test_error_zero_and_drop(self):
        head, body = self.client.get("/nothing/here")
        self.assertTrue(head.startswith(b"HTTP/1.1 404"))
        self.assertIn(b"</html>", body)
        self.assertEqual(self.client.get("/x?fault=404")[0][:12], b"HTTP/1.1 404")
        self.assertEqual(self.client.get("/fault/zero/x")[1], b"zero-before\x00zero-after")
        head, body = self.client.get("/fault/drop/soft/101.html")
        full = self.client.get("/soft/101.html")[1]
        self.assertIn(b"Content-Length: %d" % len(full), head)
        self.assertEqual(body, full[:len(full) // 2])

    def test_delay_and_trickle_take_their_time(self):
        started = time.monotonic()
        self.assertEqual(self.client.get("/fault/delay/echo?ms=300")[1], b"echo")
        self.assertGreaterEqual(time.monotonic() - started, 0.3)
        started = time.monotonic()
        self.assertEqual(self.client.get("/echo?fault=trickle&ms=50")[1], b"echo")
        self.assertGreaterEqual(time.monotonic() - started, 0.2, "four body bytes, 50 ms apart")

    def test_silent_reset_and_streams(self):
        with socket.create_connection(("127.0.0.1", self.port), timeout=0.5) as s:
            s.sendall(b"GET /fault/silent/echo HTTP/1.1\r\n\r\n")
            with self.assertRaises(socket.timeout):
                s.recv(10)
        with self.assertRaises(OSError):
            data = self.client.raw(b"GET /fault/reset/echo HTTP/1.1\r\n\r\n")
            if not data:
                raise ConnectionResetError("closed without an answer")
        for target, declared in [("/fault/huge/x?bytes=100000", b"Content-Length: 100000"),
                                 ("/fault/endless/x", None)]:
            with socket.create_connection(("127.0.0.1", self.port), timeout=5) as s:
                s.sendall(b"GET " + target.encode() + b" HTTP/1.1\r\n\r\n")
                data = b""
                while len(data) < 300000:
                    chunk = s.recv(65536)
                    if not chunk:
                        break
                    data += chunk
            head, _, body = data.partition(b"\r\n\r\n")
            if declared:
                self.assertIn(declared, head)
                self.assertEqual(len(body), 100000)
            else:
                self.assertNotIn(b"Content-Length", head)
                self.assertGreaterEqual(len(body), 300000 - len(head) - 4, "still sending")
            self.assertNotIn(b"\x00", body)

    def test_redirects_unsized_chunked_status_and_many(self):
        def unchunked(body):
            out = b""
            while True:
                size, _, body = body.partition(b"\r\n")
                if int(size, 16) == 0:
                    return out
                out, body = out + body[:int(size, 16)], body[int(size, 16) + 2:]

        for form, location in [("path", b"/fault/redirect,hops=1,form=path/echo?a=1"),
                               ("absolute", b"http://t/fault/redirect,hops=1,form=absolute/echo?a=1"),
                               ("relative", b"../../fault/redirect,hops=1,form=relative/echo?a=1")]:
            head, _ = self.client.get("/fault/redirect,hops=2,form=%s/echo?a=1" % form)
            self.assertTrue(head.startswith(b"HTTP/1.1 302"), form)
            self.assertIn(b"\r\nLocation: " + location + b"\r\n", head + b"\r\n", form)
        head, _ = self.client.get("/fault/redirect,code=307/echo")
        self.assertTrue(head.startswith(b"HTTP/1.1 307"))
        self.assertIn(b"\r\nLocation: /echo\r\n", head + b"\r\n", "the last hop leads to the page")
        head, _ = self.client.get("/fault/redirect-loop/x?b=2")
        self.assertIn(b"\r\nLocation: /fault/redirect-loop/x?b=2\r\n", head + b"\r\n")

        full = self.client.get("/soft/101.html")[1]
        head, body = self.client.get("/fault/unsized/soft/101.html")
        self.assertNotIn(b"Content-Length", head)
        self.assertEqual(body, full)
        head, body = self.client.get("/fault/chunked,bytes=100/soft/101.html")
        self.assertIn(b"Transfer-Encoding: chunked", head)
        self.assertNotIn(b"Content-Length", head)
        self.assertEqual(unchunked(body), full)
        head, body = self.client.get("/fault/chunked-huge,bytes=50000/x")
        self.assertEqual(len(unchunked(body)), 50000)
        head, body = self.client.get("/fault/status,code=500/soft/101.html")
        self.assertTrue(head.startswith(b"HTTP/1.1 500"))
        self.assertEqual(body, full, "an error status with a whole page as its body")

        hits = self.hits(self.client.get("/fault/many,per=150" + query_for(self.host, "批量", 200))[1])
        separated = [h for h in hits if SEPARATOR in h]
        self.assertEqual(len(separated), 100, "per=150 from 150 on: the last 100 of 250")
        self.assertIn(gbk("源码第151号"), separated[0])

        tag = "count%d" % time.monotonic_ns()
        for _ in range(3):
            self.client.get("/echo?" + tag)
        self.assertEqual(self.client.get("/_standin/count?find=" + tag)[1], b"3")

    def test_faults_set_per_path(self):
        self.client.get("/_standin/fault?path=%2Fnotice.html&mode=404")
        self.assertTrue(self.client.get("/notice.html")[0].startswith(b"HTTP/1.1 404"))
        self.client.get("/_standin/fault?path=%2Fnotice.html&mode=none")
        self.assertTrue(self.client.get("/notice.html")[0].startswith(b"HTTP/1.1 200"))

    def test_a_fault_for_every_path(self):
        self.client.get("/_standin/fault?path=%2A&mode=404")
        self.client.get("/_standin/fault?path=%2Fecho&mode=zero")
        try:
            self.assertTrue(self.client.get("/soft/101.html")[0].startswith(b"HTTP/1.1 404"))
            self.assertEqual(self.client.get("/echo")[1], b"zero-before\x00zero-after",
                             "a path's own fault comes first")
        finally:
            self.client.get("/_standin/fault?path=%2A&mode=none")
            self.client.get("/_standin/fault?path=%2Fecho&mode=none")
        self.assertTrue(self.client.get("/soft/101.html")[0].startswith(b"HTTP/1.1 200"))


class StartStopTest(unittest.TestCase):
    def test_start_reports_the_port_and_stop_ends_it(self):
        with tempfile.TemporaryDirectory() as folder:
            port_file, pid_file = os.path.join(folder, "port"), os.path.join(folder, "pid")
            subprocess.run([sys.executable, STANDIN, "start", "--port-file", port_file, "--pid-file", pid_file,
                            "--lifetime", "60"], check=True, stdout=subprocess.DEVNULL, timeout=30)
            with open(port_file) as f:
                port = int(f.read())
            with open(pid_file) as f:
                pid = int(f.read())
            self.assertEqual(Client(port).get("/echo")[1], b"echo")
            subprocess.run([sys.executable, STANDIN, "stop", "--pid-file", pid_file, "--port-file", port_file],
                           check=True, stdout=subprocess.DEVNULL, timeout=30)
            with self.assertRaises(ProcessLookupError):
                for _ in range(100):
                    os.kill(pid, 0)
                    time.sleep(0.05)
            self.assertFalse(os.path.exists(port_file))

    def test_config_names_the_build_values(self):
        out = subprocess.run([sys.executable, STANDIN, "config", "--port", "8931"], check=True,
                             capture_output=True, text=True).stdout.split()
        self.assertEqual(out, ["-DMOYAN_SEARCH_ENGINE_BASE_URL=http://127.0.0.1:8931/",
                               "-DMOYAN_SOURCE_SITE_HOST=127.0.0.1:8931",
                               "-DMOYAN_SOURCE_SITE_BASE_URL=http://127.0.0.1:8931/",
                               "-DMOYAN_ANNOUNCEMENT_PAGE_URL=http://127.0.0.1:8931/notice.html"])


if __name__ == "__main__":
    unittest.main()
