"""Machinery shared by the local test servers in this folder.

A server listens on 127.0.0.1 over HTTP and, with a certificate folder, over
HTTPS (a self-signed certificate made there by openssl: CA:TRUE, subjectAltName
DNS:localhost and IP:127.0.0.1, so that it can be added to a trust store). It
writes "<http port> <https port>" (0 for a missing listener) to its port file
once both listeners accept connections, ends on the control request
GET /_control/shutdown, and ends by itself after a stretch without requests, so
that a crashed test never leaves it running. Test programs under Wine cannot
wait for a Linux process, hence the port file and the shutdown request.

A server supplies a Handler subclass: answer() for ordinary requests and
control_answer() for the other /_control/ requests.
"""

import argparse
import os
import socket
import socketserver
import ssl
import struct
import subprocess
import threading
import time

CERTIFICATE_NAME = "server.crt"
KEY_NAME = "server.key"


class State:
    """What the threads of one server share."""

    def __init__(self, idle):
        self.lock = threading.Lock()
        self.connections = set()
        self.idle = idle
        self.last_activity = time.monotonic()
        self.stop = threading.Event()
        self.ports = (0, 0)
        self.tls_dir = None

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


class Handler(socketserver.StreamRequestHandler):
    """Serves the requests of one connection in turn."""

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
                keep_open = self.answer(request)
            if not keep_open:
                return

    def answer(self, request):
        """Answers an ordinary request; returns whether the connection stays open."""
        raise NotImplementedError

    def control_answer(self, command, request):
        """(status, body bytes) for a control request other than shutdown, or None when unknown."""
        return None

    def control(self, request):
        command = request.target[len("/_control/"):]
        if command == "shutdown":
            self.server.state.stop.set()
            answer = (200, b"ok")
        else:
            answer = self.control_answer(command, request) or (404, b"unknown control request")
        self.wfile.write(b"HTTP/1.1 %d X\r\nContent-Length: %d\r\nConnection: close\r\n\r\n" % (answer[0], len(answer[1]))
                         + answer[1])
        self.wfile.flush()
        return False

    def origin(self, request):
        """Scheme and host under which the client reached this server."""
        host = request.header("host") or "127.0.0.1:%d" % self.server.server_address[1]
        return ("https://" if self.server.secure else "http://") + host

    def reset_connection(self):
        """Drops the connection with a TCP reset instead of an orderly close."""
        self.request.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        self.rfile.close()
        self.wfile.close()
        self.request.close()


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, state, handler, context=None):
        super().__init__(("127.0.0.1", 0), handler)
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
    """The certificate and key in `directory`, made there when missing: the
    servers of one test run share them, so trusting one trusts all."""
    os.makedirs(directory, exist_ok=True)
    cert = os.path.join(directory, CERTIFICATE_NAME)
    key = os.path.join(directory, KEY_NAME)
    if not (os.path.exists(cert) and os.path.exists(key)):
        subprocess.run(
            ["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
             "-subj", "/CN=localhost", "-keyout", key, "-out", cert,
             "-addext", "basicConstraints=critical,CA:TRUE",
             "-addext", "subjectAltName=DNS:localhost,IP:127.0.0.1"],
            check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    return context


def argument_parser(doc, idle):
    parser = argparse.ArgumentParser(description=doc, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--idle", type=float, default=idle, help="seconds without requests before the server ends")
    return parser


def serve(state, handler, port_file, tls_dir=None, on_ready=None):
    """Listens, writes the port file, and returns once stopped or idle."""
    state.tls_dir = tls_dir
    servers = [Server(state, handler)]
    if tls_dir:
        servers.append(Server(state, handler, make_certificate(tls_dir)))
    for server in servers:
        threading.Thread(target=server.serve_forever, kwargs={"poll_interval": 0.1}, daemon=True).start()

    state.ports = tuple(server.server_address[1] for server in servers) + (0,) * (2 - len(servers))
    temporary = port_file + ".tmp"
    with open(temporary, "w") as out:
        out.write("%d %d\n" % state.ports)
    os.replace(temporary, port_file)
    if on_ready:
        on_ready()

    while not state.stop.wait(0.5):
        if time.monotonic() - state.last_activity > state.idle:
            break
    for server in servers:
        server.shutdown()
        server.server_close()
    try:
        os.remove(port_file)
    except OSError:
        pass
