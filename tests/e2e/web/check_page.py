#!/usr/bin/python3
"""End to end: the page in headless Chromium against python3 -m http.server on 127.0.0.1.

The canvas shows the main picture (against djpeg's decode) and moves; a key and a right
click switch to the fading-in info picture and a key back; a left click on the info picture
opens the web page in a new tab; P shows the statistics; T goes full screen and back; F10 opens the
File menu; the About dialog holds the animation; Exit stops it and "Play again" restarts it; the console
shows no error. A page whose moviquel.wasm is missing or cut short says so in the page.
Photos: a folder given to the folder picker plays in the order of its paths, the first photo
upright and fitted as ImageMagick fits it (cover, then contain), keys go on and back, the
files that cannot be shown are listed once each in the page; files picked play shuffled in
rounds; a dropped file plays; full screen asks for a wake lock; no request leaves the page
but the photo decoder's own files.
Screenshots go to the work folder, to be looked at.

Usage: check_page.py WEB_BUILD_DIR RESOURCES_DIR WORK_DIR
"""
import base64
import os
import shutil
import subprocess
import sys

from selenium.common.exceptions import TimeoutException
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../../tools/web"))
import page_session as ps  # noqa: E402

WEB_PAGE = "http://www.mql.example/mql/index.html?mqlp1-1"


def ppm(path):
    """RGB bytes, width and height of a binary PPM (djpeg -ppm)."""
    with open(path, "rb") as f:
        data = f.read()
    fields = data.split(maxsplit=4)
    width, height = int(fields[1]), int(fields[2])
    return fields[4][-width * height * 3:], width, height


def reference(resources, name, work):
    out = os.path.join(work, name + ".ppm")
    subprocess.run(["djpeg", "-ppm", "-outfile", out, os.path.join(resources, name + ".jpg")],
                   check=True)
    return ppm(out)


class Check:
    def __init__(self, work):
        self.work = work
        self.failures = []

    def note(self, text):
        print("web e2e: " + text, flush=True)

    def expect(self, condition, text):
        if not condition:
            self.failures.append(text)
            self.note("FAILED: " + text)


def press(driver, key):
    ActionChains(driver).send_keys(key).perform()


