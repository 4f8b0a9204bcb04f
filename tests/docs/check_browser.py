#!/usr/bin/env python3
"""Opens every HTML page of an unpacked release package in headless Chromium.

Usage: check_browser.py PACKAGE_DIR SHOTS_DIR PROFILE_DIR

Drives Debian's chromium through its DevTools protocol on a pipe (no port,
no extra package), at the size of a 1000-pixel window zoomed to 200 %.
Fails on a console error or an exception, a request for anything outside
the package, a picture that did not decode, a link whose file or anchor is
missing, and a page that scrolls sideways. Saves the whole start page and the
whole colour selector's page (also under forced colours, as High Contrast
shows it) as PNG files in SHOTS_DIR. Prints one line per fault, exits 1 if any.
"""
import base64
import json
import os
import queue
import subprocess
import sys
import threading
import time
from pathlib import Path
from urllib.parse import unquote, urldefrag, urlparse

WAIT_SECONDS = 30
SHOTS = {"index.html": ["start-page.png"],
         "docs/colour-selector.html": ["action-page.png", "action-page-forced-colours.png"]}
PAGE_FACTS = """(() => ({
  images: [...document.images].map(i => [i.getAttribute('src'), i.complete && i.naturalWidth > 0]),
  links: [...document.querySelectorAll('a[href]')].map(a => a.href),
  ids: [...document.querySelectorAll('[id]')].map(e => e.id),
  styled: getComputedStyle(document.body).maxWidth !== 'none',
  sideways: document.documentElement.scrollWidth - document.documentElement.clientWidth,
}))()"""


class Chromium:
    """One headless browser on --remote-debugging-pipe: commands go in on its
    fd 3 and answers and events come out of its fd 4, each a JSON text ended
    by a zero byte."""

    def __init__(self, profile):
        command_read, self.command_write = os.pipe()
        self.answer_read, answer_write = os.pipe()
        flags = ["--headless", "--no-sandbox", "--remote-debugging-pipe", f"--user-data-dir={profile}",
                 "--disable-gpu", "--disable-dev-shm-usage", "--no-first-run", "--no-default-browser-check",
                 "--disable-background-networking", "--disable-component-update",
                 "--disable-sync", "--disable-extensions", "--mute-audio",
                 # Nothing reaches the network, whatever a page asks for.
                 "--host-resolver-rules=MAP * ~NOTFOUND", "about:blank"]
        # The pipe's ends become the browser's fds 3 and 4.
        self.process = subprocess.Popen(
            ["sh", "-c", f'exec "$0" "$@" 3<&{command_read} 4>&{answer_write}', "chromium", *flags],
            pass_fds=(command_read, answer_write), stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        os.close(command_read)
        os.close(answer_write)
        self.messages = queue.Queue()
        self.events = []
        self.next_id = 0
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        pending = b""
        while chunk := os.read(self.answer_read, 65536):
            pending += chunk
            *whole, pending = pending.split(b"\0")
            for message in whole:
                self.messages.put(json.loads(message))
        self.messages.put(None)

    def call(self, method, session=None, **params):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params}
        if session:
            message["sessionId"] = session
        os.write(self.command_write, json.dumps(message).encode() + b"\0")
        while True:
            answer = self._next()
            if answer.get("id") == self.next_id:
                if "error" in answer:
                    raise RuntimeError(f"{method}: {answer['error']}")
                return answer["result"]
            self.events.append(answer)

    def wait_for(self, method):
        for k, event in enumerate(self.events):
            if event.get("method") == method:
                del self.events[k]
                return event
        while True:
            event = self._next()
            if event.get("method") == method:
                return event
            self.events.append(event)

    def _next(self):
        message = self.messages.get(timeout=WAIT_SECONDS)
        if message is None:
            raise RuntimeError("chromium ended")
        return message

    def close(self):
        try:
            self.call("Browser.close")
        except (RuntimeError, OSError, queue.Empty):
            pass
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            os.killpg(self.process.pid, 9)  # the browser's own group, with its helpers
            self.process.wait()


