#!/usr/bin/env python3
"""Load test: the site under lighttpd on 127.0.0.1, with the programs run
as CGI and then as FastCGI responders that lighttpd spawns, each mode in
turn: concurrent clients over a mix of report, match-list and neighbour
URLs, and the database replaced twice, at a third and at two thirds of
the time, as an operator does it: with scripts/publish-db (a checked copy
beside the served file, renamed over it).

Every response must be HTTP 200 with a complete body of the kind its URL
asks for. Prints requests, failures, p50/p99 latency and requests per
second, in all and between the swaps; exits 1 on any failure. Then, per
mode, the rate of single URLs at the same concurrency with ab (the rich
report page, a neighbour page of 100 lines, and a small static file as the
ceiling of the server itself), again with two swaps during each, every
response checked for status and length; and in FastCGI mode, that a
responder killed is replaced by lighttpd without a failed request.

    tests/load/load_test.py [--seconds N] [--clients N] [--build DIR]
                            [--modes cgi,fastcgi] [--rate-seconds N] [--results FILE]

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
        subprocess.run([os.path.join(ROOT, "importer", "import-catalogues"), path],
                       stdout=report, stderr=subprocess.STDOUT, check=True)


def write_server_config(folder, port, build, mode):
    """Writes the programs' links, the data source and a minimal lighttpd
    configuration serving them at /Scripts/, as CGI or (mode "fastcgi") as
    FastCGI responders that lighttpd spawns, one per processor and program;
    returns its path."""
    cgi = os.path.join(folder, "cgi-bin")
    odbc = os.path.join(folder, "odbc")
    if not os.path.isdir(cgi):
        os.makedirs(cgi)
        for program in ("sysview", "proxlist"):
            os.symlink(os.path.join(build, "bin", program), os.path.join(cgi, program + ".exe"))
        subprocess.run([os.path.join(ROOT, "db", "write-dsn"), os.path.join(folder, "vldr.db"),
                        os.path.join(build, "lib"), odbc], check=True)
    environment = f"""(
        "ODBCSYSINI" => "{odbc}",
        "ODBCINI" => "{os.path.join(odbc, 'odbc.ini')}",
    )"""
    if mode == "fastcgi":
        responders = "".join(f"""
    "/Scripts/{program}.exe" => ((
        "socket" => "{os.path.join(folder, program + '.socket')}",
        "bin-path" => "{os.path.join(cgi, program + '.exe')}",
        "bin-environment" => {environment},
        "max-procs" => {os.cpu_count() or 1},
        "check-local" => "disable",
    )),""" for program in ("sysview", "proxlist"))
        programs = f"""server.modules += ("mod_fastcgi")
fastcgi.server = ({responders}
)
"""
    else:
        programs = f"""alias.url = ("/Scripts/" => "{cgi}/")
$HTTP["url"] =^ "/Scripts/" {{
    cgi.assign = (".exe" => "")
    setenv.add-environment = {environment}
}}
"""
    config = os.path.join(folder, f"lighttpd-{mode}.conf")
    with open(config, "w") as f:
        f.write(f"""server.modules = ("mod_alias", "mod_setenv", "mod_cgi")
