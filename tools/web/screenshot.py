#!/usr/bin/python3
"""Opens the page at ADDRESS in headless Chromium, waits for the player's first frame and a
few more, and saves a screenshot to PNG (scripts/run --web without a display).

Usage: screenshot.py ADDRESS PNG
"""
import os
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import page_session as ps  # noqa: E402


def main():
    address, png = sys.argv[1:3]
    driver = ps.browser()
    try:
        driver.get(address)
        first = ps.first_frame_ms(driver)
        ps.wait_for(driver, lambda d: d.execute_script("return MoviquelPage.frames") > 10, 20,
                    "ten frames")
        ps.save_screenshot(driver, png)
        print("run: first frame %.0f ms after the start of loading" % first)
    finally:
        driver.quit()
        shutil.rmtree(driver.mq_profile, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
