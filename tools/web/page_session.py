"""The page in headless Chromium, served by python3 -m http.server on 127.0.0.1.

Shared by the end-to-end check (tests/e2e/web/check_page.py) and scripts/run --web
(screenshot.py).
"""
import base64
import json
import os
import re
import subprocess
import sys
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.support.ui import WebDriverWait

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"


class Server:
    """python3 -m http.server on a free port of 127.0.0.1, serving one folder."""

    def __init__(self, folder):
        self.process = subprocess.Popen(
            [sys.executable, "-u", "-m", "http.server", "0", "--bind", "127.0.0.1",
             "--directory", folder],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        line = self.process.stdout.readline()  # "Serving HTTP on 127.0.0.1 port N ..."
        match = re.search(r"port (\d+)", line)
        if not match:
            self.stop()
            raise RuntimeError("http.server did not start: " + line)
        self.address = "http://127.0.0.1:%s/" % match.group(1)

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=10)


def browser(width=1280, height=720):
    """Headless Chromium with a fresh profile, its console kept for the checks."""
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    profile = tempfile.mkdtemp(prefix="mq-chromium-")
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                 "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync",
                 "--user-data-dir=" + profile, "--window-size=%d,%d" % (width, height)):
        options.add_argument(flag)
    # The performance log holds the page's network events (every request it makes).
    options.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
    driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
    driver.mq_profile = profile
    return driver


def requests(driver):
    """The requests made since the last call (the performance log): (method, address, whether
    it carries data)."""
    found = []
    for entry in driver.get_log("performance"):
        message = json.loads(entry["message"])["message"]
        if message["method"] == "Network.requestWillBeSent":
            request = message["params"]["request"]
            found.append((request["method"], request["url"], bool(request.get("hasPostData"))))
    return found


def wait_for(driver, condition, seconds=20, what="the page"):
    """Polls condition(driver) until it holds (its value returned) or the limit passes."""
    return WebDriverWait(driver, seconds, poll_frequency=0.05).until(
        lambda d: condition(d), message="waited %d s for %s" % (seconds, what))


def first_frame_ms(driver, seconds=30):
    return wait_for(driver, lambda d: d.execute_script("return window.moviquelFirstFrameMs"),
                    seconds, "the first frame")


def canvas_rgb(driver):
    """The canvas's 640x480 pixels as RGB bytes, row by row."""
    encoded = driver.execute_script("""
      const data = document.getElementById('canvas').getContext('2d')
          .getImageData(0, 0, 640, 480).data;
      const rgb = new Uint8Array(640 * 480 * 3);
      for (let i = 0, j = 0; i < data.length; i += 4, j += 3) {
        rgb[j] = data[i]; rgb[j + 1] = data[i + 1]; rgb[j + 2] = data[i + 2];
      }
      let text = '';
      for (let i = 0; i < rgb.length; i += 8192) {
        text += String.fromCharCode.apply(null, rgb.subarray(i, i + 8192));
      }
      return btoa(text);""")
    return base64.b64decode(encoded)


def give_reference(driver, name, rgb, width):
    """Hands an RGB picture to the page, for canvas_distance."""
    driver.execute_script(
        "window.mqReferences = window.mqReferences || {};"
        "mqReferences[arguments[0]] = {width: arguments[2],"
        " rgb: Uint8Array.from(atob(arguments[1]), (c) => c.charCodeAt(0))};",
        name, base64.b64encode(rgb).decode("ascii"), width)


def canvas_distance(driver, name, left, top, width, height, ref_left=None, ref_top=None):
    """Root mean square difference (0..1) of a rectangle of the canvas from the reference
    given under name, whose (ref_left, ref_top) lies at (left, top) of the canvas (by
    default the same place). Computed in the page: the canvas never leaves it."""
    return driver.execute_script("""
      const [name, left, top, width, height, refLeft, refTop] = arguments;
      const reference = mqReferences[name];
      const data = document.getElementById('canvas').getContext('2d')
          .getImageData(left, top, width, height).data;
      let total = 0;
      for (let y = 0; y < height; y++) {
        for (let x = 0; x < width; x++) {
          const i = (y * width + x) * 4;
          const j = ((refTop + y) * reference.width + refLeft + x) * 3;
          for (let c = 0; c < 3; c++) {
            const d = data[i + c] - reference.rgb[j + c];
            total += d * d;
          }
        }
      }
      return Math.sqrt(total / (width * height * 3)) / 255;""",
        name, left, top, width, height, left if ref_left is None else ref_left,
        top if ref_top is None else ref_top)


def canvas_count(driver, left, top, width, height, rgb):
    """Pixels of colour rgb (0xRRGGBB) in a rectangle of the canvas."""
    return driver.execute_script("""
      const [left, top, width, height, rgb] = arguments;
      const data = document.getElementById('canvas').getContext('2d')
          .getImageData(left, top, width, height).data;
      let count = 0;
      for (let i = 0; i < data.length; i += 4) {
        if (((data[i] << 16) | (data[i + 1] << 8) | data[i + 2]) === rgb) count++;
      }
      return count;""", left, top, width, height, rgb)


def canvas_checksum(driver):
    return driver.execute_script("""
      const data = document.getElementById('canvas').getContext('2d')
          .getImageData(0, 0, 640, 480).data;
      let sum = 0;
      for (let i = 0; i < data.length; i++) sum = (sum * 31 + data[i]) >>> 0;
      return sum;""")


def save_screenshot(driver, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    driver.save_screenshot(path)
    return path
