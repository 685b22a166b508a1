#!/usr/bin/env python3
r"""Local double of the Zorvo share service, for the resolver's tests and the demo.

Start: zorvo_double.py --port-file FILE [--tls-dir DIR] [--idle SECONDS] [--latency MS]
  Serves on 127.0.0.1 over HTTP and HTTPS, writes "<http port> <https port>"
  to FILE and prints the same line once it accepts connections, and ends on
  GET /_control/shutdown or after SECONDS (default 600) without requests. The
  self-signed certificate (DNS:localhost, IP:127.0.0.1) is made in DIR as
  server.crt, by default in a temporary folder removed at the end; it is also
  served at GET /_control/certificate. Point the resolver's base site at
  "https://localhost:<https port>" (the probe's request object checks the
  certificate, so add it to the trust store first) and give it a share URL.
  --latency MS delays every answer (not the control requests) by MS
  milliseconds, as a distant service would; GET /_control/latency/<ms>
  changes it while the double runs.

What it serves, relative to the base site:
  /s/<id>                 share page, framed or inline layout
  /fn?<code>              frame page of a framed share (the placeholder
                          /fn?v2 is not a frame page: 404)
  /ajaxm.php?file=<n>     download endpoint: POST "action=..&sign=..&p=.."
  /dl/file/?<code>        download host ("dom" of the endpoint's answer is
                          the base site + "/dl"): 302 to /files/<id>, or 200
  /files/<id>             the shared file itself

Share catalogue. Every share's page is /s/<id>; the password column is the one
to give the resolver ("-": none). Outcome: "link" when a direct link results,
otherwise the failure the resolver reports (W1 is a warning on the way to a
link; "none" is an empty result with no failure text; E4: the redirect target
is no link).

| id                 | layout | password | exercises                                               | outcome   |
|--------------------|--------|----------|---------------------------------------------------------|-----------|
| framed             | framed | -        | frame page, decoy token in the commented-out block      | link      |
| framed-pw          | framed | 8k2p     | password; an action other than the default              | link      |
| inline             | inline | -        | endpoint body from the page; fileName from "inf"        | link      |
| inline-pw          | inline | x7q1     | password appended to the page's body; relative Location | link      |
| framed-no-endpoint | framed | -        | frame page without the endpoint path                    | E1        |
| inline-no-endpoint | inline | -        | share page without the endpoint path                    | E1        |
| no-token           | framed | -        | token of 69 characters only (70 needed)                 | E2        |
| commented-token    | framed | -        | token only inside the commented-out block               | E2        |
| no-action          | framed | -        | no action in the frame page: "downprocess" is posted    | W1 + link |
| wrong-password     | inline | 0000     | the service's message; fileName taken from "inf"        | E3        |
| zt-text            | framed | -        | "zt" as the text "1", slashes not escaped               | link      |
| no-location        | framed | -        | download host answers 200 without a Location            | none      |
| placeholders       | framed | -        | SRC="/FN?V2" and src="/fn?V2" before the frame link     | link      |
| no-name-block      | framed | -        | name and size block missing: fileName from "inf"        | link      |
| chinese-framed     | framed | -        | Chinese file name and size in the page                  | link      |
| chinese-inline     | inline | -        | Chinese file name as \u escapes in "inf"                | link      |
| password-amp       | framed | p&q=1    | password holding "&" and "=", sent unencoded            | link      |
| bad-answer         | framed | -        | endpoint answers a 502 error page instead of JSON       | E3        |
| script-answer      | framed | -        | endpoint answers script, not JSON: it must not run      | E3        |
| slow               | framed | -        | share page answered after 3 seconds                     | link      |
| reset              | framed | -        | share page request reset: empty page                    | E1        |
| not-found          | framed | -        | share page answered 404                                 | E1        |
| bad-utf8           | framed | -        | invalid UTF-8 bytes in the share page                   | link      |
| huge-page          | framed | -        | 20 MiB share page                                       | link      |
| utf8-framed        | framed | -        | answer in raw UTF-8; Chinese fileName from "inf"        | link      |
| utf8-inline        | inline | -        | answer in raw UTF-8; Chinese fileName from "inf"        | link      |
| utf8-refused       | framed | 0000     | the service's message in raw UTF-8                      | E3        |
| utf8-refused-in    | inline | 0000     | the service's message in raw UTF-8                      | E3        |
| oversized-page     | framed | -        | share page one byte beyond the resolver's page limit    | E1        |
| oversized-answer   | framed | -        | answer one byte beyond the resolver's answer limit      | E3        |
| control-location   | framed | -        | "Location" holding a CR and a second header line        | E4        |

Fault shares. "fault-<stage>-<mode>" is the framed share whose <stage>
misbehaves as <mode>; stages: share (the share page), frame, endpoint, probe
(the download host). Modes:
  silent         reads the request, answers nothing, keeps the connection
  headers-only   sends the headers of the answer, then nothing
  drip           sends the headers, then the body a byte every 1.5 s
  short-open     declares a longer body than it sends, keeps the connection
  chunked-open   a chunked body without its last chunk, keeps the connection
  continue-only  answers "100 Continue" and nothing more
  redirect-loop  redirects to the same URL again and again
  tls-plain      the stage's URL speaks TLS to the plain-HTTP port
  full-queue     the stage's URL names a port whose accept queue is full
tls-plain and full-queue exist for the stages share, frame (the base site
names the port) and probe. They are not in the catalogue;
GET /_control/fault/<id>[?base=B] gives the share's "url", the "base" site to
resolve it against, and the "link" a probe that gets headers yields.

The exact expected values (link, fileName, fileSize, errorText, in UTF-8)
are computed from the share definitions below and listed by control requests;
a value given as null is one the resolver leaves as the caller passed it
(the values assume out-values that start empty):
  GET /_control/shares[?base=B]     the catalogue as JSON
  GET /_control/share/<id>[?base=B] one share as a form-encoded record
                                    (members that are null are left out)
  GET /_control/ids                 the share ids, one a line
  GET /_control/exchanges/<id>[?base=B]  the four requests that resolve a
                                    framed share, one a line: method, URL
                                    and (for the POST) the body, tab-separated
B is the resolver's base site (percent-encoded), by default
"https://localhost:<https port>"; the links depend on it.
"""

