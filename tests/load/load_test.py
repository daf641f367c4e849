#!/usr/bin/env python3
"""Load test: the site under lighttpd on 127.0.0.1, concurrent clients over
a mix of report, match-list and neighbour URLs, and the database replaced
halfway as an operator does it, with scripts/publish-db (a checked copy
beside the served file, renamed over it).

Every response must be HTTP 200 with a complete body of the kind its URL
asks for. Prints requests, failures, p50/p99 latency and requests per
second, in all and before and after the swap; exits 1 on any failure.

    tests/load/load_test.py [--seconds N] [--clients N] [--build DIR]

Everything it writes (database, ODBC and lighttpd configuration, logs) is
in a temporary folder that is removed at the end; the server it starts is
stopped before it returns. Requests go to 127.0.0.1 only and stop at the
time limit or after --max-requests, whichever comes first.
"""

import argparse
import ctypes
import http.client
import os
import random
import resource
import shutil
import signal
import socket
import sqlite3
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

HTML_END = "</BODY>\n</HTML>\n"
MATCH_LIST_HEADING = " stars found with a name matching &quot;"
MATCH_LIST_END = "</A>\n"
REQUEST_TIMEOUT_S = 10
SERVER_START_TIMEOUT_S = 10
# Words whose name searches may list several systems.
NAME_CANDIDATES = ["Centauri", "Groombridge", "Wolf", "Ross", "Eridani", "Ceti", "Cygni", "Indi",
                   "Kapteyn", "Luyten", "Lalande", "Struve", "Gliese", "Van", "Tau", "Alpha", "Beta"]
REPORTS_IN_MIX = 40
NEIGHBOURS_IN_MIX = 30
# Shares of the three kinds of URL in the load (they add up to 1).
SHARE_REPORT = 0.5
SHARE_MATCH_LIST = 0.2


# ---- the site -------------------------------------------------------------

def free_port():
    """A port of 127.0.0.1 that nothing listens on just now."""
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def build_database(path):
    """Builds the database of the shipped catalogues at path (the importer
    writes a temporary file and renames it into place)."""
    with open(path + ".report", "w") as report:
        subprocess.run([os.path.join(ROOT, "db", "import-catalogues"), path],
                       stdout=report, stderr=subprocess.STDOUT, check=True)


def write_server_config(folder, port, build):
    """Writes the programs' links, the data source and a minimal lighttpd
    configuration serving them as CGI at /Scripts/; returns its path."""
    cgi = os.path.join(folder, "cgi-bin")
    odbc = os.path.join(folder, "odbc")
    os.makedirs(cgi)
    for program in ("sysview", "proxlist"):
        os.symlink(os.path.join(build, "bin", program), os.path.join(cgi, program + ".exe"))
    subprocess.run([os.path.join(ROOT, "db", "write-dsn"), os.path.join(folder, "vldr.db"),
                    os.path.join(build, "lib"), odbc], check=True)
    config = os.path.join(folder, "lighttpd.conf")
    with open(config, "w") as f:
        f.write(f"""server.modules = ("mod_alias", "mod_setenv", "mod_cgi")
server.bind = "127.0.0.1"
server.port = {port}
server.document-root = "{os.path.join(ROOT, 'site')}"
server.errorlog = "{os.path.join(folder, 'lighttpd-error.log')}"
server.follow-symlink = "enable"
server.max-connections = 256
alias.url = ("/Scripts/" => "{cgi}/")
$HTTP["url"] =^ "/Scripts/" {{
    cgi.assign = (".exe" => "")
    setenv.add-environment = (
        "ODBCSYSINI" => "{odbc}",
        "ODBCINI" => "{os.path.join(odbc, 'odbc.ini')}",
    )
}}
""")
    return config


def end_with_parent():
    """In a child before exec: the kernel stops it when this test's process
    ends, however that ends (Linux prctl PR_SET_PDEATHSIG)."""
    pr_set_pdeathsig = 1
    ctypes.CDLL(None, use_errno=True).prctl(pr_set_pdeathsig, signal.SIGTERM)


def start_server(config, port):
    """Starts lighttpd in the foreground of a child process and waits until
    it accepts connections."""
    server = subprocess.Popen(["lighttpd", "-D", "-f", config], stdin=subprocess.DEVNULL,
                              preexec_fn=end_with_parent)
    deadline = time.monotonic() + SERVER_START_TIMEOUT_S
    while time.monotonic() < deadline:
        if server.poll() is not None:
            raise RuntimeError(f"lighttpd exited with {server.returncode}")
        try:
            socket.create_connection(("127.0.0.1", port), timeout=1).close()
            return server
        except OSError:
            time.sleep(0.05)
    stop_server(server)
    raise RuntimeError("lighttpd did not start listening")


def stop_server(server):
    server.terminate()
    try:
        server.wait(timeout=10)
    except subprocess.TimeoutExpired:
        server.kill()
        server.wait()


# ---- requests and their checks --------------------------------------------

class Target:
    """One URL and the kind of page it must answer with."""

    def __init__(self, kind, path, system_id=None):
        self.kind = kind            # "report", "match list" or "neighbours"
        self.path = path
        self.system_id = system_id  # for a report: the system it shows


