"""Compares what a web server answers with the installed site's own files
and with the programs run directly.

    python3 compare_responses.py [--types-as-sent] SITE_DIR BASE_URL

SITE_DIR is a folder laid out by scripts/install-site; BASE_URL the address
of a web server serving it (http://127.0.0.1:PORT). Each static page must
come back byte for byte as the file in SITE_DIR/site; each program address
must come back with the body the program writes after its CGI header, byte
for byte, and the content type of that header (with the site's charset,
windows-1252, where the server adds one). With --types-as-sent the
program addresses must keep the content type exactly as the program sent
it: lighttpd passes a CGI or FastCGI header on unchanged, the charset
being declared by the pages themselves. Prints one line per address and
exits 0 when all agree, 1 otherwise.
"""

import os
import subprocess
import sys
import urllib.error
import urllib.parse
import urllib.request

SITE_CHARSET = "windows-1252"
FETCH_TIMEOUT_S = 30         # seconds per request
PROGRAM_TIMEOUT_S = 30       # seconds per program run

# Address, and the file (static page) or program that must answer it.
STATIC_PAGES = [
    ("/", "index.html", "text/html"),
    ("/fields.html", "fields.html", "text/html"),
    ("/flare.html", "flare.html", "text/html"),
    ("/style.css", "style.css", "text/css"),
    ("/downloads/vldr-catalogue.xml", "downloads/vldr-catalogue.xml", "text/xml; charset=UTF-8"),
    ("/downloads/vldr-catalogue.csv", "downloads/vldr-catalogue.csv", "text/csv; charset=UTF-8"),
]
PROGRAM_REQUESTS = [
    ("a report", "sysview", "ID=7145700"),
    ("a match list", "sysview", "Name=Centauri"),
    ("a neighbour search", "proxlist", "ID=7145700&ly=10"),
    ("a neighbourhood map", "proxmap", "ID=100&ly=15&Turn=60"),
    ("a refused map view", "proxmap", "Tilt=91"),
    ("a refused request", "sysview", "ID=abc"),
    ("a cone search", "conesearch", "RA=219.9&DEC=-60.8&SR=2&VERB=3"),
    ("a refused cone search", "conesearch", "RA=abc&DEC=0&SR=1"),
]


def fetch(url):
    """GETs url; returns (status, content type, body bytes)."""
    try:
        with urllib.request.urlopen(url, timeout=FETCH_TIMEOUT_S) as response:
            return response.status, response.headers.get("Content-Type", ""), response.read()
    except urllib.error.HTTPError as error:
        return error.code, error.headers.get("Content-Type", ""), error.read()


def run_program(site, program, query, host):
    """Runs SITE/cgi-bin/PROGRAM.exe as a web server would (its exit status
    does not matter: a refused request exits 255 after a complete answer); returns
    (content type of its CGI header, body bytes after the header). host is
    the Host header the request is sent with (the cone search's URLs name it)."""
    env = {
        "PATH": "/usr/bin:/bin",
        "GATEWAY_INTERFACE": "CGI/1.1",
        "REQUEST_METHOD": "GET",
        "QUERY_STRING": query,
        "SCRIPT_NAME": f"/Scripts/{program}.exe",
        "HTTP_HOST": host,
        "ODBCSYSINI": os.path.join(site, "odbc"),
        "ODBCINI": os.path.join(site, "odbc", "odbc.ini"),
    }
    output = subprocess.run([os.path.join(site, "cgi-bin", f"{program}.exe")], env=env,
                            stdout=subprocess.PIPE, timeout=PROGRAM_TIMEOUT_S).stdout
    for separator in (b"\r\n\r\n", b"\n\n"):
        head, found, body = output.partition(separator)
        if found:
            break
    else:
        raise ValueError(f"{program} wrote no CGI header")
    content_type = ""
    for line in head.decode("ascii").splitlines():
        name, _, value = line.partition(":")
        if name.strip().lower() == "content-type":
            content_type = value.strip()
    return content_type, body


def with_site_charset(content_type):
    """The content type a server configured with the site's charset sends
    for a response of content_type."""
    if "charset=" in content_type or content_type.split(";")[0] not in ("text/html", "text/plain"):
        return content_type
    return f"{content_type}; charset={SITE_CHARSET}"


def same_type(sent, expected):
    normal = lambda t: t.replace(" ", "").lower()
    return normal(sent) == normal(expected)


def compare(what, url, status, sent_type, body, expected_type, expected_body):
    """Prints one line saying whether the response agrees; returns True if so."""
    problems = []
    if status != 200:
        problems.append(f"status {status}")
    if not same_type(sent_type, expected_type):
        problems.append(f"content type {sent_type!r}, expected {expected_type!r}")
    if body != expected_body:
        problems.append(f"{len(body)} bytes differ from the {len(expected_body)} expected")
    if problems:
        print(f"   FAIL {what} {url}: {'; '.join(problems)}")
        if body != expected_body:
            print("      first 300 bytes served:", body[:300])
        return False
    print(f"   ok   {what} {url} ({len(body)} bytes, {sent_type})")
    return True


def main(argv):
    as_sent = "--types-as-sent" in argv[1:2]
    if as_sent:
        argv = argv[:1] + argv[2:]
    if len(argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    site, base = argv[1], argv[2].rstrip("/")
    program_type = (lambda sent: sent) if as_sent else with_site_charset
    agreed = True
    for path, name, media_type in STATIC_PAGES:
        with open(os.path.join(site, "site", name), "rb") as page:
            expected = page.read()
        status, sent_type, body = fetch(base + path)
        agreed &= compare("page", path, status, sent_type, body,
                          with_site_charset(media_type), expected)
    for what, program, query in PROGRAM_REQUESTS:
        path = f"/Scripts/{program}.exe?{query}"
        expected_type, expected = run_program(site, program, query, urllib.parse.urlsplit(base).netloc)
        status, sent_type, body = fetch(base + path)
        agreed &= compare(what, path, status, sent_type, body,
                          program_type(expected_type), expected)
    return 0 if agreed else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