def run_page(check, build, resources):
    main, _, _ = reference(resources, "main_picture", check.work)
    info, info_w, info_h = reference(resources, "info_picture", check.work)
    info_left, info_top = (640 - info_w) // 2, (480 - info_h) // 2

    def main_distance(d):  # above the labels and the sparkling bottom strip
        return ps.canvas_distance(d, "main", 0, 0, 640, 400)

    def info_distance(d):  # the info picture's own window
        return ps.canvas_distance(d, "info", info_left, info_top, info_w, info_h, 0, 0)

    def grey_pixels(d):
        # The statistics' background in the top-left corner: #404040 in the 16-bit frame,
        # which the canvas shows with each channel's top bits repeated below.
        return ps.canvas_count(d, 0, 0, 120, 24, 0x424142)

    server = ps.Server(build)
    driver = ps.browser()
    try:
        driver.get(server.address)
        first = ps.first_frame_ms(driver)
        ps.give_reference(driver, "main", main, 640)
        ps.give_reference(driver, "info", info, info_w)
        check.note("first frame %.0f ms after the start of loading" % first)
        canvas = driver.find_element(By.ID, "canvas")
        ps.save_screenshot(driver, os.path.join(check.work, "main.png"))

        d_main, d_info = main_distance(driver), info_distance(driver)
        check.note("main picture: %.3f from djpeg's main picture, %.3f from the info picture"
                   % (d_main, d_info))
        check.expect(d_main < 0.12 and d_main < d_info, "the canvas does not show the main picture")
        try:
            shown = ps.canvas_checksum(driver)
            ps.wait_for(driver, lambda d: ps.canvas_checksum(d) != shown, 10, "the picture to move")
        except TimeoutException:
            check.expect(False, "the picture does not move")

        def switch_to_info(how):
            try:
                ps.wait_for(driver, lambda d: info_distance(d) < 0.1, 5,
                            "the info picture")
                check.note("%s: the info picture faded in" % how)
            except TimeoutException:
                check.expect(False, "%s does not switch to the info picture" % how)

        def back_to_main(how):
            try:
                ps.wait_for(driver, lambda d: main_distance(d) < 0.12, 5,
                            "the main picture")
                check.note("%s: back to the main picture" % how)
            except TimeoutException:
                check.expect(False, "%s does not switch back to the main picture" % how)

        press(driver, "a")
        switch_to_info("a key")
        ps.save_screenshot(driver, os.path.join(check.work, "info.png"))
        press(driver, "a")
        back_to_main("a key")
        ActionChains(driver).context_click(canvas).perform()
        switch_to_info("a right click")

        # A left click on the info picture opens the web page in a new tab.
        tabs = len(driver.window_handles)
        ActionChains(driver).click(canvas).perform()
        try:
            ps.wait_for(driver, lambda d: len(d.window_handles) > tabs, 5, "a new tab")
            opened = driver.execute_script("return window.moviquelOpened")
            player = driver.current_window_handle
            driver.switch_to.window(driver.window_handles[-1])
            tab_url = driver.current_url
            driver.close()
            driver.switch_to.window(player)
            check.note("left click on the info picture opened a tab for %s (tab at %s)"
                       % (opened, tab_url))
            check.expect(opened == WEB_PAGE, "the new tab is for %s, not the web page" % opened)
        except TimeoutException:
            check.expect(False, "a left click on the info picture opens no tab")
        press(driver, "a")
        back_to_main("a key")

        # P: white text on dark grey in the top-left corner.
        before = grey_pixels(driver)
        press(driver, "p")
        try:
            ps.wait_for(driver, lambda d: grey_pixels(d) > before + 300, 5,
                        "the statistics")
            ps.save_screenshot(driver, os.path.join(check.work, "statistics.png"))
            check.note("P: the statistics show")
        except TimeoutException:
            check.expect(False, "P does not show the statistics")
        press(driver, "p")

        # T: full screen through the Fullscreen API, without the menu bar; T again: back.
        def state(d):
            return d.execute_script(
                "return [!!document.fullscreenElement,"
                " document.getElementById('menubar').classList.contains('shown')]")
        check.expect(state(driver) == [False, True], "the player does not start windowed")
        press(driver, "t")
        try:
            ps.wait_for(driver, lambda d: state(d) == [True, False], 5, "full screen")
            ps.save_screenshot(driver, os.path.join(check.work, "full_screen.png"))
            check.note("T: full screen")
        except TimeoutException:
            check.expect(False, "T does not go full screen (state %s)" % state(driver))
        press(driver, "t")
        try:
            ps.wait_for(driver, lambda d: state(d) == [False, True], 5, "the window")
            check.note("T again: windowed")
        except TimeoutException:
            check.expect(False, "T again does not leave full screen (state %s)" % state(driver))

        def frames(d):
            return d.execute_script("return MoviquelPage.frames")

        def holds_still(what):
            count = frames(driver)
            try:
                ps.wait_for(driver, lambda d: frames(d) != count, 1.5, "no frame")
                check.expect(False, what + " does not stop the animation")
            except TimeoutException:
                pass

        # F10 opens the File menu, as on Linux; a click on its title closes it.
        press(driver, Keys.F10)
        menu_open = "return document.getElementById('items').classList.contains('open')"
        try:
            ps.wait_for(driver, lambda d: d.execute_script(menu_open), 5, "the File menu")
            ps.save_screenshot(driver, os.path.join(check.work, "file_menu.png"))
            check.note("F10: the File menu opened")
        except TimeoutException:
            check.expect(False, "F10 does not open the File menu")
        driver.find_element(By.ID, "file").click()

        # File, About: the dialog holds the animation; its close box closes it.
        driver.find_element(By.ID, "file").click()
        driver.find_element(By.CSS_SELECTOR, "#items [data-command='1000']").click()
        ps.wait_for(driver, lambda d: d.find_element(By.ID, "about").is_displayed(), 5, "About")
        ps.save_screenshot(driver, os.path.join(check.work, "about.png"))
        holds_still("the About dialog")
        driver.find_element(By.ID, "about-close").click()
        count = frames(driver)
        ps.wait_for(driver, lambda d: frames(d) > count, 5, "frames after About")

        # File, Exit: the animation stops and "Play again" starts it afresh.
        driver.find_element(By.ID, "file").click()
        driver.find_element(By.CSS_SELECTOR, "#items [data-command='1001']").click()
        again = driver.find_element(By.CSS_SELECTOR, "#again button")
        ps.wait_for(driver, lambda d: again.is_displayed(), 5, "Play again")
        ps.save_screenshot(driver, os.path.join(check.work, "ended.png"))
        holds_still("Exit")
        check.note("Exit: stopped, \"%s\" shown" % again.text)
        check.expect(again.text == "Play again", "the button says %r" % again.text)
        count = frames(driver)
        again.click()
        try:
            ps.wait_for(driver, lambda d: frames(d) > count + 2, 5, "frames after Play again")
            back_to_main("Play again")
        except TimeoutException:
            check.expect(False, "\"Play again\" does not restart the player")

        errors = [entry["message"] for entry in driver.get_log("browser")
                  if entry["level"] == "SEVERE"]
        check.note("console errors: %d" % len(errors))
        for error in errors:
            check.note("  " + error)
        check.expect(not errors, "the console shows errors")
    finally:
        driver.quit()
        shutil.rmtree(driver.mq_profile, ignore_errors=True)
        server.stop()