def fetch(connection, path):
    """Sends one GET on connection; returns (status, content type, body text)."""
    connection.request("GET", path)
    response = connection.getresponse()
    body = response.read().decode("windows-1252")
    return response.status, response.getheader("Content-Type", ""), body


def body_fault(target, status, content_type, body):
    """What is wrong with a response to target, or None when it is complete."""
    if status != 200:
        return f"HTTP {status}"
    if not content_type.startswith("text/html"):
        return f"content type {content_type!r}"
    if not body.startswith("<HTML>\n"):
        return "body does not start with <HTML>"
    if target.kind == "match list":
        if MATCH_LIST_HEADING not in body:
            return "not a match list"
        if not body.endswith(MATCH_LIST_END):
            return "match list cut short"
        return None
    if not body.endswith(HTML_END) or body.count(HTML_END) != 1:
        return "page does not end with one </BODY></HTML>"
    if target.kind == "report":
        if f'<INPUT TYPE="Hidden" NAME="ID" VALUE="{target.system_id}">' not in body:
            return "not the report of its system"
    elif "<TITLE>VLDR neighbor search results</TITLE>" not in body and \
            "<TITLE>VLDR near-coordinate search results</TITLE>" not in body:
        return "not a neighbour list"
    return None


def choose_targets(database, port, rng):
    """The URLs of the load, from the database: reports of systems,
    neighbours of systems with a distance and of points, and name searches
    that list several systems. Each is fetched once first; a URL whose first
    answer is not its kind of page is a failure of the test."""
    with sqlite3.connect(f"file:{database}?mode=ro", uri=True) as db:
        systems = [row[0] for row in db.execute("SELECT ID FROM Systems ORDER BY ID")]
        placed = [row[0] for row in db.execute(
            "SELECT OwnerID FROM Positions WHERE OwnerID % 100 = 0 AND Distance IS NOT NULL "
            "AND RA_hr IS NOT NULL AND Dec_deg IS NOT NULL ORDER BY OwnerID")]
    targets = [Target("report", f"/Scripts/sysview.exe?ID={i}", i)
               for i in rng.sample(systems, min(REPORTS_IN_MIX, len(systems)))]
    targets += [Target("neighbours", f"/Scripts/proxlist.exe?ID={i}&ly=15")
                for i in rng.sample(placed, min(NEIGHBOURS_IN_MIX, len(placed)))]
    targets += [Target("neighbours", "/Scripts/proxlist.exe?X=0&Y=0&Z=0&ly=20"),
                Target("neighbours", "/Scripts/proxlist.exe?X=3&Y=-2&Z=1&ly=12&minLY=4&minRAHour=6&maxRAHour=18")]
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=REQUEST_TIMEOUT_S)
    faults = []
    for target in targets:
        fault = body_fault(target, *fetch(connection, target.path))
        if fault:
            faults.append(f"{target.path}: {fault}")
    for word in NAME_CANDIDATES:
        target = Target("match list", f"/Scripts/sysview.exe?Name={word}")
        if body_fault(target, *fetch(connection, target.path)) is None:
            targets.append(target)
    connection.close()
    if not any(t.kind == "match list" for t in targets):
        faults.append("no name search gives a match list")
    return targets, faults


class Results:
    """Latencies and failures of the load, by phase (before or after the swap)."""

    def __init__(self):
        self.lock = threading.Lock()
        self.latencies = {"before": [], "after": []}
        self.failures = {"before": [], "after": []}

    def add(self, phase, latency_s, failure):
        with self.lock:
            self.latencies[phase].append(latency_s)
            if failure:
                self.failures[phase].append(failure)


def client_loop(port, targets, weights, deadline, budget, swapped, results, seed):
    """One client: a kept-alive connection, requests drawn from the mix
    until the deadline or until the shared request budget is spent."""
    rng = random.Random(seed)
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=REQUEST_TIMEOUT_S)
    while time.monotonic() < deadline and budget.take():
        target = rng.choices(targets, weights)[0]
        phase = "after" if swapped.is_set() else "before"
        started = time.monotonic()
        try:
            fault = body_fault(target, *fetch(connection, target.path))
        except (OSError, http.client.HTTPException) as error:
            fault = f"{type(error).__name__}: {error}"
            connection.close()
            connection = http.client.HTTPConnection("127.0.0.1", port, timeout=REQUEST_TIMEOUT_S)
        results.add(phase, time.monotonic() - started, f"{target.path}: {fault}" if fault else None)
    connection.close()


class Budget:
    """The most requests all clients together may send."""

    def __init__(self, count):
        self.left = count
        self.lock = threading.Lock()

    def take(self):
        with self.lock:
            if self.left <= 0:
                return False
            self.left -= 1
            return True


def weights_of(targets):
    """Weights that give each kind of URL its share of the load."""
    shares = {"report": SHARE_REPORT, "match list": SHARE_MATCH_LIST,
              "neighbours": 1 - SHARE_REPORT - SHARE_MATCH_LIST}
    counts = {kind: sum(1 for t in targets if t.kind == kind) for kind in shares}
    return [shares[t.kind] / counts[t.kind] for t in targets]