import base64
import dataclasses
import functools
import hashlib
import json
import socket
import sys
import tempfile
import threading
import time
import urllib.parse

import local_server

FRAMED, INLINE = "framed", "inline"
DEFAULT_ACTION = "downprocess"
SLOW_SECONDS = 3
HUGE_PAGE_BYTES = 20 << 20

# What the resolver reports, and the service's own messages.
E1 = "获取失败：获取二级跳转链接为空！"
E2 = "sign获取失败!"
W1 = "action获取失败!默认填为downprocess"
E3 = "获取失败：获取三级跳转链接为空！"
E4 = "获取失败：直链无效"
# Bodies beyond these fail the resolver's requests.
PAGE_LIMIT = 64 << 20
ANSWER_LIMIT = 1 << 20
WRONG_PASSWORD = "密码不正确"
REJECTED = "sign校验失败"
NO_SUCH_FILE = "文件不存在"
BAD_GATEWAY_PAGE = b"<html><head><title>502 Bad Gateway</title></head><body><h1>502 Bad Gateway</h1></body></html>"


def code(label, share_id, length):
    """A stable token of letters and digits for one share."""
    letters = ""
    round_ = 0
    while len(letters) < length:
        digest = hashlib.sha256(("%s/%s/%d" % (label, share_id, round_)).encode()).digest()
        letters += "".join(c for c in base64.b64encode(digest).decode() if c.isalnum())
        round_ += 1
    return letters[:length]