# Orientation 6 in a little-endian Exif segment, right after the start of image.
EXIF_ROTATED = (b"\xff\xd8\xff\xe1\x00\x22Exif\x00\x00II*\x00\x08\x00\x00\x00\x01\x00\x12\x01"
                b"\x03\x00\x01\x00\x00\x00\x06\x00\x00\x00\x00\x00\x00\x00")


def make_photos(work):
    """A folder as a user has one: a portrait stored on its side, two more photos, a hidden
    folder, and files that cannot be shown."""
    root = os.path.join(work, "photos")
    shutil.rmtree(root, ignore_errors=True)
    os.makedirs(os.path.join(root, "more"))
    os.makedirs(os.path.join(root, ".hidden"))
    stored = os.path.join(work, "stored.ppm")
    subprocess.run(["convert", "logo:", "-resize", "600x400!", stored], check=True)

    def cjpeg(*args):
        return subprocess.run(["cjpeg", *args], check=True, stdout=subprocess.PIPE).stdout

    def write(name, data):
        with open(os.path.join(root, name), "wb") as f:
            f.write(data)

    write("1-portrait.jpg", EXIF_ROTATED + cjpeg("-quality", "95", stored)[2:])
    for n in (2, 3):
        gradient = os.path.join(work, "%d.ppm" % n)
        subprocess.run(["convert", "-size", "800x600", "gradient:#%d0a040-#0040%d0" % (n, n),
                        gradient], check=True)
        write("more/%d.jpg" % n, cjpeg(gradient))
    shutil.copy(os.path.join(root, "more/2.jpg"), os.path.join(root, ".hidden/hidden.jpg"))
    with open(os.path.join(root, "more/3.jpg"), "rb") as f:
        write("more/4-damaged.jpg", f.read()[:2000])
    subprocess.run(["convert", "rose:", "png:" + os.path.join(root, "more/5-png.jpg")],
                   check=True)
    write("more/6-empty.jpg", b"")
    return root, stored


def fitted(picture, mode, turn=True):
    """RGB bytes of a picture turned upright and fitted into 640x480 by ImageMagick."""
    fit = ["640x480^", "-gravity", "center", "-extent", "640x480"]
    if mode == "contain":
        fit = ["640x480", "-background", "#404020", "-gravity", "center", "-extent", "640x480"]
    return subprocess.run(["convert", picture] + (["-auto-orient"] if turn else []) +
                          ["-resize"] + fit + ["-depth", "8", "rgb:-"],
                          check=True, stdout=subprocess.PIPE).stdout


