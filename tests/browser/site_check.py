"""Walks the served site in headless Chromium as a visitor would.

It searches for "Alpha" on the home page, sees the match list, opens the
Alpha Centauri report, checks its sections, submits the report's neighbour
form and sees the result list; then it opens the home page's map of the
Sun's neighbourhood, checks that the drawing is not blank and has one linked
dot per system of the same search's list, follows three dots to their
reports, turns and tilts the map once, and sees no error on the console.

    /usr/bin/python3 site_check.py SITE_URL SHOT_DIR [--no-neighbours]

Chromium is Debian's /usr/bin/chromium, driven through /usr/bin/chromedriver
by Debian's python3-selenium. Screenshots of every step go to SHOT_DIR. Every
request that does not go to 127.0.0.1 is sent to a refusing proxy and listed
at the end. Exits 0 when every step passed, 1 otherwise.
"""

import base64
import http.server
import os
import re
import shutil
import sys
import tempfile
import threading
import urllib.request

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support import expected_conditions
from selenium.webdriver.support.ui import WebDriverWait

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
STEP_TIMEOUT_S = 30          # seconds per navigation or wait
WINDOW_SIZE = (1000, 800)    # pixels

HOME_FIELDS = ["Name", "Catalog", "CatNo", "ID", "X", "Y", "Z", "ly", "minLY",
               "minRAHour", "maxDecSec", "Turn", "Tilt"]
MAP_BACKGROUND = (11, 16, 32)  # the map's background colour, #0b1020 (red, green, blue)
MAP_MIN_COLOURS = 8            # distinct colours a drawn map shows at the least
MAP_MIN_DRAWN_SHARE = 0.01     # share of the map's pixels that are not background, at the least
FOLLOWED_DOTS = 3
REPORT_SECTIONS = [
    "Proper names:", "Catalog numbers:", "Right Ascension and Declination:",
    "Distance from Sol:", "Galactic (X,Y,Z) coordinates in ly:", "Proper motion:",
    "What do all these fields mean?", "Data for A and B's orbit around one other:",
    "Period:", "Component A:", "Component B:", "Rigil Kentaurus", "Toliman",
    "Data for this star system were most recently updated on",
]


class CheckFailed(Exception):
    pass


def check(condition, message):
    if not condition:
        raise CheckFailed(message)


class RefusingProxy(http.server.ThreadingHTTPServer):
    """An HTTP proxy on 127.0.0.1 that answers 403 to every request and
    remembers what was asked for (self.refused, a list of request lines)."""

    daemon_threads = True

    def __init__(self):
        self.refused = []
        super().__init__(("127.0.0.1", 0), RefusingHandler)


class RefusingHandler(http.server.BaseHTTPRequestHandler):
    def refuse(self):
        self.server.refused.append(self.requestline)
        try:
            self.send_error(403, "blocked by the browser test")
        except OSError:      # Chromium gave up on the request first
            pass

    do_GET = do_POST = do_HEAD = do_PUT = do_DELETE = do_OPTIONS = do_CONNECT = refuse

    def log_message(self, *args):
        pass


def start_browser(proxy_port, profile_dir):
    """Starts headless Chromium with a fresh profile in profile_dir. Pages on
    127.0.0.1 load directly (Chromium never proxies loopback); every other
    address goes to the refusing proxy on proxy_port, and no host name is
    looked up. Returns the selenium driver; raises on failure."""
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for flag in ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                 "--disable-background-networking", "--disable-component-update",
                 "--disable-sync", "--no-first-run", "--disable-dev-shm-usage",
                 f"--user-data-dir={profile_dir}",
                 f"--window-size={WINDOW_SIZE[0]},{WINDOW_SIZE[1]}",
                 f"--proxy-server=http://127.0.0.1:{proxy_port}",
                 "--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1"]:
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(service=Service(executable_path=CHROMEDRIVER), options=options)
    driver.set_page_load_timeout(STEP_TIMEOUT_S)
    driver.set_script_timeout(STEP_TIMEOUT_S)
    return driver