@dataclasses.dataclass(frozen=True)
class Share:
    id: str
    layout: str = FRAMED
    name: str = ""              # the file's name; default: id + ".zip"
    size: str = "2.4 M"
    password: str = ""          # the share's own password
    given: str = None           # the password a test gives, when not the share's own
    action: str = DEFAULT_ACTION  # None: the frame page names no action
    endpoint: bool = True       # the page names the endpoint path
    token: str = "page"         # "page", "commented" (only in the commented-out block), "short"
    name_block: bool = True     # the framed share page carries the name and size block
    placeholders: tuple = ('src="/fn?v2"',)
    zt_text: bool = False       # "zt" as a text instead of a number
    escape_slashes: bool = True
    answer: str = "json"        # endpoint's answer: "json", "html" (an error page), "script" (not JSON),
                                # "oversized" (JSON beyond ANSWER_LIMIT)
    raw_utf8: bool = False      # the answer carries its Chinese in UTF-8, not as \u escapes
    location: str = "absolute"  # download host's answer: "absolute", "relative", "none", "control" (a CR inside)
    fault: str = None           # share page fault: "slow", "reset", "not-found", "bad-utf8", "huge",
                                # "oversized" (beyond PAGE_LIMIT)
    misbehave: tuple = None     # (stage, mode) of a fault share, see "fault modes" below

    @property
    def file_name(self):
        return self.name or self.id + ".zip"

    @property
    def given_password(self):
        return self.password if self.given is None else self.given

    @property
    def frame_code(self):
        return code("frame", self.id, 24)

    @property
    def sign(self):
        body = code("sign", self.id, 78)
        return body[:36] + "_" + body[36:] + "_c_c"

    @property
    def download_url(self):
        return "?" + code("dl", self.id, 12) + "/" + code("dl2", self.id, 12)

    def location_for(self, origin):
        return {"absolute": origin + "/files/" + self.id, "relative": "/files/" + self.id, "none": "",
                "control": origin + "/files/" + self.id + "\rX-Injected: 1"}[self.location]


SHARES = (
    Share("framed"),
    Share("framed-pw", password="8k2p", action="downpwd"),
    Share("inline", layout=INLINE),
    Share("inline-pw", layout=INLINE, password="x7q1", location="relative"),
    Share("framed-no-endpoint", endpoint=False),
    Share("inline-no-endpoint", layout=INLINE, endpoint=False),
    Share("no-token", token="short"),
    Share("commented-token", token="commented"),
    Share("no-action", action=None),
    Share("wrong-password", layout=INLINE, password="x7q1", given="0000"),
    Share("zt-text", zt_text=True, escape_slashes=False),
    Share("no-location", location="none"),
    Share("placeholders", placeholders=('SRC="/FN?V2"', 'src="/fn?V2"')),
    Share("no-name-block", name_block=False),
    Share("chinese-framed", name="年度报告（终稿）.docx", size="1.5 M"),
    Share("chinese-inline", layout=INLINE, name="旅行照片合集.zip", size="35.2 M"),
    Share("password-amp", password="p&q=1"),
    Share("bad-answer", answer="html"),
    Share("script-answer", answer="script"),
    Share("slow", fault="slow"),
    Share("reset", fault="reset"),
    Share("not-found", fault="not-found"),
    Share("bad-utf8", fault="bad-utf8"),
    Share("huge-page", fault="huge"),
    # Answers in raw UTF-8 (odd numbers of Chinese characters before ASCII),
    # bodies beyond the resolver's limits, a redirect target that is no link.
    Share("utf8-framed", name="季度报告书.docx", name_block=False, raw_utf8=True),
    Share("utf8-inline", layout=INLINE, name="照片集.zip", raw_utf8=True),
    Share("utf8-refused", password="8k2p", given="0000", raw_utf8=True),
    Share("utf8-refused-in", layout=INLINE, password="x7q1", given="0000", raw_utf8=True),
    Share("oversized-page", fault="oversized"),
    Share("oversized-answer", answer="oversized"),
    Share("control-location", location="control"),
)


# --- fault modes ---------------------------------------------------------------
# Servers that misbehave on purpose, at one stage of a resolution each.

FAULT_MODES = ("silent", "headers-only", "drip", "short-open", "chunked-open", "continue-only", "redirect-loop",
               "tls-plain", "full-queue")
PORT_MODES = ("tls-plain", "full-queue")  # made by the URL the stage uses, not by its answer
FAULT_STAGES = ("share", "frame", "endpoint", "probe")
DRIP_SECONDS = 1.5
HOLD_SECONDS = 600  # how long a connection is held open at most
FAULT_SHARES = tuple(Share("fault-%s-%s" % (stage, mode), misbehave=(stage, mode))
                     for stage in FAULT_STAGES for mode in FAULT_MODES
                     if not (stage == "endpoint" and mode in PORT_MODES))