def run_photos(check, build):
    root, stored = make_photos(check.work)
    portrait = os.path.join(root, "1-portrait.jpg")
    server = ps.Server(build)
    driver = ps.browser()

    def shown(d):
        return d.execute_script("return window.moviquelShown")

    def wait_shown(count, what):
        try:
            ps.wait_for(driver, lambda d: len(shown(d)) >= count, 30, what)
        except TimeoutException:
            check.expect(False, "%s: no photo shown (shown: %s)" % (what, shown(driver)))

    def fits(mode):
        ps.give_reference(driver, mode, fitted(portrait, mode), 640)
        ps.give_reference(driver, "unturned", fitted(stored, mode, turn=False), 640)
        d = ps.canvas_distance(driver, mode, 0, 0, 640, 480)
        control = ps.canvas_distance(driver, "unturned", 0, 0, 640, 480)
        ps.save_screenshot(driver, os.path.join(check.work, "photo_%s.png" % mode))
        check.note("photos, %s: %.3f from the fit, %.3f from the unturned photo"
                   % (mode, d, control))
        check.expect(d < 0.12 and d < control / 3, "%s: the canvas is not the fitted photo" % mode)

    try:
        driver.get(server.address)
        ps.first_frame_ms(driver)
        ps.requests(driver)  # the page's own files
        driver.find_element(By.ID, "photo-folder").send_keys(root)
        wait_shown(1, "the folder")
        fits("cover")
        count = driver.execute_script("return window.moviquelPhotoCount")
        check.expect(count == 6, "the folder gave %s files, not 6 (the hidden one skipped)" % count)
        for key, count in (("a", 2), ("a", 3), (Keys.ARROW_LEFT, 4), ("a", 5), ("a", 6)):
            press(driver, key)
            wait_shown(count, "key %d" % count)
        order = shown(driver)
        check.note("photos in turn: %s" % order)
        check.expect(order == ["photos/1-portrait.jpg", "photos/more/2.jpg", "photos/more/3.jpg",
                               "photos/more/2.jpg", "photos/more/3.jpg", "photos/1-portrait.jpg"],
                     "the photos did not come in the order of their paths, back and round")
        lines = driver.find_element(By.ID, "problem-lines").text.split("\n")
        check.note("lines in the page: %s" % lines)
        check.expect(lines == ["photos/more/4-damaged.jpg: the JPEG data is damaged at byte 2000",
                               "photos/more/5-png.jpg: a PNG picture, not a JPEG",
                               "photos/more/6-empty.jpg: the file is empty"],
                     "the files that cannot be shown are not listed once each")
        Select(driver.find_element(By.ID, "fit")).select_by_value("contain")
        wait_shown(7, "contain")
        fits("contain")

        # Files picked, shuffled: each round holds every photo, none twice in a row.
        # (Shuffle plays the folder afresh: its first photo comes before the files are picked.)
        driver.find_element(By.ID, "shuffle").click()
        wait_shown(8, "shuffled folder")
        before = len(shown(driver))
        picked = [portrait] + [os.path.join(root, "more/%d.jpg" % n) for n in (2, 3)]
        driver.find_element(By.ID, "photo-files").send_keys("\n".join(picked))
        wait_shown(before + 1, "the files picked")
        for n in range(2, 7):
            press(driver, "a")
            wait_shown(before + n, "shuffled key %d" % n)
        rounds = shown(driver)[before:before + 6]
        check.note("shuffled: %s" % rounds)
        check.expect(len(set(rounds[:3])) == 3 and len(set(rounds[3:])) == 3 and
                     all(a != b for a, b in zip(rounds, rounds[1:])),
                     "the shuffled rounds repeat a photo")

        # A file dropped on the page (a synthetic drop, as a file manager's).
        with open(os.path.join(root, "more/2.jpg"), "rb") as f:
            dropped = base64.b64encode(f.read()).decode("ascii")
        driver.execute_script("""
          const bytes = Uint8Array.from(atob(arguments[0]), (c) => c.charCodeAt(0));
          const transfer = new DataTransfer();
          transfer.items.add(new File([bytes], "dropped.jpg", {type: "image/jpeg"}));
          document.dispatchEvent(new DragEvent("drop", {dataTransfer: transfer,
                                                        bubbles: true, cancelable: true}));""",
                              dropped)
        try:
            ps.wait_for(driver, lambda d: shown(d)[-1] == "dropped.jpg", 30, "the dropped file")
        except TimeoutException:
            check.expect(False, "the dropped file does not play")

        press(driver, "t")
        ps.wait_for(driver, lambda d: d.execute_script("return !!document.fullscreenElement"),
                    5, "full screen")
        asked = driver.execute_script("return window.moviquelWakeLockRequests")
        check.note("full screen: %d wake lock request(s)" % asked)
        check.expect(asked >= 1, "full screen asks for no wake lock")
        press(driver, "t")

        # The only requests: the photo decoder's own files, from the page's server.
        sent = ps.requests(driver)
        check.note("requests while playing photos: %s" % sent)
        own = [(m, u, d) for m, u, d in sent if m == "GET" and not d and u in
               (server.address + "moviquel_photos.js", server.address + "moviquel_photos.wasm")]
        check.expect(own == sent, "the page made requests of its own while playing photos")
        errors = [entry["message"] for entry in driver.get_log("browser")
                  if entry["level"] == "SEVERE"]
        check.expect(not errors, "the console shows errors with photos: %s" % errors)
    finally:
        driver.quit()
        shutil.rmtree(driver.mq_profile, ignore_errors=True)
        server.stop()


