"""Smoke test of tools/zorvo_double.py: resolves every share of the double the
way the resolver does (same markers, patterns and joints, over plain HTTPS
without certificate checks) and compares with the double's own catalogue."""

import json
import os
import re
import socket
import ssl
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.error
import urllib.parse
import urllib.request

TOOLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools")
sys.path.insert(0, TOOLS)
import zorvo_double  # noqa: E402  (for its literals and its documented table)

PLACEHOLDER = re.compile(re.escape('src="/fn?v2"'), re.IGNORECASE)
NAME_AND_SIZE = re.compile(r'div class=".*?" id=".*?">(.*?)</div>[\s\S]+filesize">.+：(.*?)</div><',
                           re.IGNORECASE | re.MULTILINE)
SIGN = re.compile(r"[0-9a-zA-Z\_]{70,}_c_c")
ACTION = re.compile(r"action':'(.*?)'")

UNVERIFIED = ssl._create_unverified_context()


class NoRedirect(urllib.request.HTTPRedirectHandler):
    def redirect_request(self, *args):
        return None


OPENER = urllib.request.build_opener(urllib.request.HTTPSHandler(context=UNVERIFIED), NoRedirect)


def exchange(url, body=None):
    """(status, headers, body) of one request; redirects are not followed."""
    try:
        with OPENER.open(urllib.request.Request(url, data=body), timeout=30) as response:
            return response.status, response.headers, response.read()
    except urllib.error.HTTPError as error:
        return error.code, error.headers, error.read()


def fetch(url, body=None, limit=None):
    """The body, or nothing when the request fails or the body is longer than
    the limit, as the request engines give it."""
    try:
        received = exchange(url, body)[2]
    except (OSError, urllib.error.URLError):
        return b""
    return b"" if limit is not None and len(received) > limit else received


def raw_location(url):
    """The Location header's value exactly as sent, up to its CR LF: a bare
    CR inside it stays (the usual parsers would take it as a line end)."""
    parts = urllib.parse.urlsplit(url)
    connection = socket.create_connection((parts.hostname, parts.port), timeout=30)
    if parts.scheme == "https":
        connection = UNVERIFIED.wrap_socket(connection, server_hostname=parts.hostname)
    with connection:
        target = parts.path + ("?" + parts.query if parts.query else "")
        connection.sendall(("GET %s HTTP/1.1\r\nHost: %s\r\nConnection: close\r\n\r\n"
                            % (target, parts.netloc)).encode("latin-1"))
        head = b""
        while b"\r\n\r\n" not in head:
            piece = connection.recv(4096)
            if not piece:
                break
            head += piece
    for line in head.split(b"\r\n\r\n")[0].split(b"\r\n")[1:]:
        name, _, value = line.partition(b":")
        if name.lower() == b"location":
            return value.strip(b" ").decode("latin-1")
    return ""


def between(text, left, right):
    start = text.find(left)
    if start < 0:
        return ""
    start += len(left)
    end = text.find(right, start)
    return text[start:end] if end >= 0 else ""