_full_queue = {}
_full_queue_lock = threading.Lock()


def full_queue_port():
    """A loopback port whose accept queue is full: connections to it hang."""
    with _full_queue_lock:
        if not _full_queue:
            listener = socket.socket()
            listener.bind(("127.0.0.1", 0))
            listener.listen(0)
            port = listener.getsockname()[1]
            fillers = []
            for _ in range(4):  # more than the queue holds; the rest wait for ever
                filler = socket.socket()
                filler.setblocking(False)
                filler.connect_ex(("127.0.0.1", port))
                fillers.append(filler)
            _full_queue.update(port=port, sockets=[listener] + fillers)
        return _full_queue["port"]


def fault_origin(mode, ports):
    """The origin under which a stage faulted by a port mode is reached."""
    if mode == "tls-plain":
        return "https://127.0.0.1:%d" % ports[0]
    return "http://127.0.0.1:%d" % full_queue_port()


def faulty(share, stage):
    """Whether the share's answer at this stage misbehaves."""
    return share is not None and share.misbehave is not None and share.misbehave[0] == stage \
        and share.misbehave[1] not in PORT_MODES


def download_origin(share, origin, ports):
    """The origin of the download host named in the endpoint's answer."""
    if share.misbehave and share.misbehave[0] == "probe" and share.misbehave[1] in PORT_MODES:
        return fault_origin(share.misbehave[1], ports)
    return origin


def fault_record(share, base, ports):
    """Where a resolution of the fault share starts and what a probe that gets headers yields."""
    stage, mode = share.misbehave
    url, resolve_base = base + "/s/" + share.id, base
    if mode in PORT_MODES and stage == "share":
        url = fault_origin(mode, ports) + "/s/" + share.id
    if mode in PORT_MODES and stage == "frame":
        resolve_base = fault_origin(mode, ports)
    link = base + "/dl/file/" + share.download_url if mode == "redirect-loop" else share.location_for(base)
    return {"url": url, "base": resolve_base, "link": link}


def hold(handler):
    """Keeps the connection open until the client closes it (or for HOLD_SECONDS)."""
    handler.request.settimeout(HOLD_SECONDS)
    try:
        while handler.rfile.read(1):
            pass
    except OSError:
        pass
    return False


def misbehave(handler, request, share, status, headers, body):
    """Answers as the share's fault mode says instead of (status, headers, body)."""
    mode = share.misbehave[1]
    body = body or b"<html><body>moved</body></html>\n"
    head = lambda extra: ("HTTP/1.1 %d X\r\n" % status + "".join(line + "\r\n" for line in headers + extra)
                          + "\r\n").encode("latin-1")
    if mode == "redirect-loop":
        handler.wfile.write(b"HTTP/1.1 302 Found\r\nLocation: " + (handler.origin(request) + request.target).encode()
                            + b"\r\nContent-Length: 0\r\n\r\n")
        handler.wfile.flush()
        return True
    try:
        if mode == "headers-only":
            handler.wfile.write(head(["Content-Length: %d" % len(body)]))
        elif mode == "drip":
            handler.wfile.write(head(["Content-Length: %d" % len(body)]))
            for byte in body:
                handler.wfile.flush()
                time.sleep(DRIP_SECONDS)
                handler.wfile.write(bytes([byte]))
        elif mode == "short-open":
            handler.wfile.write(head(["Content-Length: %d" % (len(body) + 100)]) + body)
        elif mode == "chunked-open":
            handler.wfile.write(head(["Transfer-Encoding: chunked"]) + b"%x\r\n" % len(body) + body + b"\r\n")
        elif mode == "continue-only":
            handler.wfile.write(b"HTTP/1.1 100 Continue\r\n\r\n")
        handler.wfile.flush()
    except OSError:
        return False
    return hold(handler)


BY_ID = {share.id: share for share in SHARES + FAULT_SHARES}
BY_FILE = {str(1000 + number): share for number, share in enumerate(SHARES + FAULT_SHARES)}
FILE_OF = {share.id: number for number, share in BY_FILE.items()}
BY_FRAME = {share.frame_code: share for share in SHARES + FAULT_SHARES}
BY_DOWNLOAD = {share.download_url[1:]: share for share in SHARES + FAULT_SHARES}


