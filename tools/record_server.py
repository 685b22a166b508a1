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

import base64
import json
import select
import socket
import sys
import time
import urllib.parse

import local_server

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


class State(local_server.State):
    def __init__(self, idle):
        super().__init__(idle)
        self.scripts = {}
        self.requests = []


def request_json(request):
    return {
        "request_line": request.request_line,
        "method": request.method,
        "target": request.target,
        "headers": request.header_lines,
        "body_base64": base64.b64encode(request.body).decode("ascii"),
        "secure": request.secure,
    }


def is_loopback(host):
    try:
        infos = socket.getaddrinfo(host, None, socket.AF_INET)
    except OSError:
        return False
    return all(info[4][0].startswith("127.") for info in infos)


class Handler(local_server.Handler):
    # --- scripted answers -------------------------------------------------

    def answer(self, request):
        with self.server.state.lock:
            self.server.state.requests.append(request)
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

    def control_answer(self, command, request):
        state = self.server.state
        body = b"ok"
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
                body = json.dumps([request_json(r) for r in state.requests]).encode("utf-8")
        elif command == "count":
            with state.lock:
                body = str(len(state.requests)).encode("ascii")
        elif command.startswith("request/"):
            with state.lock:
                try:
                    body = state.requests[int(command[len("request/"):])].raw
                except (IndexError, ValueError):
                    return 404, b"no such request"
        else:
            return None
        return 200, body


def main():
    parser = local_server.argument_parser(__doc__, idle=120)
    parser.add_argument("--tls-dir")
    args = parser.parse_args()
    local_server.serve(State(args.idle), Handler, args.port_file, args.tls_dir)
    return 0


if __name__ == "__main__":
    sys.exit(main())
