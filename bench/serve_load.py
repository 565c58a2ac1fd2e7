#!/usr/bin/env python3
"""paystead serve under hostile local clients: memory and page times.

    bench/serve_load.py PAYSTEAD [PAYSTEAD...]

Each program is started as `PAYSTEAD serve` on a new household in a
temporary folder, then, each load on a fresh server:

  headers    one client sends header lines (1000 bytes each) as fast as the
             server takes them, for 5 s or 256 MB; then 8 such clients at
             once. The server's VmRSS and VmHWM (/proc/PID/status) before
             and after, and what the clients were answered.
  slow       8 clients send a header byte a second; meanwhile a page is
             asked for; VmRSS, and the page's time.
  idle       100 connections that send nothing; then a page's time.
  stop       SIGTERM with a slow client connected: the time to exit, the
             exit status and whether the closing line was printed.

A page's time is from connecting to the last byte of its reply, with a
limit of 60 s. This is a measurement, not a test: the numbers go in the
notes, the tests (tests/web) assert only generous bounds.
"""
import os
import re
import select
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time


def rss_kb(pid):
    fields = {}
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            name, _, value = line.partition(":")
            if name in ("VmRSS", "VmHWM"):
                fields[name] = int(value.split()[0])
    return fields


class Server:
    def __init__(self, program, folder):
        subprocess.run([program, "init"], cwd=folder, check=True, capture_output=True)
        self.out = open(os.path.join(folder, "serve.out"), "w+")
        self.proc = subprocess.Popen([program, "serve"], cwd=folder, stdout=self.out,
                                     stderr=subprocess.DEVNULL)
        for _ in range(500):
            self.out.seek(0)
            m = re.search(r"127\.0\.0\.1:(\d+)/\?token=([0-9a-f]{32})", self.out.read())
            if m:
                self.port, self.token = int(m.group(1)), m.group(2)
                break
            time.sleep(0.01)
        else:
            raise RuntimeError("the server printed no address")

    def page(self, limit=60.0):
        """Seconds to GET /employer with the cookie; None past the limit."""
        start = time.monotonic()
        try:
            with socket.create_connection(("127.0.0.1", self.port), timeout=limit) as s:
                s.sendall((f"GET /employer HTTP/1.1\r\nHost: 127.0.0.1:{self.port}\r\n"
                           f"Cookie: paystead_token={self.token}\r\nConnection: close\r\n\r\n")
                          .encode())
                data = b""
                while True:
                    left = limit - (time.monotonic() - start)
                    if left <= 0:
                        return None
                    s.settimeout(left)
                    chunk = s.recv(65536)
                    if not chunk:
                        break
                    data += chunk
            if not data.startswith(b"HTTP/1.1 200"):
                return None
            return time.monotonic() - start
        except OSError:
            return None

    def memory(self):
        return rss_kb(self.proc.pid)

    def stop(self, sig=signal.SIGTERM, limit=30.0):
        start = time.monotonic()
        self.proc.send_signal(sig)
        try:
            code = self.proc.wait(timeout=limit)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
            return None, None, False
        self.out.seek(0)
        closed = "Stopped; the database is closed." in self.out.read()
        return time.monotonic() - start, code, closed


def flood_headers(port, seconds=5.0, most=256 << 20):
    """Header lines as fast as they are taken; the bytes sent and the reply's first line."""
    line = b"X-Filler: " + b"a" * 988 + b"\r\n"
    sent = 0
    answer = b""
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=2) as s:
            s.sendall(f"GET /employer HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\n".encode())
            block = line * 64
            end = time.monotonic() + seconds
            s.setblocking(False)
            while time.monotonic() < end and sent < most:
                readable, writable, _ = select.select([s], [s], [], 0.2)
                if readable:
                    chunk = s.recv(65536)
                    if not chunk:
                        break
                    answer += chunk
                if writable:
                    try:
                        sent += s.send(block)
                    except BlockingIOError:
                        pass
    except OSError:
        pass
    first = answer.split(b"\r\n", 1)[0].decode(errors="replace")
    return sent, first or "(no reply)"