# --- expected results --------------------------------------------------------

def expected(share, base):
    """What resolving the share against `base` yields, for out-values that
    start empty; None marks an out-value the run does not write."""
    out = {"link": "", "fileName": None, "fileSize": None, "errorText": None}
    if share.fault in ("reset", "not-found", "oversized"):  # nothing usable: inline layout on an empty page
        out.update(fileSize="", errorText=E1)
        return out
    if share.layout == FRAMED:
        out["fileName"] = share.file_name if share.name_block else ""
        out["fileSize"] = share.size if share.name_block else ""
        if not share.endpoint:
            out["errorText"] = E1
            return out
        if share.token != "page":
            out["errorText"] = E2
            return out
        if share.action is None:
            out["errorText"] = W1
    else:
        out["fileSize"] = share.size
        if not share.endpoint:
            out["errorText"] = E1
            return out
    if share.given_password != share.password:
        inf, succeeded = WRONG_PASSWORD, False
    elif share.answer != "json":  # no JSON: every member reads empty
        inf, succeeded = "", False
    else:
        inf, succeeded = share.file_name, True
    if not out["fileName"]:
        out["fileName"] = inf
    if not succeeded:
        out["errorText"] = E3 + "\r\n" + inf
        return out
    if share.location == "control":
        out["errorText"] = E4
        return out
    out["link"] = share.location_for(base)
    return out


def exchanges(share, base):
    """The requests a resolution of a framed share makes, in order."""
    body = "action=%s&sign=%s&p=%s" % (share.action or DEFAULT_ACTION, share.sign, share.given_password)
    return [("GET", base + "/s/" + share.id),
            ("GET", base + "/fn?" + share.frame_code),
            ("POST", base + "/ajaxm.php?file=" + FILE_OF[share.id], body),
            ("GET", base + "/dl/file/" + share.download_url)]


def catalogue_entry(share, base):
    entry = {"id": share.id, "path": "/s/" + share.id, "url": base + "/s/" + share.id,
             "password": share.given_password, "layout": share.layout}
    entry.update(expected(share, base))
    return entry


# --- pages -------------------------------------------------------------------

def frame_link(source):
    return '<iframe class="ifr2" name="%s" %s frameborder="0" scrolling="no"></iframe>' % (code("n", source, 8), source)


def framed_page(share, filler=""):
    if share.name_block:
        block = ('<div class="n_box_3fn" id="filenajax">%s</div>\n'
                 '<div class="n_box_des">分享者：zorvo</div>\n'
                 '<div class="n_file">\n'
                 '<div class="n_filesize">大小：%s</div><div class="n_file_info"><span class="n_file_infos">2024-05-17</span></div>\n'
                 '</div>\n' % (share.file_name, share.size))
    else:
        block = '<h1 class="n_title">%s</h1>\n<p class="n_size">%s</p>\n' % (share.file_name, share.size)
    links = "\n".join(frame_link(placeholder) for placeholder in share.placeholders)
    return ('<!DOCTYPE html>\n<html>\n<head>\n<meta charset="utf-8">\n<title>%s - Zorvo</title>\n</head>\n<body>\n'
            '%s<div class="d">\n%s%s\n%s\n</div>\n</body>\n</html>\n'
            % (share.file_name, filler, block, links, frame_link('src="/fn?%s"' % share.frame_code)))


def endpoint_line(share):
    path = "/ajaxm.php?file=" + FILE_OF[share.id]
    return "url : '%s'," % path if share.endpoint else "url:'%s'," % path


