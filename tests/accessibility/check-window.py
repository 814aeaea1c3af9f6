#!/usr/bin/python3
"""Reads the running client through AT-SPI, as a screen reader would, and
drives it by keyboard: every control named or labelled, the panel following
the keyboard, Return opening the product page, changes announced, and the
window on the screen. Started by run-window-check."""

import argparse
import math
import sys
import time

import pyatspi
from gi.repository import GLib

CAPTIONS = {  # value label's caption -> unit read with the value
    "品牌:": "", "价格:": "元", "促销:": "元", "月销量:": "件", "人气:": "",
}
BADGES = {"新品", "热卖", "限量"}
faults = []


def check(ok, what):
    if not ok:
        faults.append(what)
        print("FAIL:", what)


def pump(until, seconds=10.0):
    """Runs the event loop until until() holds; False on time-out."""
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while time.monotonic() < end:
        while context.iteration(False):
            pass
        if until():
            return True
        time.sleep(0.02)
    return False


def descendants(node):
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is None:
            continue
        yield child
        if child.getRoleName() not in ("table", "list"):
            yield from descendants(child)


def labelled_by(node):
    names = []
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            names += [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return names


def text_of(node):
    try:
        text = node.queryText()
        return text.getText(0, text.characterCount)
    except NotImplementedError:
        return None


def find_window():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "tavrin":
            for i in range(app.childCount):
                frame = app.getChildAtIndex(i)
                if frame is not None and frame.getRoleName() == "frame":
                    return frame
    return None


def has_ended(pid):
    """True once the process is gone or a zombie its parent has not reaped."""
    try:
        with open("/proc/%d/stat" % pid) as f:
            return f.read().rsplit(")", 1)[1].split()[0] == "Z"
    except (FileNotFoundError, ProcessLookupError):
        return True


def wait_for_window(client):
    found = {}

    def ready():
        if client and has_ended(client):
            sys.exit("the client ended before its window appeared")
        frame = find_window()
        tables = [n for n in descendants(frame) if n.getRoleName() == "table"] if frame else []
        if tables and tables[0].queryTable().nRows == 24:
            found["frame"], found["table"] = frame, tables[0]
            return True
        return False

    if not pump(ready, 30):
        sys.exit("the window did not appear on the accessibility bus")
    return found["frame"], found["table"]


def by_role(frame, role):
    return [n for n in descendants(frame) if n.getRoleName() == role]


def label_with(frame, predicate):
    matches = [n for n in by_role(frame, "label") if predicate(n)]
    return matches[0] if matches else None


def check_names(frame, table):
    check(frame.name == "特卖商品Tavrin", "the window is a frame named by its caption: %r" % frame.name)
    combos = by_role(frame, "combo box")
    check(sorted(labelled_by(c)[0] if labelled_by(c) else "" for c in combos) == ["商品大分类:", "商品小分类:"],
          "each drop-down list is labelled by its caption")
    check(table.name == "搜索结果:" and labelled_by(table) == ["搜索结果:"], "the grid is named and labelled by its caption")
    check(table.queryTable().nColumns == 2, "the grid has its two columns")
    check(table.queryTable().getAccessibleAt(0, 1).name != "", "grid cells read their titles")

    for caption, unit in CAPTIONS.items():
        value = label_with(frame, lambda n: labelled_by(n) == [caption] and n.name not in ("↑", "→"))
        check(value is not None, "a value labelled by %s" % caption)
        if value is not None:
            shown = text_of(value)
            check(shown not in (None, "") and value.name == shown + unit,
                  "%s's value reads what it shows with its unit: %r / %r" % (caption, value.name, shown))
    arrow = label_with(frame, lambda n: n.name in ("↑", "→"))
    check(arrow is not None and labelled_by(arrow) == ["人气:"], "the trend arrow reads as its character")
    count = label_with(frame, lambda n: labelled_by(n) == ["搜索结果:"])
    check(count is not None and text_of(count).isdigit(), "the result count is read with its caption")
    counter = label_with(frame, lambda n: "/" in n.name and n.name.replace("/", "").isdigit())
    check(counter is not None and counter.name.startswith("1/"), "the page counter reads the page")
    title = label_with(frame, lambda n: n.name.startswith("1:"))
    check(title is not None, "the title reads number and title")

    unnamed = [n.getRoleName() for n in descendants(frame)
               if n.getRoleName() in ("label", "push button", "progress bar", "combo box", "image")
               and n.getState().contains(pyatspi.STATE_VISIBLE) and not n.name]
    check(not unnamed, "no unnamed control: %s" % unnamed)
    buttons = {b.name: b.description for b in by_role(frame, "push button")}
    check(buttons == {"<<": "前一页", ">>": "后一页"}, "buttons with their hints: %s" % buttons)
    bars = by_role(frame, "progress bar")
    check(len(bars) == 1 and bars[0].name == frame.name, "the progress bar is named by the window's caption")
    return title, counter


def shown_product(frame):
    title = label_with(frame, lambda n: ":" in n.name and n.name.split(":")[0].isdigit())
    return title.name if title else ""


def press(keysym):
    pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)


