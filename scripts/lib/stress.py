#!/usr/bin/env python3
"""The loop of scripts/stress: N resolutions of the demo shares through
zorvo-resolve, alternating HTTP and HTTPS base sites, optionally with K busy
processes beside them; prints each failure as it happens and the failures
by kind at the end. Exit status 1 when any run failed."""

import argparse
import collections
import json
import os
import signal
import subprocess
import sys
import time
import urllib.parse
import urllib.request

DEMO_SHARES = ("framed", "framed-pw", "inline", "inline-pw")
# Longer than all deadlines of a resolution together: a run still going then hangs.
HANG_SECONDS = 240


def catalogue(base, http_port):
    url = "http://127.0.0.1:%d/_control/shares?base=%s" % (http_port, urllib.parse.quote(base, safe=""))
    with urllib.request.urlopen(url, timeout=30) as answer:
        return {share["id"]: share for share in json.load(answer)}


def kind_of(run, result, expected):
    """None for a run that gave exactly the expected outcome, else its kind."""
    if run is None:
        return "hang"
    if run.returncode not in (0, 1) or result is None:
        return "crash (status %#x)" % (run.returncode & 0xFFFFFFFF)
    if result == expected:
        return None
    if result["link"]:
        return "wrong link or values"
    reason = result["errorText"]
    if not reason:
        return "empty link, no reason"
    return "failure: " + reason.split("\r\n")[0] + (" + garbled message" if "\r\n" in reason else "")


def resolve(args, base, share):
    command = [args.wine, args.resolver, "--json", "--base-site", base]
    if share["password"]:
        command += ["--password", share["password"]]
    command.append(share["url"])
    try:
        run = subprocess.run(command, stdin=subprocess.DEVNULL, capture_output=True, timeout=HANG_SECONDS)
    except subprocess.TimeoutExpired:
        return None, None
    try:
        return run, json.loads(run.stdout.decode("utf-8").splitlines()[0])
    except (ValueError, IndexError):
        return run, None


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("-n", type=int, default=100, help="resolutions")
    parser.add_argument("-k", type=int, default=0, help="busy processes beside them")
    parser.add_argument("--ports", required=True)
    parser.add_argument("--wine", required=True)
    parser.add_argument("--resolver", required=True)
    args = parser.parse_args()

    http_port, https_port = map(int, open(args.ports).read().split())
    bases = ("http://127.0.0.1:%d" % http_port, "https://localhost:%d" % https_port)
    shares = {base: catalogue(base, http_port) for base in bases}
    busy = [subprocess.Popen([sys.executable, "-c", "while True: pass"]) for _ in range(args.k)]
    failures = collections.Counter()
    seconds = []
    try:
        for number in range(args.n):
            base = bases[number % 2]
            share = shares[base][DEMO_SHARES[number // 2 % len(DEMO_SHARES)]]
            expected = {key: share[key] or "" for key in ("link", "fileName", "fileSize", "errorText")}
            start = time.monotonic()
            run, result = resolve(args, base, share)
            seconds.append(time.monotonic() - start)
            kind = kind_of(run, result, expected)
            if kind:
                failures[kind] += 1
                print("run %d (%s %s, %.1f s): %s %s" % (number + 1, share["id"], base.split(":")[0], seconds[-1],
                                                         kind, json.dumps(result, ensure_ascii=False)), flush=True)
    finally:
        for process in busy:
            os.kill(process.pid, signal.SIGTERM)
            process.wait()
    seconds.sort()
    print("%d runs, %d busy processes: %d failed; seconds per run: median %.2f, longest %.2f"
          % (args.n, args.k, sum(failures.values()), seconds[len(seconds) // 2], seconds[-1]))
    for kind, count in failures.most_common():
        print("  %4d  %s" % (count, kind))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