def check_loads_only_from(driver, base):
    """The page in the window loaded every resource from the site itself."""
    urls = driver.execute_script(
        "return performance.getEntriesByType('resource').map((entry) => entry.name)")
    elsewhere = [url for url in urls if not url.startswith(f"{base}/")]
    check(not elsewhere, f"{driver.current_url} loads from elsewhere: {elsewhere}")


def screenshot(driver, shot_dir, name):
    """Writes a PNG of the whole page (not only the window) to SHOT_DIR/name.png."""
    metrics = driver.execute_cdp_cmd("Page.getLayoutMetrics", {})
    size = metrics["cssContentSize"]
    shot = driver.execute_cdp_cmd("Page.captureScreenshot", {
        "format": "png", "captureBeyondViewport": True,
        "clip": {"x": 0, "y": 0, "width": size["width"], "height": size["height"], "scale": 1},
    })
    with open(os.path.join(shot_dir, f"{name}.png"), "wb") as out:
        out.write(base64.b64decode(shot["data"]))
    print(f"   screenshot {name}.png")


def page_text(driver):
    return driver.execute_script("return document.body.innerText")


def click_and_wait_for_url(driver, element, pattern):
    """Clicks element and waits until the address matches the regular
    expression pattern; raises CheckFailed when it does not in time."""
    element.click()
    try:
        WebDriverWait(driver, STEP_TIMEOUT_S).until(expected_conditions.url_matches(pattern))
    except Exception:
        raise CheckFailed(f"the address did not become /{pattern}/ but stayed {driver.current_url}")


def links_to_reports(driver):
    return [a.text for a in driver.find_elements(By.CSS_SELECTOR, 'a[href^="sysview.exe?ID="]')]


def check_home_page(driver, base):
    print("1. home page")
    driver.get(f"{base}/")
    check("VLDR" in driver.title, f'unexpected home page title "{driver.title}"')
    for field in HOME_FIELDS:
        check(driver.find_elements(By.CSS_SELECTOR, f'[name="{field}"]'),
              f'home page has no "{field}" field')


def check_name_search(driver):
    print('2. search for "Alpha"')
    box = driver.find_element(By.CSS_SELECTOR, '#name-search input[name="Name"]')
    box.clear()
    box.send_keys("Alpha")
    click_and_wait_for_url(driver, driver.find_element(By.CSS_SELECTOR, '#name-search input[type="submit"]'),
                           r"sysview\.exe\?Name=Alpha")
    matches = page_text(driver)
    check(re.search(r'\d+ stars found with a name matching "Alpha"', matches),
          f'no match list for "Alpha":\n{matches}')
    names = links_to_reports(driver)
    check(len(names) >= 2, f"the match list has {len(names)} links")
    check(any("Alpha Centauri" in n for n in names), f"no Alpha Centauri in {names}")
    check(any("Sirius" in n for n in names), f"no Sirius in {names}")


def check_report(driver):
    print("3. follow the link to Alpha Centauri")
    link = driver.find_elements(By.PARTIAL_LINK_TEXT, "Alpha Centauri")
    check(link, "the match list has no link to Alpha Centauri")
    click_and_wait_for_url(driver, link[0], r"sysview\.exe\?ID=\d+00$")
    title = driver.find_element(By.TAG_NAME, "h1").text
    check("Alpha Centauri" in title, f'the report\'s title is "{title}"')
    report = page_text(driver)
    for section in REPORT_SECTIONS:
        check(section in report, f'the report lacks "{section}":\n{report}')


def check_static_pages(base):
    for page in ["fields.html", "flare.html"]:
        with urllib.request.urlopen(f"{base}/{page}", timeout=STEP_TIMEOUT_S) as response:
            check(response.status == 200, f"/{page} answered {response.status}")