def run_damaged(check, build, name, damage):
    """A copy of the page with its moviquel.wasm damaged must say so in the page."""
    folder = os.path.join(check.work, name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    for file in ("index.html", "moviquel.js", "moviquel.wasm"):
        shutil.copy(os.path.join(build, file), folder)
    damage(os.path.join(folder, "moviquel.wasm"))
    server = ps.Server(folder)
    driver = ps.browser()
    try:
        driver.get(server.address)
        try:
            text = ps.wait_for(driver, lambda d: d.execute_script(
                "const s = document.getElementById('status');"
                "return s.classList.contains('failed') && getComputedStyle(s).display !== 'none'"
                " ? s.textContent : null"), 20, "the page's message")
            ps.save_screenshot(driver, os.path.join(check.work, name + ".png"))
            check.note("%s: the page says: %s" % (name, text.replace("\n", " / ")))
            check.expect("moviquel.wasm" in text, name + ": the message does not name the file")
        except TimeoutException:
            check.expect(False, name + ": no message in the page")
    finally:
        driver.quit()
        shutil.rmtree(driver.mq_profile, ignore_errors=True)
        server.stop()


def run_without_photo_decoder(check, build):
    """A page served without its photo decoder names the photo and why, and plays on."""
    folder = os.path.join(check.work, "no_photo_decoder")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    for file in ("index.html", "moviquel.js", "moviquel.wasm"):
        shutil.copy(os.path.join(build, file), folder)
    server = ps.Server(folder)
    driver = ps.browser()
    try:
        driver.get(server.address)
        ps.first_frame_ms(driver)
        photo = os.path.join(check.work, "photos", "more", "2.jpg")
        driver.find_element(By.ID, "photo-files").send_keys(photo)
        try:
            line = ps.wait_for(driver, lambda d: d.find_element(By.ID, "problem-lines").text,
                               30, "the line about the photo")
            check.note("without its photo decoder the page says: " + line)
            check.expect(line.startswith("2.jpg: the page's photo decoder stopped"),
                         "without its photo decoder the page says: " + line)
        except TimeoutException:
            check.expect(False, "without its photo decoder the page says nothing")
        count = driver.execute_script("return MoviquelPage.frames")
        ps.wait_for(driver, lambda d: d.execute_script("return MoviquelPage.frames") > count + 2,
                    10, "frames after the photo that could not be fitted")
    finally:
        driver.quit()
        shutil.rmtree(driver.mq_profile, ignore_errors=True)
        server.stop()


def cut_short(path):
    with open(path, "rb") as f:
        data = f.read()
    with open(path, "wb") as f:
        f.write(data[:len(data) // 2])


def main():
    build, resources, work = sys.argv[1:4]
    os.makedirs(work, exist_ok=True)
    check = Check(work)
    run_page(check, build, resources)
    run_photos(check, build)
    run_without_photo_decoder(check, build)
    run_damaged(check, build, "wasm_missing", os.remove)
    run_damaged(check, build, "wasm_cut_short", cut_short)
    check.note("screenshots in " + work)
    if check.failures:
        print("web e2e: %d failure(s)" % len(check.failures))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