def slow_client(port, stop_event, results):
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=2) as s:
            s.sendall(f"GET /employer HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\nX-Slow: ".encode())
            while not stop_event.is_set():
                s.sendall(b"a")
                r, _, _ = select.select([s], [], [], 1.0)
                if r:
                    data = s.recv(4096)
                    results.append(data.split(b"\r\n", 1)[0].decode() if data else "(closed)")
                    return
    except OSError as e:
        results.append(f"({e.strerror})")


def measure(program):
    print(f"== {program}")
    with tempfile.TemporaryDirectory() as folder:
        # headers: one client, then eight at once
        server = Server(program, folder)
        server.page()
        before = server.memory()
        sent, first = flood_headers(server.port)
        after = server.memory()
        print(f"headers, 1 client:  sent {sent >> 10} kB, answered {first!r}; "
              f"VmRSS {before['VmRSS']} -> {after['VmRSS']} kB, VmHWM {after['VmHWM']} kB")
        outcomes = []
        threads = [threading.Thread(target=lambda: outcomes.append(flood_headers(server.port)))
                   for _ in range(8)]
        for t in threads:
            t.start()
        for t in threads:
            t.join()
        time.sleep(0.5)
        after8 = server.memory()
        total = sum(o[0] for o in outcomes)
        print(f"headers, 8 clients: sent {total >> 10} kB, answered {sorted(set(o[1] for o in outcomes))}; "
              f"VmRSS then {after8['VmRSS']} kB, VmHWM {after8['VmHWM']} kB")
        took, code, closed = server.stop()
        print(f"  stop after: {took and round(took, 3)} s, exit {code}, closing line {closed}")

    with tempfile.TemporaryDirectory() as folder:
        server = Server(program, folder)
        server.page()
        before = server.memory()
        stop_event, results = threading.Event(), []
        threads = [threading.Thread(target=slow_client, args=(server.port, stop_event, results))
                   for _ in range(8)]
        for t in threads:
            t.start()
        time.sleep(2)
        page = server.page()
        during = server.memory()
        print(f"slow, 8 clients:    page {page and round(page, 3)} s (None: no answer in 60 s); "
              f"VmRSS {before['VmRSS']} -> {during['VmRSS']} kB")
        # stop with the slow clients still sending
        took, code, closed = server.stop()
        stop_event.set()
        for t in threads:
            t.join()
        print(f"stop with 8 slow clients: {took and round(took, 3)} s (None: not in 30 s), "
              f"exit {code}, closing line {closed}")

    with tempfile.TemporaryDirectory() as folder:
        server = Server(program, folder)
        server.page()
        idle = [socket.create_connection(("127.0.0.1", server.port)) for _ in range(100)]
        time.sleep(0.2)
        page = server.page()
        print(f"idle, 100 connections: page {page and round(page, 3)} s")
        # a second page while they are still open, then the stop
        page2 = server.page()
        took, code, closed = server.stop()
        print(f"  second page {page2 and round(page2, 3)} s; stop {took and round(took, 3)} s, "
              f"exit {code}, closing line {closed}")
        for s in idle:
            s.close()

    with tempfile.TemporaryDirectory() as folder:
        server = Server(program, folder)
        stop_event, results = threading.Event(), []
        t = threading.Thread(target=slow_client, args=(server.port, stop_event, results))
        t.start()
        time.sleep(1)
        took, code, closed = server.stop()
        stop_event.set()
        t.join()
        print(f"stop with 1 slow client: {took and round(took, 3)} s, exit {code}, "
              f"closing line {closed}")
    with tempfile.TemporaryDirectory() as folder:
        server = Server(program, folder)
        idle = socket.create_connection(("127.0.0.1", server.port))
        idle.sendall(f"GET /employer HTTP/1.1\r\nHost: 127.0.0.1:{server.port}\r\n"
                     f"Cookie: paystead_token={server.token}\r\n\r\n".encode())
        idle.recv(65536)  # a reply; the connection stays open, idle
        took, code, closed = server.stop()
        idle.close()
        print(f"stop with 1 idle keep-alive connection: {took and round(took, 3)} s, exit {code}, "
              f"closing line {closed}")


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    for program in sys.argv[1:]:
        measure(os.path.abspath(program))