def percentile(sorted_values, fraction):
    if not sorted_values:
        return float("nan")
    return sorted_values[min(len(sorted_values) - 1, int(fraction * len(sorted_values)))]


def summary_line(label, latencies, failures, seconds):
    ordered = sorted(latencies)
    return (f"{label:<7} {len(ordered):>6} requests  {len(failures):>4} failures  "
            f"p50 {percentile(ordered, 0.50) * 1000:6.1f} ms  p99 {percentile(ordered, 0.99) * 1000:6.1f} ms  "
            f"{len(ordered) / seconds if seconds > 0 else 0:7.1f} req/s")


def children_cpu_s():
    """User and system time of every reaped child process so far (seconds)."""
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


# ---- the run --------------------------------------------------------------

def run(args):
    build = os.path.abspath(args.build)
    for needed in ("bin/sysview", "bin/proxlist", "lib/libvldrodbc.so", "lib/vldr_sqlite_ext.so"):
        if not os.path.exists(os.path.join(build, needed)):
            sys.exit(f"load test: {os.path.join(build, needed)} is missing (build it first)")
    folder = tempfile.mkdtemp(prefix="vldr-load-")
    server = None
    try:
        database = os.path.join(folder, "vldr.db")
        build_database(database)
        port = free_port()
        cpu_at_server_start = children_cpu_s()
        server = start_server(write_server_config(folder, port, build), port)
        rng = random.Random(args.seed)
        targets, faults = choose_targets(database, port, rng)
        for fault in faults:
            print(f"warm-up failure: {fault}")
        weights = weights_of(targets)
        kinds = {kind: sum(1 for t in targets if t.kind == kind) for kind in ("report", "match list", "neighbours")}
        print(f"load: {args.clients} clients, {args.seconds} s, URLs: {kinds}, on 127.0.0.1:{port}")

        # The replacement, published over the served file halfway.
        replacement = os.path.join(folder, "next.db")
        cpu_before_build = children_cpu_s()
        build_database(replacement)
        build_cpu_s = children_cpu_s() - cpu_before_build

        results = Results()
        swapped = threading.Event()
        budget = Budget(args.max_requests)
        started = time.monotonic()
        deadline = started + args.seconds
        clients = [threading.Thread(target=client_loop,
                                    args=(port, targets, weights, deadline, budget, swapped, results, args.seed + i))
                   for i in range(args.clients)]
        for client in clients:
            client.start()

        time.sleep(max(0.0, started + args.seconds / 2 - time.monotonic()))
        cpu_before_publish = children_cpu_s()
        subprocess.run([os.path.join(ROOT, "scripts", "publish-db"), "--lib", os.path.join(build, "lib"),
                        replacement, database], check=True)
        build_cpu_s += children_cpu_s() - cpu_before_publish
        swap_time = time.monotonic() - started
        swapped.set()

        for client in clients:
            client.join()
        elapsed = time.monotonic() - started
    finally:
        if server:
            stop_server(server)
        shutil.rmtree(folder, ignore_errors=True)
    # lighttpd has reaped every CGI process, and has now been reaped itself.
    server_cpu_s = children_cpu_s() - cpu_at_server_start - build_cpu_s

    before = results.latencies["before"]
    after = results.latencies["after"]
    failures = results.failures["before"] + results.failures["after"]
    print(f"database replaced at {swap_time:.1f} s")
    print(summary_line("before", before, results.failures["before"], swap_time))
    print(summary_line("after", after, results.failures["after"], elapsed - swap_time))
    print(summary_line("all", before + after, failures, elapsed))
    shown = {}
    for failure in failures:
        shown[failure] = shown.get(failure, 0) + 1
    for failure, count in sorted(shown.items(), key=lambda item: -item[1])[:20]:
        print(f"  failure x{count}: {failure}")
    total = len(before) + len(after)
    if total:
        print(f"server CPU (lighttpd and the programs): {server_cpu_s * 1000 / total:.1f} ms per request")
    ok = not faults and not failures and before and after
    print(f"load test: {1 if ok else 0} passed, {0 if ok else 1} failed")
    return 0 if ok else 1


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seconds", type=float, default=30, help="length of the load (default 30)")
    parser.add_argument("--clients", type=int, default=16, help="concurrent connections (default 16)")
    parser.add_argument("--max-requests", type=int, default=200000, help="most requests in all (default 200000)")
    parser.add_argument("--build", default=os.path.join(ROOT, "build"), help="build folder with bin/ and lib/")
    parser.add_argument("--seed", type=int, default=1, help="seed of the URL choice")
    args = parser.parse_args()
    # A terminated run still stops its server and removes its folder.
    signal.signal(signal.SIGTERM, lambda signum, frame: sys.exit(128 + signum))
    if args.seconds <= 0 or args.clients <= 0:
        parser.error("--seconds and --clients must be positive")
    return run(args)


if __name__ == "__main__":
    sys.exit(main())