def frame_page(share):
    decoy = code("decoy", share.id, 80) + "_c_c"
    sign = {"page": share.sign, "commented": "", "short": code("short", share.id, 69) + "_c_c"}[share.token]
    commented_sign = share.sign if share.token == "commented" else decoy
    action = "'action':'%s'," % share.action if share.action else ""
    return ('<!DOCTYPE html>\n<html>\n<head><meta charset="utf-8"></head>\n<body>\n<div id="go"></div>\n'
            '<script type="text/javascript">\n'
            "var ajaxdata = '?%s';\n"
            'function down_p(){\n'
            '$.ajax({\n'
            "type : 'post',\n"
            '%s\n'
            "//data : { 'action':'olddown','signs':ajaxdata,'sign':'%s','ves':1 },\n"
            "data : { %s'signs':ajaxdata,'sign':'%s','websign':'','websignkey':'Ow0x','ves':1 },\n"
            "dataType : 'json',\n"
            'success:function(msg){\n'
            "if(msg.zt == '1'){ $('#go').html('<a href=\"'+msg.dom+'/file/'+msg.url+'\">下载</a>'); }\n"
            "else{ $('#go').html(msg.inf); }\n"
            '},\n'
            "error:function(){ $('#go').html('获取失败，请刷新试试'); }\n"
            '});\n}\n</script>\n</body>\n</html>\n'
            % (code("signs", share.id, 16), endpoint_line(share), commented_sign, action, sign))


def inline_page(share):
    links = "\n".join(frame_link(placeholder) for placeholder in share.placeholders)
    return ('<!DOCTYPE html>\n<html>\n<head>\n<meta charset="utf-8">\n<title>%s - Zorvo</title>\n</head>\n<body>\n'
            '<div class="n_box">\n<div class="n_file_infos">大小：%s</div>\n'
            '<input type="text" id="pwd" placeholder="输入密码"><div class="passwddiv-btn" id="sub">下载</div>\n'
            '%s\n</div>\n'
            '<script type="text/javascript">\n'
            'function down_p(){\n'
            "var pwd = $('#pwd').val();\n"
            '$.ajax({\n'
            "type : 'post',\n"
            '%s\n'
            "data : 'action=%s&sign=%s&p='+pwd,\n"
            "dataType : 'json'\n"
            '});\n}\n</script>\n</body>\n</html>\n'
            % (share.file_name, share.size, links, endpoint_line(share), share.action, share.sign))


@functools.lru_cache(maxsize=None)
def share_page(share):
    if share.layout == INLINE:
        return inline_page(share).encode("utf-8")
    if share.fault == "huge":
        return padded_share_page(share, "normal", HUGE_PAGE_BYTES)
    page = framed_page(share).encode("utf-8")
    if share.fault == "bad-utf8":  # a lone byte, an overlong form, a surrogate, a cut sequence at the end
        bad = b'<meta name="description" content="\xff \xc0\xaf \xed\xa0\x80 \xe4\xb8">\n'
        page = page.replace(b"</head>", bad + b"</head>") + b"\xe6\x96"
    return page


# --- sized pages: the resolution benchmark ----------------------------------
# GET /sized/<kind>/<bytes> is the share page of "framed" with about <bytes>
# bytes of filler of one kind; resolving it gives that share's link. Kinds:
#   normal        lines of Chinese and ASCII text before the name block
#   hostile-name  <div class="a" id="b">x</div> lines and no name block, which
#                 a backtracking name-and-size search takes quadratic time on
#   hostile-size  a name and size block whose size is "filesize\">" over and
#                 over, which a search must backtrack through once per mark
#   hostile-sign  the frame page (linked as /fn?<code>&pad=<bytes>) begins with
#                 a run of token characters without "_c_c"
SIZED_KINDS = ("normal", "hostile-name", "hostile-size", "hostile-sign")