def resolve(base, share_url, password, answers=None):
    """The resolver's steps; `answers` collects the endpoint's raw answer."""
    out = {"link": "", "fileName": None, "fileSize": None, "errorText": None}
    page = PLACEHOLDER.sub("", fetch(share_url, limit=zorvo_double.PAGE_LIMIT).decode("utf-8", "replace"))
    frame_path = between(page, 'src="/fn', '"')
    if frame_path:
        match = NAME_AND_SIZE.search(page)
        out["fileName"], out["fileSize"] = match.groups() if match else ("", "")
        page = fetch(base + "/fn" + frame_path, limit=zorvo_double.PAGE_LIMIT).decode("utf-8", "replace")
        path = between(page, "url : '", "'")
        if not path:
            return dict(out, errorText=zorvo_double.E1)
        commented = between(page, "//data : { ", "}")
        if commented:
            page = page.replace(commented, "")
        sign = SIGN.search(page)
        if not sign:
            return dict(out, errorText=zorvo_double.E2)
        action = ACTION.search(page)
        if not action:
            out["errorText"] = zorvo_double.W1
        body = "action=%s&sign=%s&p=%s" % (action.group(1) if action else "downprocess", sign.group(0), password)
    else:
        out["fileSize"] = between(page, "大小：", "<")
        body = between(page, "data : '", "'") + password
        path = between(page, "url : '", "'")
        if not path:
            return dict(out, errorText=zorvo_double.E1)
    raw = fetch(base + path, body.encode("utf-8"), limit=zorvo_double.ANSWER_LIMIT)
    if answers is not None:
        answers.append(raw)
    try:
        answer = json.loads(raw)
    except ValueError:  # not JSON: every member reads empty
        answer = {}
    inf = str(answer.get("inf", ""))
    if not out["fileName"]:
        out["fileName"] = inf
    if str(answer.get("zt", "")) != "1":
        return dict(out, errorText=zorvo_double.E3 + "\r\n" + inf)
    location = raw_location(answer["dom"] + "/file/" + answer["url"])
    if any(ord(c) < 0x20 or ord(c) == 0x7F for c in location):
        return dict(out, errorText=zorvo_double.E4)
    out["link"] = location
    return out


class Double:
    def __init__(self):
        self.folder = tempfile.TemporaryDirectory(prefix="zorvo-double-test-")
        port_file = os.path.join(self.folder.name, "ports")
        self.process = subprocess.Popen(
            [sys.executable, os.path.join(TOOLS, "zorvo_double.py"), "--port-file", port_file,
             "--tls-dir", os.path.join(self.folder.name, "tls"), "--idle", "120"],
            stdout=subprocess.PIPE, text=True)
        self.printed = self.process.stdout.readline().split()
        with open(port_file) as ports:
            self.http_port, self.https_port = (int(port) for port in ports.read().split())
        self.base = "https://localhost:%d" % self.https_port

    def control(self, command):
        return fetch("%s/_control/%s" % (self.base, command))

    def stop(self):
        self.control("shutdown")
        self.process.wait(30)
        self.process.stdout.close()
        self.folder.cleanup()


def setUpModule():
    global double, catalogue
    double = Double()
    catalogue = {entry["id"]: entry for entry in json.loads(double.control("shares"))}


def tearDownModule():
    double.stop()


def outcome(entry):
    return {key: entry[key] for key in ("link", "fileName", "fileSize", "errorText")}