server.bind = "127.0.0.1"
server.port = {port}
server.document-root = "{os.path.join(ROOT, 'site')}"
server.errorlog = "{os.path.join(folder, 'lighttpd-error.log')}"
server.follow-symlink = "enable"
server.max-connections = 256
""" + programs)
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


PHASES = ("before", "between", "after")  # the swaps done: none, one, both


class Results:
    """Latencies and failures of the load, by phase (swaps done so far)."""

    def __init__(self):
        self.lock = threading.Lock()
        self.latencies = {phase: [] for phase in PHASES}
        self.failures = {phase: [] for phase in PHASES}

    def add(self, phase, latency_s, failure):
        with self.lock:
            self.latencies[phase].append(latency_s)
            if failure:
                self.failures[phase].append(failure)


def client_loop(port, targets, weights, deadline, budget, swaps, results, seed):
    """One client: a kept-alive connection, requests drawn from the mix
    until the deadline or until the shared request budget is spent."""
    rng = random.Random(seed)
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=REQUEST_TIMEOUT_S)
    while time.monotonic() < deadline and budget.take():
        target = rng.choices(targets, weights)[0]
        phase = PHASES[swaps.done]
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


def server_cpu_s(server):
    """User and system time of lighttpd, of the processes it has reaped (CGI
    runs) and of its live children (FastCGI responders), in seconds."""
    def ticks(pid, with_reaped):
        with open(f"/proc/{pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        # utime, stime, cutime, cstime are fields 14 to 17 of stat(5).
        return sum(int(v) for v in fields[11:15 if with_reaped else 13])
    total = ticks(server.pid, True)
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as f:
                parent = int(f.read().rsplit(")", 1)[1].split()[1])
            if parent == server.pid:
                total += ticks(entry, False)
        except (OSError, ValueError):
            pass
    return total / os.sysconf("SC_CLK_TCK")


class Swaps:
    """The database replacements of a run: each publishes replacement (a
    database built beside the served one) over the served file with
    scripts/publish-db when due."""

    def __init__(self, database, replacement, count, build):
        self.database = database
        self.replacement = replacement
        self.lib = os.path.join(build, "lib")
        self.count = count
        self.done = 0

    def swap(self):
        subprocess.run([os.path.join(ROOT, "scripts", "publish-db"), "--lib", self.lib,
                        self.replacement, self.database], check=True, stdout=subprocess.DEVNULL)
        self.done += 1


def swap_during(seconds, swaps):
    """Starts a thread that replaces the database at a third and at two
    thirds of the next seconds; returns it (join it after the load)."""
    def run():
        started = time.monotonic()
        for i in range(swaps.count):
            time.sleep(max(0.0, started + seconds * (i + 1) / (swaps.count + 1) - time.monotonic()))
            swaps.swap()
    thread = threading.Thread(target=run)
    thread.start()
    return thread


def rate_of(url, clients, seconds, expected_length):
    """ab at clients kept-alive connections on url for seconds: (requests,
    requests per second, p50 ms, p99 ms, failures), where a failure is a
    response that is not HTTP 200 or not of the expected length (bytes)."""
    out = subprocess.run(["ab", "-q", "-k", "-c", str(clients), "-t", str(seconds), "-n", "100000000",
                          "-s", str(REQUEST_TIMEOUT_S), url],
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True).stdout

    def number(label, default=0.0):
        for line in out.splitlines():
            if line.strip().startswith(label):
                return float(line.split(":", 1)[1].split()[0]) if ":" in line else float(line.split()[1])
        return default

    length = number("Document Length:")
    failures = number("Failed requests:") + number("Non-2xx responses:")
    if length != expected_length:
        failures = max(failures, 1)
    return (int(number("Complete requests:")), number("Requests per second:"), number("50%"), number("99%"),
            int(failures))


def restart_check(port, target, folder):
    """Kills one sysview responder and sends requests: every one must be
    answered, and lighttpd must have started a new responder. Returns the
    faults."""
    pids = responders(folder, "sysview")
    if not pids:
        return ["no sysview responder is running"]
    os.kill(pids[0], signal.SIGKILL)
    faults = []
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=REQUEST_TIMEOUT_S)
    for _ in range(20):
        fault = body_fault(target, *fetch(connection, target.path))
        if fault:
            faults.append(f"after a responder was killed: {target.path}: {fault}")
    connection.close()
    if len(responders(folder, "sysview")) != len(pids) or pids[0] in responders(folder, "sysview"):
        faults.append(f"the killed responder was not replaced: {pids} -> {responders(folder, 'sysview')}")
    return faults


def responders(folder, program):
    """Process ids of the running FastCGI responders of program in folder."""
    path = os.path.join(folder, "cgi-bin", program + ".exe")
    pids = []
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/cmdline", "rb") as f:
                    if f.read().split(b"\0")[0].decode() == path:
                        pids.append(int(entry))
            except OSError:
                pass
    return sorted(pids)


# ---- the run --------------------------------------------------------------

def run_mode(args, build, folder, database, replacement, mode):
    """One mode's load, rates and checks; returns (ok, the lines of its results table)."""
    port = free_port()
    server = start_server(write_server_config(folder, port, build, mode), port)
    try:
        rng = random.Random(args.seed)
        targets, faults = choose_targets(database, port, rng)
        for fault in faults:
            print(f"{mode}: warm-up failure: {fault}")
        weights = weights_of(targets)
        kinds = {kind: sum(1 for t in targets if t.kind == kind) for kind in ("report", "match list", "neighbours")}
        print(f"== {mode}: {args.clients} clients, {args.seconds} s, URLs: {kinds}, on 127.0.0.1:{port}")

        swaps = Swaps(database, replacement, 2, build)

        results = Results()
        budget = Budget(args.max_requests)
        cpu_at_start = server_cpu_s(server)
        started = time.monotonic()
        deadline = started + args.seconds
        clients = [threading.Thread(target=client_loop,
                                    args=(port, targets, weights, deadline, budget, swaps, results, args.seed + i))
                   for i in range(args.clients)]
        swapper = swap_during(args.seconds, swaps)
        for client in clients:
            client.start()
        for client in clients:
            client.join()
        swapper.join()
        elapsed = time.monotonic() - started
        mix_cpu_s = server_cpu_s(server) - cpu_at_start

        # The rates of single URLs, each with two swaps during it.
        rich = max((t for t in targets if t.kind == "report"), key=lambda t: len(fetch_once(port, t.path)))
        rates = []
        for label, path in (("static file (ceiling)", "/flare.html"),
                            (f"sysview rich report ({rich.path.split('?')[1]})", rich.path),
                            ("proxlist 100 lines (X=0&Y=0&Z=0&ly=30)", NEIGHBOURS_100)):
            expected = len(fetch_once(port, path).encode("windows-1252"))
            if path != "/flare.html":
                rate_swaps = Swaps(database, replacement, 2, build)
                swapper = swap_during(args.rate_seconds, rate_swaps)
            rates.append((label,) + rate_of(f"http://127.0.0.1:{port}{path}", args.clients, args.rate_seconds, expected))
            if path != "/flare.html":
                swapper.join()
        if mode == "fastcgi":
            faults += restart_check(port, rich, folder)
    finally:
        stop_server(server)

    failures = sum((results.failures[phase] for phase in PHASES), [])
    latencies = sum((results.latencies[phase] for phase in PHASES), [])
    for phase in PHASES:
        print(summary_line(phase, results.latencies[phase], results.failures[phase], elapsed / len(PHASES)))
    print(summary_line("all", latencies, failures, elapsed))
    shown = {}
    for failure in failures:
        shown[failure] = shown.get(failure, 0) + 1
    for failure, count in sorted(shown.items(), key=lambda item: -item[1])[:20]:
        print(f"  failure x{count}: {failure}")
    for fault in faults:
        print(f"  fault: {fault}")
    if latencies:
        print(f"server CPU during the mix (lighttpd and the programs): {mix_cpu_s * 1000 / len(latencies):.2f} ms per request")
    ordered = sorted(latencies)
    table = [f"| {mode} | mix of {sum(kinds.values())} URLs, 2 swaps | {len(ordered)} | "
             f"{len(ordered) / elapsed:.0f} | {percentile(ordered, 0.5) * 1000:.1f} | "
             f"{percentile(ordered, 0.99) * 1000:.1f} | {len(failures)} |"]
    rate_failures = 0
    for label, count, per_second, p50, p99, failed in rates:
        print(f"{mode:<7} {label:<48} {count:>7} requests {failed:>4} failures  p50 {p50:4.0f} ms  "
              f"p99 {p99:4.0f} ms  {per_second:7.1f} req/s")
        swapped = "" if label.startswith("static") else ", 2 swaps"
        table.append(f"| {mode} | {label}{swapped} | {count} | {per_second:.0f} | {p50:.0f} | {p99:.0f} | {failed} |")
        rate_failures += failed
    ok = not faults and not failures and not rate_failures and all(results.latencies[phase] for phase in PHASES)
    return ok, table, {label: per_second for label, _, per_second, *_ in rates}