def check_keyboard(frame, table, title, counter, opened_file):
    events = []
    pyatspi.Registry.registerEventListener(
        lambda e: events.append((e.source.name, e.type)), "object:text-changed", "object:property-change:accessible-name")
    table.queryComponent().grabFocus()
    pump(lambda: table.getState().contains(pyatspi.STATE_FOCUSED), 5)

    row_title = table.queryTable().getAccessibleAt(1, 1).name
    press(0xFF54)  # Down
    check(pump(lambda: shown_product(frame) == "2:" + row_title), "Down shows the second row's product")
    check(pump(lambda: any(name.startswith("2:") for name, _ in events)), "the title announces the new product")
    images = by_role(frame, "image")
    check(any(i.name == row_title for i in images), "the picture is named by the product's title")

    badges = set()
    offered_empty = 0
    for _ in range(22):
        press(0xFF54)
        pump(lambda: False, 0.05)
        badges |= {i.name for i in images if i.name in BADGES}
        offered_empty += sum(1 for i in images if not i.name and i.getState().contains(pyatspi.STATE_VISIBLE))
    check(pump(lambda: shown_product(frame).startswith("24:")), "the panel follows the keyboard to the last row")
    check(badges == BADGES, "tag icons named by their badges: %s" % sorted(badges))
    check(offered_empty == 0, "empty tag boxes are not offered to screen readers (%d seen)" % offered_empty)

    press(0xFF0D)  # Return
    check(pump(lambda: "index.php?cid=" in read(opened_file)), "Return opens the product page")

    events.clear()
    [next_button] = [b for b in by_role(frame, "push button") if b.name == ">>"]
    next_button.queryAction().doAction(0)
    check(pump(lambda: counter.name.startswith("2/")), "the next page shows")
    check(pump(lambda: any(name.startswith("2/") for name, _ in events)), "the counter announces the page")


def check_tab_order(frame):
    focused = []
    for _ in range(6):
        pump(lambda: False, 0.1)
        now = [n for n in descendants(frame) if n.getState().contains(pyatspi.STATE_FOCUSED)]
        focused.append(now[0].getRoleName() if now else "")
        press(0xFF09)  # Tab
    # "<<" is disabled on the first page, so the focus goes round after ">>".
    check(focused[:5] == ["combo box", "combo box", "table", "push button", "combo box"],
          "Tab reaches every control in order: %s" % focused)


def check_on_screen(frame, scale):
    x, y, w, h = frame.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    # Extents are in the window system's logical pixels: the screen is
    # 1024 x 768 device pixels.
    right, bottom = math.ceil(1024 / float(scale)), math.ceil(768 / float(scale))
    check(x >= 0 and y >= 0 and x + w <= right and y + h <= bottom,
          "the window lies on the 1024 x 768 screen at scale %s: %s" % (scale, (x, y, w, h)))


def read(path):
    try:
        with open(path, encoding="utf-8") as f:
            return f.read()
    except FileNotFoundError:
        return ""


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--opened", required=True)
    parser.add_argument("--scale", default="1")
    parser.add_argument("--client", type=int, default=0, help="the client's process id")
    args = parser.parse_args()
    frame, table = wait_for_window(args.client)
    check_on_screen(frame, args.scale)
    if args.scale == "1":
        check_tab_order(frame)
        title, counter = check_names(frame, table)
        check_keyboard(frame, table, title, counter, args.opened)
    print("window check: %s" % ("; ".join(faults) if faults else "every check held"))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
