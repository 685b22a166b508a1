#!/usr/bin/env python3
"""Recording HTTP/HTTPS test server and loopback-only proxy.

Every request that reaches it is recorded exactly as received (request line,
header lines in order, body bytes) and answered with the response a test
scripted for its path. It also works as a proxy: absolute-form requests are
forwarded and CONNECT requests tunnelled, both to loopback addresses only.

Start: record_server.py --port-file FILE [--tls-dir DIR] [--idle SECONDS]
  Writes "<http port> <https port>" (https port 0 without --tls-dir) to FILE
  once both listeners accept connections. With --tls-dir a self-signed
  certificate (CA:TRUE, subjectAltName DNS:localhost, IP:127.0.0.1) is made
  there with openssl. The server ends after SECONDS without any request.

Control requests (any method, on either port):
  POST /_control/script     JSON response script, see Script below
  POST /_control/reset      forget scripts and recorded requests and close every
                            other open connection, so that no client reuses a
                            kept-alive connection from an earlier test
  GET  /_control/requests   recorded requests as JSON
  GET  /_control/count      number of recorded requests, as decimal text
  GET  /_control/request/N  raw bytes of recorded request N (negative: from the end)
  GET  /_control/shutdown   ends the server
Control requests themselves are not recorded.
"""

import argparse
import base64
import json
import os
import select
import socket
import socketserver
import ssl
import subprocess
import sys
import threading
import time
import urllib.parse

PATTERN_PERIOD = 251  # generated bodies: byte i is i % 251
SEND_BLOCK = 1 << 20


class Script:
    """One scripted answer. JSON fields, all optional:
    path        request path (without query) it answers; required
    status      status code (200); reason: reason phrase ("OK")
    headers     list of raw header lines, sent in order and as written
    body        body text; each character U+0000..U+00FF is one byte
    body_size   generated body of this many bytes (byte i is i % 251)
    chunked     send the body with chunked transfer coding
    delay       seconds to wait before answering
    close_after close the connection after this many body bytes
    """

    def __init__(self, fields):
        self.path = fields["path"]
        self.status = int(fields.get("status", 200))
        self.reason = fields.get("reason", "OK")
        self.headers = list(fields.get("headers", []))
        self.body = fields.get("body", "").encode("latin-1")
        self.body_size = fields.get("body_size")
        self.chunked = bool(fields.get("chunked", False))
        self.delay = float(fields.get("delay", 0))
        self.close_after = fields.get("close_after")

    def length(self):
        return self.body_size if self.body_size is not None else len(self.body)

    def body_pieces(self):
        if self.body_size is None:
            if self.body:
                yield self.body
            return
        block = bytes(i % PATTERN_PERIOD for i in range(SEND_BLOCK + PATTERN_PERIOD))
        offset = 0
        while offset < self.body_size:
            size = min(SEND_BLOCK, self.body_size - offset)
            start = offset % PATTERN_PERIOD
            yield block[start:start + size]
            offset += size


NOT_SCRIPTED = Script({"path": "", "status": 404, "reason": "Not Found", "body": "not scripted"})


class State:
    def __init__(self, idle):
        self.lock = threading.Lock()
        self.scripts = {}
        self.requests = []
        self.connections = set()
        self.idle = idle
        self.last_activity = time.monotonic()
        self.stop = threading.Event()

    def touch(self):
        self.last_activity = time.monotonic()


class Request:
    def __init__(self, raw_head, request_line, header_lines, body, secure):
        self.raw = raw_head + body
        self.request_line = request_line
        self.header_lines = header_lines
        self.body = body
        self.secure = secure
        parts = request_line.split(" ")
        self.method = parts[0]
        self.target = parts[1] if len(parts) > 1 else ""

    def header(self, name):
        for line in self.header_lines:
            key, _, value = line.partition(":")
            if key.strip().lower() == name:
                return value.strip()
        return None

    def as_json(self):
        return {
            "request_line": self.request_line,
            "method": self.method,
            "target": self.target,
            "headers": self.header_lines,
            "body_base64": base64.b64encode(self.body).decode("ascii"),
            "secure": self.secure,
        }