def fetch_once(port, path):
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=REQUEST_TIMEOUT_S)
    try:
        return fetch(connection, path)[2]
    finally:
        connection.close()


NEIGHBOURS_100 = "/Scripts/proxlist.exe?X=0&Y=0&Z=0&ly=30"
RESULTS_MARK = "<!-- load: written by tests/load/run --results, kept by bench/run-bench -->"


def target_lines(rates, tables):
    """Each target of the FastCGI figures with the figure and whether it is met."""
    fastcgi, cgi = rates.get("fastcgi", {}), rates.get("cgi", {})

    def rate(prefix, of):
        return next((v for label, v in of.items() if label.startswith(prefix)), 0.0)
    rich, rich_cgi = rate("sysview rich", fastcgi), rate("sysview rich", cgi)
    neighbours = rate("proxlist 100", fastcgi)
    rows = [row for table in tables for row in table if row.startswith("| fastcgi |") and "static" not in row]
    worst_p99 = max((float(row.split("|")[6]) for row in rows), default=float("nan"))
    failures = sum(int(row.split("|")[7]) for table in tables for row in table)

    def verdict(ok):
        return "met" if ok else "not met"
    return [f"rich report >= 2,000 req/s: {rich:.0f} ({verdict(rich >= 2000)})",
            f"rich report >= 6 x CGI: {rich / rich_cgi if rich_cgi else 0:.1f} x "
            f"({verdict(rich_cgi and rich >= 6 * rich_cgi)})",
            f"proxlist 100 lines >= 1,000 req/s: {neighbours:.0f} ({verdict(neighbours >= 1000)})",
            f"p99 <= 20 ms: worst {worst_p99:.0f} ms ({verdict(worst_p99 <= 20)})",
            f"0 failures: {failures} ({verdict(failures == 0)})"]


