#!/usr/bin/env python3
"""The plug-in's editor in a real window, driven with a real mouse and keyboard.

Starts a private X server (Xvfb), loads the built Trelvane.vst3 in the small
test host (tools/vst3host), and then, with xdotool:
  1. drags the frequency knob of band 3 upwards,
  2. double-clicks the value label of band 2's gain knob, types a value and
     presses Return.
It checks through the host's own view of the plug-in that both parameters
changed (and nothing else did), that the plug-in reported the edits to the
host, and that the screenshot region of the dragged knob changed. Screenshots
are left in the output folder for a person to look at.
"""

import argparse
import os
import queue
import shutil
import subprocess
import sys
import threading
import time

import numpy as np

# Design positions, from the editor's layout: knob rectangles (x, y, w, h) and
# value-label offsets inside their knob.
FREQ3_KNOB = (299, 109, 53, 66)
GAIN2_KNOB = (184, 29, 53, 63)
GAIN2_LABEL_OFFSET = (-1, 47)
LABEL_SIZE = (60, 20)

DRAG_PIXELS = 60
TYPED_GAIN_DB = 6  # gain knobs span -20..+20 dB over 0..1


class Failure(Exception):
    pass


def find_free_display():
    for number in range(90, 140):
        if not os.path.exists(f"/tmp/.X{number}-lock") and not os.path.exists(f"/tmp/.X11-unix/X{number}"):
            return number
    raise Failure("no free X display number")


def start_xvfb():
    number = find_free_display()
    xvfb = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.time() + 10
    while not os.path.exists(f"/tmp/.X11-unix/X{number}"):
        if xvfb.poll() is not None or time.time() > deadline:
            raise Failure("Xvfb did not start")
        time.sleep(0.05)
    return xvfb, f":{number}"


class Host:
    """The test host process, spoken to line by line."""

    def __init__(self, host_binary, bundle, env):
        self.process = subprocess.Popen([host_binary, bundle, "--x", "40", "--y", "30"], env=env,
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=sys.stderr,
                                        text=True, bufsize=1)
        self.lines = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.process.stdout:
            self.lines.put(line.rstrip("\n"))
        self.lines.put(None)

    def next_line(self, timeout=20):
        try:
            line = self.lines.get(timeout=timeout)
        except queue.Empty:
            raise Failure("the host did not answer")
        if line is None:
            raise Failure(f"the host exited (status {self.process.wait()})")
        return line

    def ask(self, command):
        self.process.stdin.write(command + "\n")
        self.process.stdin.flush()

    def wait_ready(self):
        line = self.next_line(timeout=30)
        if not line.startswith("ready "):
            raise Failure(f"unexpected first line from the host: {line}")
        return tuple(int(v) for v in line.split()[1:5])

    def parameters(self):
        self.ask("params")
        values, texts = {}, {}
        while True:
            line = self.next_line()
            if line == "end":
                return values, texts
            _, _, name, value, *text = line.split(" ")
            values[name] = float(value)
            texts[name] = " ".join(text)

    def events(self):
        self.ask("events")
        fields = self.next_line().split()
        return {"edits": int(fields[1]), "begins": int(fields[2]), "ends": int(fields[3])}

    def quit(self):
        try:
            self.ask("quit")
            self.process.wait(timeout=10)
        except Exception:
            self.process.kill()
            self.process.wait()


def screenshot(display, path):
    subprocess.run(["import", "-display", display, "-window", "root", path], check=True)
    raw = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True, capture_output=True).stdout
    height, width = 768, 1024
    return np.frombuffer(raw, dtype=np.uint8).reshape(height, width, 3)


def crop(pixels, rect):
    x, y, w, h = rect
    return pixels[y:y + h, x:x + w].astype(int)


def save_crop(source_png, rect, path, zoom=4):
    x, y, w, h = rect
    subprocess.run(["convert", source_png, "-crop", f"{w}x{h}+{x}+{y}", "+repage",
                    "-filter", "point", "-resize", f"{zoom * 100}%", path], check=True)