class ZorvoDoubleTest(unittest.TestCase):
    def test_every_share_resolves_as_catalogued(self):
        for share_id, entry in catalogue.items():
            with self.subTest(share=share_id):
                self.assertEqual(resolve(double.base, entry["url"], entry["password"]), outcome(entry))

    def test_other_base_site_gives_links_on_it(self):
        base = "http://127.0.0.1:%d" % double.http_port
        entry = json.loads(double.control("shares?base=" + urllib.request.quote(base, safe="")))[0]
        self.assertEqual(entry["link"], base + "/files/" + entry["id"])
        self.assertEqual(resolve(base, entry["url"], entry["password"]), outcome(entry))

    def test_listings_agree(self):
        self.assertEqual(double.printed, [str(double.http_port), str(double.https_port)])
        self.assertEqual(double.control("ids").decode().split(), list(catalogue))
        record = urllib.parse.parse_qs(double.control("share/chinese-inline").decode(), keep_blank_values=True)
        entry = catalogue["chinese-inline"]
        self.assertEqual({key: values[0] for key, values in record.items()},
                         {key: value for key, value in entry.items() if value is not None})
        self.assertIn(b"BEGIN CERTIFICATE", double.control("certificate"))

    def test_expected_texts_are_gbk(self):
        for entry in catalogue.values():
            for value in outcome(entry).values():
                (value or "").encode("gbk")

    def test_documented_table_matches_catalogue(self):
        rows = re.findall(r"^\| ([a-z0-9-]+) +\| (\w+) +\| (\S+) +\|.*\| (.+?) +\|$", zorvo_double.__doc__, re.MULTILINE)
        documented = {row[0]: row[1:] for row in rows if row[0] != "id"}
        outcomes = {zorvo_double.E1: "E1", zorvo_double.E2: "E2", zorvo_double.W1: "W1 + link", zorvo_double.E4: "E4"}
        for share_id, entry in catalogue.items():
            error = entry["errorText"] or ""
            expected = outcomes.get(error, "E3" if error.startswith(zorvo_double.E3) else "link" if entry["link"] else "none")
            self.assertEqual(documented.get(share_id), (entry["layout"], entry["password"] or "-", expected))
        self.assertEqual(len(documented), len(catalogue))

    def test_frame_page_mistakes_are_caught(self):
        self.assertEqual(exchange(double.base + "/fn?v2")[0], 404)
        self.assertEqual(exchange(double.base + "/fn?V2")[0], 404)
        share_page = PLACEHOLDER.sub("", fetch(catalogue["framed"]["url"]).decode())
        frame = fetch(double.base + "/fn" + between(share_page, 'src="/fn', '"')).decode()
        path = between(frame, "url : '", "'")
        decoy = SIGN.search(frame).group(0)  # the commented-out block comes first
        sign = SIGN.findall(frame)[1]
        for body in ("action=olddown&sign=%s&p=" % sign, "action=downprocess&sign=%s&p=" % decoy):
            self.assertEqual(json.loads(fetch(double.base + path, body.encode())),
                             {"zt": 0, "inf": zorvo_double.REJECTED})
        answer = json.loads(fetch(double.base + path, ("action=downprocess&sign=%s&p=x" % sign).encode()))
        self.assertEqual(answer, {"zt": 0, "inf": zorvo_double.WRONG_PASSWORD})

    def test_answers_in_the_service_style(self):
        def raw_answer(share_id):
            answers = []
            entry = catalogue[share_id]
            resolve(double.base, entry["url"], entry["password"], answers)
            return answers[0]

        answer = raw_answer("chinese-inline")
        self.assertRegex(answer, rb'^\{"zt":1,"dom":"https:\\/\\/localhost:\d+\\/dl","url":"\?\w+\\/\w+",')
        self.assertIn(b'"inf":"\\u65c5\\u884c', answer)
        self.assertRegex(raw_answer("zt-text"), rb'^\{"zt":"1","dom":"https://localhost:\d+/dl","url":"\?\w+/\w+",')
        self.assertEqual(json.loads(raw_answer("wrong-password")), {"zt": 0, "inf": zorvo_double.WRONG_PASSWORD})
        self.assertRegex(raw_answer("script-answer"), rb'^0\), da = \{"zt":1,.*"inf":"injected"\}, z = \(0$')
        self.assertIn(b"502 Bad Gateway", raw_answer("bad-answer"))

    def test_share_page_faults(self):
        with self.assertRaises((ConnectionError, urllib.error.URLError)):
            exchange(catalogue["reset"]["url"])
        self.assertEqual(exchange(catalogue["not-found"]["url"])[0], 404)
        self.assertGreaterEqual(len(fetch(catalogue["huge-page"]["url"])), 20 << 20)
        with self.assertRaises(UnicodeDecodeError):
            fetch(catalogue["bad-utf8"]["url"]).decode("utf-8")
        started = time.monotonic()
        fetch(catalogue["slow"]["url"])
        self.assertGreaterEqual(time.monotonic() - started, zorvo_double.SLOW_SECONDS - 0.5)

    def test_latency_delays_every_answer_until_reset(self):
        self.assertEqual(double.control("latency/400"), b"ok")
        try:
            started = time.monotonic()
            self.assertEqual(exchange(catalogue["framed"]["url"])[0], 200)
            self.assertGreaterEqual(time.monotonic() - started, 0.4)
        finally:
            self.assertEqual(double.control("latency/0"), b"ok")
        self.assertEqual(double.control("latency/x"), b"unknown control request")


if __name__ == "__main__":
    unittest.main()
