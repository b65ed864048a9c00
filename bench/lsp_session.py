#!/usr/bin/env python3
"""A whole "scenario lsp" session over pipes: opens a line document and its train
document (both from disk, Windows-1252), then types a character at the end of the
line document's first line and takes it away, N times, timing each change until both
documents' diagnostics have come back; at the end prints the process's peak memory
(VmHWM, Linux).

Usage: bench/lsp_session.py SCENARIO LINE TRAIN [CHANGES]
e.g.   bench/lsp_session.py build/bench/bin/scenario \\
           /work/baseline/r1000000/Banco_1000km_linea.txt "/work/baseline/r1000000/Banco_1000km_9 bis-.txt"
"""
import json, os, statistics, subprocess, sys, time, urllib.parse

tool, line_path, train_path = sys.argv[1:4]
changes = int(sys.argv[4]) if len(sys.argv) > 4 else 40
p = subprocess.Popen([tool, "lsp"], stdin=subprocess.PIPE, stdout=subprocess.PIPE)

def send(message):
    body = json.dumps(message).encode()
    p.stdin.write(b"Content-Length: %d\r\n\r\n" % len(body) + body)
    p.stdin.flush()

def receive():
    length = 0
    while True:
        line = p.stdout.readline().strip()
        if not line:
            break
        name, _, value = line.partition(b":")
        if name.lower() == b"content-length":
            length = int(value)
    return json.loads(p.stdout.read(length))

def until_published(count):
    got = 0
    while got < count:
        if receive().get("method") == "textDocument/publishDiagnostics":
            got += 1

def uri(path):
    return "file://" + urllib.parse.quote(os.path.abspath(path))

send({"jsonrpc": "2.0", "id": 1, "method": "initialize", "params": {}})
receive()
send({"jsonrpc": "2.0", "method": "initialized", "params": {}})
for n, path in enumerate([line_path, train_path]):
    text = open(path, "rb").read().decode("cp1252", errors="replace")
    send({"jsonrpc": "2.0", "method": "textDocument/didOpen",
          "params": {"textDocument": {"uri": uri(path), "languageId": "scenario", "version": 1, "text": text}}})
    until_published(2)
times = []
for i in range(changes):
    end = 10 if i % 2 == 0 else 11
    start = time.perf_counter()
    send({"jsonrpc": "2.0", "method": "textDocument/didChange",
          "params": {"textDocument": {"uri": uri(line_path), "version": i + 2},
                     "contentChanges": [{"range": {"start": {"line": 0, "character": 10},
                                                   "end": {"line": 0, "character": end}},
                                         "text": " " if i % 2 == 0 else ""}]}})
    until_published(2)
    times.append((time.perf_counter() - start) * 1000)
peak = "?"
with open("/proc/%d/status" % p.pid) as status:
    for line in status:
        if line.startswith("VmHWM"):
            peak = line.split(":")[1].strip()
send({"jsonrpc": "2.0", "id": 2, "method": "shutdown"})
receive()
send({"jsonrpc": "2.0", "method": "exit"})
p.wait()
print("changes: %d, diagnostics after a change: median %.1f ms, max %.1f ms; peak memory (VmHWM): %s; exit status %d"
      % (changes, statistics.median(times), max(times), peak, p.returncode))