def xdotool(env, *args):
    subprocess.run(["xdotool", *[str(a) for a in args]], env=env, check=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--host", required=True)
    parser.add_argument("--plugin", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()

    for tool in ("Xvfb", "xdotool", "import", "convert"):
        if shutil.which(tool) is None:
            raise Failure(f"{tool} is not installed")

    os.makedirs(args.out, exist_ok=True)
    shot = lambda name: os.path.join(args.out, name)

    xvfb, display = start_xvfb()
    env = dict(os.environ, DISPLAY=display)
    env.pop("WAYLAND_DISPLAY", None)
    host = None
    try:
        host = Host(args.host, os.path.realpath(args.plugin), env)
        wx, wy, ww, wh = host.wait_ready()
        if (ww, wh) != (650, 543):
            raise Failure(f"editor window is {ww} x {wh}, not 650 x 543")
        time.sleep(1.0)  # first paint of the plug-in's view

        before_values, before_texts = host.parameters()
        before = screenshot(display, shot("1-opened.png"))

        # 1. Drag the frequency knob of band 3 upwards.
        kx, ky, kw, kh = FREQ3_KNOB
        knob_on_screen = (wx + kx, wy + ky, kw, kh)
        grab = (wx + kx + kw // 2, wy + ky + kh // 3)
        xdotool(env, "mousemove", "--sync", *grab)
        time.sleep(0.2)
        xdotool(env, "mousedown", 1)
        for step in range(1, 13):
            xdotool(env, "mousemove", grab[0], grab[1] - step * DRAG_PIXELS // 12)
            time.sleep(0.03)
        xdotool(env, "mouseup", 1)
        time.sleep(0.6)
        after_drag = screenshot(display, shot("2-after-drag.png"))

        # 2. Double-click band 2's gain value label, type a value, press Return.
        gx, gy, gw, gh = GAIN2_KNOB
        lx, ly = GAIN2_LABEL_OFFSET
        visible_left, visible_right = max(gx + lx, gx), min(gx + lx + LABEL_SIZE[0], gx + gw)
        visible_top, visible_bottom = gy + ly, min(gy + ly + LABEL_SIZE[1], gy + gh)
        label_centre = (wx + (visible_left + visible_right) // 2, wy + (visible_top + visible_bottom) // 2)
        xdotool(env, "mousemove", "--sync", *label_centre)
        time.sleep(0.2)
        xdotool(env, "click", "--repeat", 2, "--delay", 80, 1)
        time.sleep(0.6)
        screenshot(display, shot("3-label-editing.png"))
        xdotool(env, "type", "--delay", 60, str(TYPED_GAIN_DB))
        xdotool(env, "key", "Return")
        time.sleep(0.6)
        screenshot(display, shot("4-after-typing.png"))

        after_values, after_texts = host.parameters()
        events = host.events()

        # Close-ups for a person to look at.
        save_crop(shot("1-opened.png"), knob_on_screen, shot("freq3-before.png"))
        save_crop(shot("2-after-drag.png"), knob_on_screen, shot("freq3-after.png"))
        save_crop(shot("4-after-typing.png"), (wx + gx, wy + gy, gw, gh), shot("gain2-after-typing.png"))

        problems = []
        if not after_values["freq3"] > before_values["freq3"] + 0.05:
            problems.append(f"freq3 did not follow the upward drag: {before_values['freq3']} -> {after_values['freq3']}")
        expected_gain = TYPED_GAIN_DB / 40.0 + 0.5
        if abs(after_values["gain2"] - expected_gain) > 1e-6:
            problems.append(f"gain2 is {after_values['gain2']} after typing {TYPED_GAIN_DB}, expected {expected_gain}")
        untouched = [n for n in before_values if n not in ("freq3", "gain2") and after_values[n] != before_values[n]]
        if untouched:
            problems.append("parameters changed that nobody touched: " + ", ".join(untouched))
        if events["edits"] < 2 or events["begins"] < 1 or events["begins"] != events["ends"]:
            problems.append(f"the host was not told properly: {events}")

        changed = np.abs(crop(after_drag, knob_on_screen) - crop(before, knob_on_screen)).sum(axis=2) > 24
        if changed.sum() < 50:
            problems.append(f"the dragged knob's picture hardly changed ({int(changed.sum())} pixels)")
        elsewhere = (wx + 10, wy + 480, 100, 40)  # panel corner near the version label
        if (np.abs(crop(after_drag, elsewhere) - crop(before, elsewhere)).sum(axis=2) > 24).any():
            problems.append("the screen changed away from the dragged knob")

        print(f"freq3 {before_values['freq3']:.6f} -> {after_values['freq3']:.6f} ({after_texts['freq3']}); "
              f"gain2 {before_values['gain2']:.6f} -> {after_values['gain2']:.6f}; host events {events}; "
              f"{int(changed.sum())} knob pixels changed; screenshots in {args.out}")

        if problems:
            raise Failure("; ".join(problems))
    finally:
        if host is not None:
            host.quit()
        xvfb.terminate()
        xvfb.wait()


if __name__ == "__main__":
    try:
        main()
    except Failure as failure:
        print(f"FAILED: {failure}", file=sys.stderr)
        sys.exit(1)