def read_request(stream, secure):
    """Reads one request; None at a clean end of the connection."""
    line = stream.readline(65537)
    if not line:
        return None
    raw = [line]
    header_lines = []
    while True:
        header = stream.readline(65537)
        if not header:
            return None
        raw.append(header)
        if header in (b"\r\n", b"\n"):
            break
        header_lines.append(header.rstrip(b"\r\n").decode("latin-1"))
    request = Request(b"".join(raw), line.rstrip(b"\r\n").decode("latin-1"), header_lines, b"", secure)
    if (request.header("transfer-encoding") or "").lower() == "chunked":
        request.body = read_chunked(stream)
    else:
        length = int(request.header("content-length") or 0)
        request.body = stream.read(length) if length > 0 else b""
    request.raw += request.body
    return request


def read_chunked(stream):
    body = []
    while True:
        size = int(stream.readline().split(b";")[0].strip() or b"0", 16)
        if size == 0:
            while stream.readline() not in (b"\r\n", b"\n", b""):
                pass
            return b"".join(body)
        body.append(stream.read(size))
        stream.readline()


def is_loopback(host):
    try:
        infos = socket.getaddrinfo(host, None, socket.AF_INET)
    except OSError:
        return False
    return all(info[4][0].startswith("127.") for info in infos)


class Handler(socketserver.StreamRequestHandler):
    def setup(self):
        if self.server.secure:  # handshake here, so a silent client blocks only its own thread
            self.request.settimeout(30)
            self.request.do_handshake()
            self.request.settimeout(None)
        super().setup()
        with self.server.state.lock:
            self.server.state.connections.add(self.request)

    def finish(self):
        with self.server.state.lock:
            self.server.state.connections.discard(self.request)
        super().finish()

    def handle(self):
        state = self.server.state
        while not state.stop.is_set():
            try:
                request = read_request(self.rfile, self.server.secure)
            except (OSError, ValueError, ssl.SSLError):
                return
            if request is None:
                return
            state.touch()
            if request.target.startswith("/_control/"):
                keep_open = self.control(request)
            else:
                with state.lock:
                    state.requests.append(request)
                keep_open = self.answer(request)
            if not keep_open:
                return

    # --- scripted answers -------------------------------------------------

    def answer(self, request):
        if request.method == "CONNECT":
            return self.tunnel(request)
        if request.target.startswith("http://") or request.target.startswith("https://"):
            return self.forward(request)
        path = urllib.parse.urlsplit(request.target).path
        with self.server.state.lock:
            script = self.server.state.scripts.get(path, NOT_SCRIPTED)
        if script.delay:
            time.sleep(script.delay)
        head = ["HTTP/1.1 %d %s" % (script.status, script.reason)] + script.headers
        if script.chunked:
            head.append("Transfer-Encoding: chunked")
        elif not any(line.lower().startswith("content-length:") for line in script.headers):
            head.append("Content-Length: %d" % script.length())
        self.wfile.write(("\r\n".join(head) + "\r\n\r\n").encode("latin-1"))
        if request.method == "HEAD":
            return True
        sent = 0
        for piece in script.body_pieces():
            if script.close_after is not None and sent + len(piece) >= script.close_after:
                self.send_body(piece[:script.close_after - sent], script.chunked)
                self.wfile.flush()
                return False
            self.send_body(piece, script.chunked)
            sent += len(piece)
        if script.chunked:
            self.wfile.write(b"0\r\n\r\n")
        self.wfile.flush()
        return True

    def send_body(self, piece, chunked):
        if not piece:
            return
        if chunked:
            self.wfile.write(b"%x\r\n" % len(piece) + piece + b"\r\n")
        else:
            self.wfile.write(piece)

    # --- proxy --------------------------------------------------------------

    def forward(self, request):
        url = urllib.parse.urlsplit(request.target)
        port = url.port or (443 if url.scheme == "https" else 80)
        if not is_loopback(url.hostname or ""):
            return self.refuse()
        origin_target = (url.path or "/") + ("?" + url.query if url.query else "")
        lines = [line for line in request.header_lines
                 if line.split(":")[0].strip().lower() not in ("connection", "proxy-connection")]
        head = "\r\n".join(["%s %s HTTP/1.1" % (request.method, origin_target)] + lines + ["Connection: close"])
        try:
            with socket.create_connection((url.hostname, port), timeout=30) as origin:
                origin.sendall(head.encode("latin-1") + b"\r\n\r\n" + request.body)
                while True:
                    data = origin.recv(SEND_BLOCK)
                    if not data:
                        break
                    self.wfile.write(data)
        except OSError:
            return self.refuse()
        self.wfile.flush()
        return False

    def tunnel(self, request):
        host, _, port = request.target.rpartition(":")
        if not is_loopback(host) or not port.isdigit():
            return self.refuse()
        try:
            origin = socket.create_connection((host, int(port)), timeout=30)
        except OSError:
            return self.refuse()
        self.wfile.write(b"HTTP/1.1 200 Connection established\r\n\r\n")
        self.wfile.flush()
        client = self.connection
        with origin:
            while True:
                readable, _, _ = select.select([client, origin], [], [], 30)
                if not readable:
                    return False
                for source in readable:
                    data = source.recv(SEND_BLOCK)
                    if not data:
                        return False
                    (origin if source is client else client).sendall(data)

    def refuse(self):
        self.wfile.write(b"HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\nConnection: close\r\n\r\n")
        self.wfile.flush()
        return False

    # --- control ------------------------------------------------------------

    def control(self, request):
        state = self.server.state
        command = request.target[len("/_control/"):]
        status, body = 200, b"ok"
        if command == "script":
            script = Script(json.loads(request.body.decode("utf-8")))
            with state.lock:
                state.scripts[script.path] = script
        elif command == "reset":
            with state.lock:
                state.scripts.clear()
                state.requests.clear()
                others = [c for c in state.connections if c is not self.request]
            for connection in others:
                try:
                    connection.shutdown(socket.SHUT_RDWR)
                except OSError:
                    pass
        elif command == "requests":
            with state.lock:
                body = json.dumps([r.as_json() for r in state.requests]).encode("utf-8")
        elif command == "count":
            with state.lock:
                body = str(len(state.requests)).encode("ascii")
        elif command.startswith("request/"):
            with state.lock:
                try:
                    body = state.requests[int(command[len("request/"):])].raw
                except (IndexError, ValueError):
                    status, body = 404, b"no such request"
        elif command == "shutdown":
            state.stop.set()
        else:
            status, body = 404, b"unknown control request"
        self.wfile.write(b"HTTP/1.1 %d X\r\nContent-Length: %d\r\nConnection: close\r\n\r\n" % (status, len(body)) + body)
        self.wfile.flush()
        return False


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, state, context=None):
        super().__init__(("127.0.0.1", 0), Handler)
        self.state = state
        self.context = context
        self.secure = context is not None

    def get_request(self):
        connection, address = super().get_request()
        connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        if self.context is not None:
            connection = self.context.wrap_socket(connection, server_side=True, do_handshake_on_connect=False)
        return connection, address

    def handle_error(self, request, client_address):
        pass  # a client that went away mid-request is no server fault