def write_results(path, args, tables, rates):
    """Replaces the load section of the results file (from its mark to the end)."""
    try:
        with open(path) as f:
            text = f.read()
    except OSError:
        text = ""
    at = text.find(RESULTS_MARK)
    if at >= 0:
        text = text[:at]
    lines = [RESULTS_MARK, "## Behind lighttpd: CGI and FastCGI", "",
             f"Written by `tests/load/run --results` on {time.strftime('%Y-%m-%d %H:%M UTC', time.gmtime())}: "
             f"{args.clients} connections, {os.cpu_count()} processors, the database of the shipped catalogues; "
             f"the mix for {args.seconds:g} s, each single URL with ab for {args.rate_seconds:g} s. "
             "FastCGI: lighttpd spawns one responder per processor and program. "
             f"Load average when the figures were written: {os.getloadavg()[0]:.1f} "
             "(above the processor count, other work shared the machine and the figures are low).", "",
             "| mode | load | requests | req/s | p50 ms | p99 ms | failures |", "|---|---|---:|---:|---:|---:|---:|"]
    lines += sum(tables, [])
    cgi, fastcgi = rates.get("cgi", {}), rates.get("fastcgi", {})
    ratios = [f"- {label}: FastCGI {fastcgi[label] / cgi[label]:.1f} x CGI"
              for label in fastcgi if label in cgi and cgi[label] > 0 and not label.startswith("static")]
    if ratios:
        lines += ["", *ratios]
    lines += ["", "Targets on 2 cores (FastCGI): " + "; ".join(target_lines(rates, tables))]
    with open(path, "w") as f:
        f.write(text + "\n".join(lines) + "\n")


def run(args):
    build = os.path.abspath(args.build)
    for needed in ("bin/sysview", "bin/proxlist", "lib/libvldrodbc.so", "lib/vldr_sqlite_ext.so"):
        if not os.path.exists(os.path.join(build, needed)):
            sys.exit(f"load test: {os.path.join(build, needed)} is missing (build it first)")
    if shutil.which("ab") is None:
        sys.exit("load test: ab is missing (apt-get install apache2-utils)")
    folder = tempfile.mkdtemp(prefix="vldr-load-")
    ok, tables, rates = True, [], {}
    try:
        database = os.path.join(folder, "vldr.db")
        build_database(database)
        # The replacement: built anew by the importer, beside the served file.
        replacement = os.path.join(folder, "next.db")
        build_database(replacement)
        for mode in args.modes.split(","):
            mode_ok, table, mode_rates = run_mode(args, build, folder, database, replacement, mode)
            ok = ok and mode_ok
            tables.append(table)
            rates[mode] = mode_rates
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    print("\n".join(sum(tables, [])))
    if args.results:
        write_results(args.results, args, tables, rates)
    print(f"load test: {1 if ok else 0} passed, {0 if ok else 1} failed")
    return 0 if ok else 1


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seconds", type=float, default=30, help="length of the load (default 30)")
    parser.add_argument("--clients", type=int, default=16, help="concurrent connections (default 16)")
    parser.add_argument("--max-requests", type=int, default=200000, help="most requests in all (default 200000)")
    parser.add_argument("--build", default=os.path.join(ROOT, "build"), help="build folder with bin/ and lib/")
    parser.add_argument("--seed", type=int, default=1, help="seed of the URL choice")
    parser.add_argument("--modes", default="cgi,fastcgi", help="modes to run, in turn (default cgi,fastcgi)")
    parser.add_argument("--rate-seconds", type=float, default=5, help="length of each single-URL rate (default 5)")
    parser.add_argument("--results", help="write the figures into this results file (bench/RESULTS.md)")
    args = parser.parse_args()
    # A terminated run still stops its server and removes its folder.
    signal.signal(signal.SIGTERM, lambda signum, frame: sys.exit(128 + signum))
    if args.seconds <= 0 or args.clients <= 0 or args.rate_seconds <= 0:
        parser.error("--seconds, --rate-seconds and --clients must be positive")
    if not set(args.modes.split(",")) <= {"cgi", "fastcgi"}:
        parser.error("--modes takes cgi, fastcgi or both")
    return run(args)


if __name__ == "__main__":
    sys.exit(main())