def check_neighbour_search(driver):
    print("4. neighbour search from the report")
    forms = driver.find_elements(By.CSS_SELECTOR, 'form[action="/Scripts/proxlist.exe"]')
    check(forms, "the report has no neighbour form")
    radius = forms[0].find_element(By.CSS_SELECTOR, 'input[name="ly"]')
    radius.clear()
    radius.send_keys("10")
    click_and_wait_for_url(driver, forms[0].find_element(By.CSS_SELECTOR, 'input[type="submit"]'),
                           r"proxlist\.exe\?ID=\d+&ly=10")
    listing = page_text(driver)
    check(re.search(r"Stars within 10 light-years of Alpha Centauri", listing),
          f"no neighbour heading:\n{listing}")
    results = links_to_reports(driver)
    check(len(results) >= 3, f"the neighbour list has {len(results)} entries:\n{listing}")
    check("Barnard's Star" in results and "Sol" in results,
          f"Barnard's Star and Sol are not among the neighbours: {results}")
    check("Alpha Centauri" not in results, "the centre system is listed among its own neighbours")
    print(f"   {len(results)} neighbours")


def drawing_pixels(driver):
    """Renders the page's map (its SVG element, as the browser serializes it)
    into a canvas and returns [number of distinct colours, share of pixels
    that are not the background]."""
    return driver.execute_async_script("""
        const done = arguments[arguments.length - 1];
        const svg = document.querySelector("svg.map");
        if (!svg) { done(null); return; }
        const image = new Image();
        const text = new XMLSerializer().serializeToString(svg);
        image.onload = () => {
            const canvas = document.createElement("canvas");
            canvas.width = image.width; canvas.height = image.height;
            const context = canvas.getContext("2d");
            context.drawImage(image, 0, 0);
            const data = context.getImageData(0, 0, canvas.width, canvas.height).data;
            const colours = new Set();
            let drawn = 0;
            for (let i = 0; i < data.length; i += 4) {
                colours.add((data[i] << 16) | (data[i + 1] << 8) | data[i + 2]);
                if (data[i] !== %d || data[i + 1] !== %d || data[i + 2] !== %d) drawn++;
            }
            done([colours.size, drawn / (data.length / 4)]);
        };
        image.onerror = () => done(null);
        image.src = "data:image/svg+xml;charset=utf-8," + encodeURIComponent(text);
    """ % MAP_BACKGROUND)


def dot_ids(driver):
    return [re.sub(r".*ID=", "", a.get_dom_attribute("href"))
            for a in driver.find_elements(By.CSS_SELECTOR, "svg.map a.star")]


def console_errors(driver):
    """Errors on the browser's console since the last call (a missing
    favicon, which the site does not have, aside)."""
    return [entry["message"] for entry in driver.get_log("browser")
            if entry["level"] == "SEVERE" and "favicon.ico" not in entry["message"]]


