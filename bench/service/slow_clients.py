#!/usr/bin/env python3
"""Slow and idle clients against a running catalogue service, and its stop.

slow_clients.py SERVER DB PATH: starts the service program SERVER on catalogue file DB, opens 200 idle kept connections and 100 connections that
send their request head one byte per second, times a normal client's requests meanwhile,
notes when the service closes the idle and slow ones, then sends SIGTERM and times the exit.
Loopback only."""
import re, selectors, signal, socket, subprocess, sys, time

server, db, path = sys.argv[1], sys.argv[2], sys.argv[3]
HOST = "127.0.0.1"
service = subprocess.Popen([server, "--port", "0", "--db", db], stdout=subprocess.PIPE, text=True)
port = int(re.match(r"http://127\.0\.0\.1:(\d+)/", service.stdout.readline()).group(1))
request = f"GET {path} HTTP/1.1\r\nHost: {HOST}:{port}\r\n\r\n".encode()


def read_answer(sock, deadline):
    data = b""
    while True:
        end = data.find(b"\r\n\r\n")
        if end >= 0:
            head = data[:end].decode("latin-1").lower()
            length = 0
            for line in head.split("\r\n"):
                if line.startswith("content-length:"):
                    length = int(line.split(":")[1])
            if len(data) >= end + 4 + length:
                return data[: end + 4 + length]
        left = deadline - time.monotonic()
        if left <= 0:
            return None
        sock.settimeout(left)
        try:
            chunk = sock.recv(65536)
        except (socket.timeout, OSError):
            return None
        if not chunk:
            return None
        data += chunk


start = time.monotonic()
idle, unanswered = [], 0
for _ in range(200):
    try:
        s = socket.create_connection((HOST, port), timeout=2)
        s.sendall(request)
    except OSError:
        unanswered += 1
        continue
    # Once one goes unanswered the rest only send, so a stalled service cannot stall this.
    if unanswered or read_answer(s, time.monotonic() + 1) is None:
        unanswered += 1
    idle.append(s)
if unanswered:
    print(f"idle clients: {unanswered} of 200 without a first answer within 1 s")
slow = []
for _ in range(100):
    try:
        slow.append(socket.create_connection((HOST, port), timeout=2))
    except OSError:
        pass
sel = selectors.DefaultSelector()
opened = {}
for kind, group in (("idle", idle), ("slow", slow)):
    for s in group:
        s.setblocking(False)
        sel.register(s, selectors.EVENT_READ, kind)
        opened[s] = time.monotonic()
closed = {"idle": [], "slow": []}
latencies, failures = [], 0
sent = 0
next_byte = time.monotonic()
normal = None
until = time.monotonic() + 13
while time.monotonic() < until:
    now = time.monotonic()
    if now >= next_byte:
        for s in slow:
            if s.fileno() >= 0 and sent < len(request) - 1:
                try:
                    s.send(request[sent:sent + 1])
                except OSError:
                    pass
        sent += 1
        next_byte += 1.0
    # A normal client: one request on its own kept connection, then a short pause.
    try:
        if normal is None:
            normal = socket.create_connection((HOST, port), timeout=2)
        t0 = time.perf_counter()
        normal.sendall(request)
        if read_answer(normal, time.monotonic() + 2) is None:
            failures += 1
            normal.close()
            normal = None
        else:
            latencies.append((time.perf_counter() - t0) * 1000)
    except OSError:
        failures += 1
        normal = None
    for key, _ in sel.select(timeout=0.02):
        s = key.fileobj
        try:
            if s.recv(65536):
                continue
        except BlockingIOError:
            continue
        except OSError:
            pass
        closed[key.data].append(time.monotonic() - opened[s])
        sel.unregister(s)
        s.close()

latencies.sort()
def pct(p):
    return latencies[min(len(latencies) - 1, int(len(latencies) * p))] if latencies else float("nan")
print(f"normal client beside 200 idle + 100 slow-head connections: {len(latencies)} answers, "
      f"{failures} failed, p50 {pct(0.5):.2f} ms, p99 {pct(0.99):.2f} ms, max {latencies[-1] if latencies else float('nan'):.2f} ms")
for kind in ("idle", "slow"):
    times = sorted(closed[kind])
    when = f", after {times[0]:.1f} to {times[-1]:.1f} s" if times else ""
    print(f"{kind} connections closed by the service within 13 s: {len(times)} of {200 if kind == 'idle' else 100}{when}")

# The stop, with 50 idle kept and 20 half-sent connections open.
held, unanswered = [], 0
for i in range(70):
    try:
        s = socket.create_connection((HOST, port), timeout=2)
        if i < 50:
            s.sendall(request)
            if unanswered or read_answer(s, time.monotonic() + 1) is None:
                unanswered += 1
        else:
            s.sendall(request[:15])
        held.append(s)
    except OSError:
        unanswered += 1
t0 = time.monotonic()
service.send_signal(signal.SIGTERM)
try:
    code = service.wait(timeout=30)
except subprocess.TimeoutExpired:
    code = None
    service.kill()
    service.wait()
elapsed = time.monotonic() - t0
print(f"stop with 50 idle and 20 half-sent connections: exit code {code}, {elapsed * 1000:.0f} ms"
      if code is not None else "stop: still running after 30 s")