def make_certificate(directory):
    os.makedirs(directory, exist_ok=True)
    cert = os.path.join(directory, "server.crt")
    key = os.path.join(directory, "server.key")
    subprocess.run(
        ["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
         "-subj", "/CN=localhost", "-keyout", key, "-out", cert,
         "-addext", "basicConstraints=critical,CA:TRUE",
         "-addext", "subjectAltName=DNS:localhost,IP:127.0.0.1"],
        check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    return context


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--tls-dir")
    parser.add_argument("--idle", type=float, default=120)
    args = parser.parse_args()

    state = State(args.idle)
    servers = [Server(state)]
    if args.tls_dir:
        servers.append(Server(state, make_certificate(args.tls_dir)))
    for server in servers:
        threading.Thread(target=server.serve_forever, kwargs={"poll_interval": 0.1}, daemon=True).start()

    ports = [str(server.server_address[1]) for server in servers] + ["0"] * (2 - len(servers))
    temporary = args.port_file + ".tmp"
    with open(temporary, "w") as port_file:
        port_file.write(" ".join(ports) + "\n")
    os.replace(temporary, args.port_file)

    while not state.stop.wait(0.5):
        if time.monotonic() - state.last_activity > state.idle:
            break
    for server in servers:
        server.shutdown()
        server.server_close()
    try:
        os.remove(args.port_file)
    except OSError:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