def faults_of_events(events, package_url):
    """Console errors, exceptions and requests outside the package."""
    faults = []
    for event in events:
        method, params = event.get("method"), event.get("params", {})
        if method == "Runtime.consoleAPICalled" and params["type"] in ("error", "assert"):
            faults.append("console error: " + " ".join(str(a.get("value", a.get("description")))
                                                       for a in params["args"]))
        elif method == "Runtime.exceptionThrown":
            faults.append("exception: " + params["exceptionDetails"].get("text", ""))
        elif method == "Log.entryAdded" and params["entry"]["level"] == "error":
            faults.append(f"console error: {params['entry']['text']} {params['entry'].get('url', '')}")
        elif method == "Network.requestWillBeSent" and not params["request"]["url"].startswith(package_url):
            faults.append(f"request outside the package: {params['request']['url']}")
        elif method == "Network.loadingFailed":
            faults.append(f"a request failed: {params.get('errorText')}")
    return faults


def local_target(url, package, package_url):
    """The package's file that URL names, or None when it leaves the package."""
    if not url.startswith(package_url):
        return None
    return package / unquote(urlparse(url).path)[len(urlparse(package_url).path):]


def main(argv):
    package, shots, profile = Path(argv[1]).resolve(), Path(argv[2]), Path(argv[3])
    shots.mkdir(parents=True, exist_ok=True)
    package_url = package.as_uri() + "/"
    pages = sorted(p.relative_to(package).as_posix() for p in package.rglob("*.html"))
    faults, ids, links = [], {}, []
    started = time.monotonic()
    browser = Chromium(profile)
    try:
        target = browser.call("Target.createTarget", url="about:blank")["targetId"]
        session = browser.call("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
        for domain in ("Page", "Runtime", "Log", "Network"):
            browser.call(f"{domain}.enable", session)
        # A 1000 x 800 window at 200 %.
        browser.call("Emulation.setDeviceMetricsOverride", session, width=500, height=400,
                     deviceScaleFactor=2, mobile=False)
        for page in pages:
            browser.events = []
            url = package_url + page
            answer = browser.call("Page.navigate", session, url=url)
            if "errorText" in answer:
                faults.append(f"{page}: does not open: {answer['errorText']}")
                continue
            browser.wait_for("Page.loadEventFired")
            evaluated = browser.call("Runtime.evaluate", session, expression=PAGE_FACTS,
                                     returnByValue=True)
            if "exceptionDetails" in evaluated:
                raise RuntimeError(f"{page}: {evaluated['exceptionDetails']}")
            facts = evaluated["result"]["value"]
            faults += [f"{page}: {f}" for f in faults_of_events(browser.events, package_url)]
            faults += [f"{page}: picture {src} did not load" for src, shown in facts["images"] if not shown]
            if not facts["styled"]:
                faults.append(f"{page}: no stylesheet applies")
            if facts["sideways"] > 0:
                faults.append(f"{page}: scrolls sideways by {facts['sideways']} px at 200 %")
            ids[package / page] = set(facts["ids"])
            links += [(page, link) for link in facts["links"]]
            for k, name in enumerate(SHOTS.get(page, [])):
                if k:
                    browser.call("Emulation.setEmulatedMedia", session,
                                 features=[{"name": "forced-colors", "value": "active"}])
                size = browser.call("Page.getLayoutMetrics", session)["cssContentSize"]
                whole = dict(x=0, y=0, width=size["width"], height=size["height"], scale=1)
                shot = browser.call("Page.captureScreenshot", session, format="png", clip=whole,
                                    captureBeyondViewport=True)["data"]
                (shots / name).write_bytes(base64.b64decode(shot))
            browser.call("Emulation.setEmulatedMedia", session, features=[])
    except (RuntimeError, queue.Empty) as error:
        faults.append(f"chromium: {error or 'no answer within %d s' % WAIT_SECONDS}")
    finally:
        browser.close()

    for page, link in links:
        address, fragment = urldefrag(link)
        target = local_target(address, package, package_url)
        if target is None:
            faults.append(f"{page}: link {link} leaves the package")
        elif not target.is_file():
            faults.append(f"{page}: link {link}: no such file")
        elif fragment and fragment not in ids.get(target, set()):
            faults.append(f"{page}: link {link}: no anchor #{fragment} there")

    for fault in faults:
        print(fault)
    print(f"checked {len(pages)} pages and {len(links)} links in {time.monotonic() - started:.1f} s: "
          f"{len(faults)} faults; pictures in {shots}")
    return 1 if faults or not pages else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