def check_map(driver, base, shot_dir):
    print("5. the map of the Sun's neighbourhood from the home page")
    driver.get(f"{base}/")
    click_and_wait_for_url(driver, driver.find_element(By.ID, "sun-map"), r"proxmap\.exe\?ID=100&ly=15$")
    check("Stars within 15 light-years of Sol" in page_text(driver), f"no map heading:\n{page_text(driver)}")
    check_loads_only_from(driver, base)
    screenshot(driver, shot_dir, "5-map")
    pixels = drawing_pixels(driver)
    check(pixels is not None, "the map's drawing does not render as an image")
    check(pixels[0] >= MAP_MIN_COLOURS and pixels[1] >= MAP_MIN_DRAWN_SHARE,
          f"the map looks blank: {pixels[0]} colours, {pixels[1]:.4f} of it drawn")
    print(f"   the drawing shows {pixels[0]} colours on {pixels[1]:.1%} of it")
    drawn = dot_ids(driver)
    with urllib.request.urlopen(f"{base}/Scripts/proxlist.exe?ID=100&ly=15", timeout=STEP_TIMEOUT_S) as response:
        listed = re.findall(r'<BR><A HREF="sysview\.exe\?ID=(\d+)">', response.read().decode("cp1252"))
    check(drawn == listed and len(drawn) >= FOLLOWED_DOTS,
          f"the map's dots {drawn} are not the list's systems {listed}")
    print(f"   {len(drawn)} dots, as many as the list has systems")
    map_url = driver.current_url
    for index in range(FOLLOWED_DOTS):
        dot = driver.find_elements(By.CSS_SELECTOR, "svg.map a.star circle")[index]
        name = driver.find_elements(By.CSS_SELECTOR, "svg.map a.star title")[index].get_attribute("textContent")
        driver.execute_script("arguments[0].dispatchEvent(new MouseEvent('click', "
                              "{bubbles: true, cancelable: true, view: window}))", dot)
        try:
            WebDriverWait(driver, STEP_TIMEOUT_S).until(expected_conditions.url_matches(rf"sysview\.exe\?ID={drawn[index]}$"))
        except Exception:
            raise CheckFailed(f"dot {index + 1} did not lead to sysview.exe?ID={drawn[index]} but to {driver.current_url}")
        title = driver.find_element(By.TAG_NAME, "h1").text
        check(title and title in name, f'dot "{name}" led to the report titled "{title}"')
        print(f"   dot {index + 1} leads to the report of {title}")
        driver.get(map_url)
    first = driver.find_element(By.CSS_SELECTOR, "svg.map a.star circle").get_attribute("cx")
    click_and_wait_for_url(driver, driver.find_element(By.PARTIAL_LINK_TEXT, "counterclockwise"), r"Turn=60&Tilt=30$")
    turned = driver.find_element(By.CSS_SELECTOR, "svg.map a.star circle").get_attribute("cx")
    check(turned != first, "turning the map did not move its first dot")
    check(dot_ids(driver) == drawn, "the turned map has other dots")
    click_and_wait_for_url(driver, driver.find_element(By.LINK_TEXT, "Tilt up"), r"Turn=60&Tilt=60$")
    check(dot_ids(driver) == drawn, "the tilted map has other dots")
    screenshot(driver, shot_dir, "6-map-turned-and-tilted")
    errors = console_errors(driver)
    check(not errors, f"errors on the console: {errors}")


def walk(driver, base, shot_dir, neighbours):
    """The visitor's walk, step by step, a screenshot after each step."""
    check_home_page(driver, base)
    check_loads_only_from(driver, base)
    screenshot(driver, shot_dir, "1-home")
    check_name_search(driver)
    check_loads_only_from(driver, base)
    screenshot(driver, shot_dir, "2-match-list")
    check_report(driver)
    check_loads_only_from(driver, base)
    screenshot(driver, shot_dir, "3-report")
    check_static_pages(base)
    check(neighbours, "proxlist is missing (build/bin/proxlist was not built), so the report's "
                      "neighbour form cannot be checked")
    check_neighbour_search(driver)
    check_loads_only_from(driver, base)
    screenshot(driver, shot_dir, "4-neighbours")
    check_map(driver, base, shot_dir)


def report_refused(request_lines):
    """Lists, per host, how many requests to elsewhere the proxy refused
    (Chromium's own, such as autofill and its search engine's preconnect)."""
    hosts = {}
    for line in request_lines:
        target = line.split(" ")[1] if " " in line else line
        host = re.sub(r"^[a-z]+://", "", target).split("/")[0]
        hosts[host] = hosts.get(host, 0) + 1
    for host, count in sorted(hosts.items()):
        print(f"   blocked {count} request(s) to {host}")


def main(argv):
    args = [a for a in argv[1:] if not a.startswith("--")]
    if len(args) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    base, shot_dir = args
    neighbours = "--no-neighbours" not in argv

    proxy = RefusingProxy()
    threading.Thread(target=proxy.serve_forever, daemon=True).start()
    profile_dir = tempfile.mkdtemp(prefix="vldr-chromium-")
    driver = None
    failed = False
    try:
        driver = start_browser(proxy.server_address[1], profile_dir)
        walk(driver, base, shot_dir, neighbours)
    except Exception as error:
        failed = True
        print(f"FAILED: {error}", file=sys.stderr)
        if driver is not None:
            try:
                screenshot(driver, shot_dir, "failure")
            except Exception:
                pass
    finally:
        if driver is not None:
            driver.quit()
        proxy.shutdown()
        shutil.rmtree(profile_dir, ignore_errors=True)
    report_refused(proxy.refused)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