def filler_of(kind, size):
    if kind == "normal":
        line = "<p>填充内容 filler line %07d</p>\n"
        return "".join(line % i for i in range(size // len(line.encode("utf-8")) + 1))
    if kind == "hostile-size":
        return '<div class="a" id="b">x</div>\n<div class="filesize">s：%s</div><i>\n' % ('filesize">' * (size // 10))
    unit = {"hostile-name": '<div class="a" id="b">x</div>\n', "hostile-sign": "Ab1_"}[kind]
    return unit * (size // len(unit) + 1)


def padded_share_page(share, kind, size):
    if kind == "hostile-sign":
        code_ = share.frame_code
        page = framed_page(share).replace('src="/fn?%s"' % code_, 'src="/fn?%s&pad=%d"' % (code_, size))
    elif kind in ("hostile-name", "hostile-size"):
        page = framed_page(dataclasses.replace(share, name_block=False), filler_of(kind, size))
    else:
        page = framed_page(share, filler_of(kind, size))
    return page.encode("utf-8")


@functools.lru_cache(maxsize=2)
def padded_frame_page(share, size):
    filler = "<body>\n<p>%s</p>\n" % filler_of("hostile-sign", size)
    return frame_page(share).replace("<body>\n", filler, 1).encode("utf-8")


def sized_page(path, query):
    """The body for a sized share page or padded frame page; None for other paths."""
    parts = path.split("/")
    if len(parts) == 4 and parts[1] == "sized" and parts[2] in SIZED_KINDS and parts[3].isdigit():
        return cached_padded_share_page(parts[2], int(parts[3]))
    code_, _, pad = query.partition("&pad=")
    if path == "/fn" and code_ in BY_FRAME and pad.isdigit():
        return padded_frame_page(BY_FRAME[code_], int(pad))
    return None


@functools.lru_cache(maxsize=2)
def cached_padded_share_page(kind, size):
    return padded_share_page(BY_ID["framed"], kind, size)


def endpoint_answer(share, body, origin, ports):
    """Status and body of the endpoint's answer to a posted body."""
    if share is None:
        return 200, service_json({"zt": 0, "inf": NO_SUCH_FILE})
    prefix = ("action=%s&sign=%s&p=" % (share.action or DEFAULT_ACTION, share.sign)).encode("utf-8")
    if not body.startswith(prefix):
        return 200, service_json({"zt": 0, "inf": REJECTED}, raw_utf8=share.raw_utf8)
    if body[len(prefix):] != share.password.encode("utf-8"):
        return 200, service_json({"zt": 0, "inf": WRONG_PASSWORD}, raw_utf8=share.raw_utf8)
    success = {"zt": "1" if share.zt_text else 1, "dom": download_origin(share, origin, ports) + "/dl",
               "url": share.download_url,
               "inf": share.file_name}
    if share.answer == "html":
        return 502, BAD_GATEWAY_PAGE
    if share.answer == "script":  # a reader that runs the answer as script would take the injected success
        return 200, b"0), da = " + service_json(dict(success, inf="injected")) + b", z = (0"
    if share.answer == "oversized":
        return 200, service_json(dict(success, pad="x" * ANSWER_LIMIT))
    return 200, service_json(success, share.escape_slashes, share.raw_utf8)


def service_json(answer, escape_slashes=True, raw_utf8=False):
    """JSON as the service writes it: ASCII only (or, raw, Chinese in UTF-8), and slashes escaped."""
    text = json.dumps(answer, separators=(",", ":"), ensure_ascii=not raw_utf8)
    return (text.replace("/", "\\/") if escape_slashes else text).encode("utf-8")


# --- server ------------------------------------------------------------------

class Handler(local_server.Handler):
    def send(self, request, status, headers, body=b""):
        reason = {200: "OK", 302: "Found", 404: "Not Found", 502: "Bad Gateway"}[status]
        head = ["HTTP/1.1 %d %s" % (status, reason)] + headers + ["Content-Length: %d" % len(body)]
        self.wfile.write(("\r\n".join(head) + "\r\n\r\n").encode("latin-1"))
        if request.method != "HEAD":
            self.wfile.write(body)
        self.wfile.flush()
        return True

    def not_found(self, request):
        return self.send(request, 404, ["Content-Type: text/html; charset=utf-8"],
                         b"<html><head><title>404 Not Found</title></head><body><h1>404 Not Found</h1></body></html>")

    def html(self, request, page):
        return self.send(request, 200, ["Content-Type: text/html; charset=utf-8"], page)

    def answer(self, request):
        time.sleep(self.server.state.latency)
        url = urllib.parse.urlsplit(request.target)
        sized = sized_page(url.path, url.query)
        if sized is not None:
            return self.html(request, sized)
        if url.path.startswith("/s/"):
            return self.share_page(request, BY_ID.get(url.path[len("/s/"):]))
        if url.path == "/fn" and url.query in BY_FRAME and BY_FRAME[url.query].layout == FRAMED:
            share = BY_FRAME[url.query]
            page = frame_page(share).encode("utf-8")
            if faulty(share, "frame"):
                return misbehave(self, request, share, 200, ["Content-Type: text/html; charset=utf-8"], page)
            return self.html(request, page)
        if url.path == "/ajaxm.php":
            share = BY_FILE.get(urllib.parse.parse_qs(url.query).get("file", [""])[0])
            status, answer = endpoint_answer(share, request.body, self.origin(request), self.server.state.ports)
            if faulty(share, "endpoint"):
                return misbehave(self, request, share, status, ["Content-Type: application/json"], answer)
            return self.send(request, status, ["Content-Type: application/json"], answer)
        if url.path == "/dl/file/" and url.query in BY_DOWNLOAD:
            share = BY_DOWNLOAD[url.query]
            if faulty(share, "probe"):
                return misbehave(self, request, share, 302, ["Location: " + share.location_for(self.origin(request))],
                                 b"")
            if share.location == "none":
                return self.send(request, 200, ["Content-Type: text/plain"], b"download host without redirect\n")
            return self.send(request, 302, ["Location: " + share.location_for(self.origin(request))])
        if url.path.startswith("/files/") and url.path[len("/files/"):] in BY_ID:
            share = BY_ID[url.path[len("/files/"):]]
            return self.send(request, 200, ["Content-Type: application/octet-stream"],
                             ("%s, served by the Zorvo double\n" % share.file_name).encode("utf-8"))
        return self.not_found(request)

    def share_page(self, request, share):
        if share is None or share.fault == "not-found":
            return self.not_found(request)
        if share.fault == "reset":
            self.reset_connection()
            return False
        if share.fault == "slow":
            time.sleep(SLOW_SECONDS)
        if share.fault == "oversized":  # made for each request: it is large
            return self.html(request, share_page(dataclasses.replace(share, fault=None)).ljust(PAGE_LIMIT + 1))
        if faulty(share, "share"):
            return misbehave(self, request, share, 200, ["Content-Type: text/html; charset=utf-8"], share_page(share))
        return self.html(request, share_page(share))

    def control_answer(self, command, request):
        state = self.server.state
        path, _, query = command.partition("?")
        base = urllib.parse.parse_qs(query).get("base", ["https://localhost:%d" % state.ports[1]])[0]
        if path == "shares":
            return 200, json.dumps([catalogue_entry(share, base) for share in SHARES],
                                   ensure_ascii=False, indent=1).encode("utf-8")
        if path.startswith("share/") and path[len("share/"):] in BY_ID:
            entry = catalogue_entry(BY_ID[path[len("share/"):]], base)
            present = {key: value for key, value in entry.items() if value is not None}
            return 200, urllib.parse.urlencode(present, quote_via=urllib.parse.quote).encode("ascii")
        if path.startswith("exchanges/") and path[len("exchanges/"):] in BY_ID:
            lines = ("\t".join(request) + "\n" for request in exchanges(BY_ID[path[len("exchanges/"):]], base))
            return 200, "".join(lines).encode("utf-8")
        if path.startswith("fault/") and path[len("fault/"):] in BY_ID and BY_ID[path[len("fault/"):]].misbehave:
            record = fault_record(BY_ID[path[len("fault/"):]], base, state.ports)
            return 200, urllib.parse.urlencode(record, quote_via=urllib.parse.quote).encode("ascii")
        if path.startswith("latency/") and path[len("latency/"):].isdigit():
            state.latency = int(path[len("latency/"):]) / 1000
            return 200, b"ok"
        if path == "ids":
            return 200, "".join(share.id + "\n" for share in SHARES).encode("ascii")
        if path == "certificate" and state.tls_dir:
            with open("%s/%s" % (state.tls_dir, local_server.CERTIFICATE_NAME), "rb") as certificate:
                return 200, certificate.read()
        return None


def main():
    parser = local_server.argument_parser(__doc__, idle=600)
    parser.add_argument("--tls-dir", help="folder for the certificate (default: a temporary one)")
    parser.add_argument("--latency", type=int, default=0, help="milliseconds every answer is delayed by")
    args = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="zorvo-double-") as temporary:
        state = local_server.State(args.idle)
        state.latency = args.latency / 1000
        local_server.serve(state, Handler, args.port_file, args.tls_dir or temporary,
                           on_ready=lambda: print("%d %d" % state.ports, flush=True))
    return 0


if __name__ == "__main__":
    sys.exit(main())
