"""Uses corvane only through the AT-SPI accessibility bus, as a screen reader
user would: ticks symptoms and a personality by their spoken names, presses
诊断, reads the three result boxes by their headings, clears and diagnoses a
second member whose answers have no diet advice, types a name, leaves with
退出. The texts must be those corvane-eval gives for the same answers. On the
way, the report's buttons must lie on the screen (CORVANE_SCREEN, WIDTHxHEIGHT)
and the save dialog of 另存为PDF… must speak Chinese."""
import json
import os
import subprocess
import sys
import time

import pyatspi

EVAL = sys.argv[1]
SCREEN = (0, 0, *(int(n) for n in os.environ.get("CORVANE_SCREEN", "1280x1024").split("x")))
FIRST = {"口干咽燥": "check1", "五心烦热": "check6", "舌红少苔": "check13"}
SECOND = {"喜冷饮": "check8", "畏寒肢冷": "check15"}  # Yin 10, Yang 10: no diet row
PERSONALITY = "1、开朗平和"


def wait_for(find, what, wait=10.0):
    """Polls find() until it gives something: the bus answers a little later
    than the program acts."""
    deadline = time.monotonic() + wait
    while time.monotonic() < deadline:
        found = find()
        if found is not None:
            return found
        time.sleep(0.1)
    raise AssertionError(f"not found: {what}")


def named_child(parent, name):
    return next((child for child in parent if child is not None and child.name == name), None)


def application(name="Corvane"):
    return wait_for(lambda: named_child(pyatspi.Registry.getDesktop(0), name),
                    f"{name} on the accessibility bus")


def window(app, title):
    return wait_for(lambda: named_child(app, title), f"window {title}")


def control(root, name, role):
    return wait_for(lambda: pyatspi.utils.findDescendant(
        root, lambda a: a is not None and a.name == name and a.getRole() == role, True),
        f"{pyatspi.Role(role)} named {name}")


def press(accessible, action):
    actions = accessible.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    assert action in names, f"{accessible.name}: {names}"
    actions.doAction(names.index(action))


def text_of(accessible):
    return accessible.queryText().getText(0, -1)


def extents(accessible):
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def inside(inner, outer):
    x, y, width, height = inner
    left, top, outer_width, outer_height = outer
    return left <= x and top <= y and x + width <= left + outer_width and y + height <= top + outer_height


def check_buttons_reachable(report):
    """打印 and 取消 can be clicked: the report lies on the screen, and each
    button inside the report, scrolled into view by taking the focus if need be."""
    window = extents(report)
    assert inside(window, SCREEN), f"the report at {window} leaves the screen {SCREEN}"
    for caption in ("打印", "取消"):
        button = control(report, caption, pyatspi.ROLE_PUSH_BUTTON)
        if not inside(extents(button), window):
            button.queryComponent().grabFocus()
        wait_for(lambda: inside(extents(button), window) or None,
                 f"{caption} inside the report at {window} (it is at {extents(button)})")


def chinese(text):
    return any("\u4e00" <= c <= "\u9fff" for c in text)


def names_of(root, role):
    found = pyatspi.utils.findAllDescendants(root, lambda a: a is not None and a.getRole() == role)
    return [accessible.name for accessible in found if accessible.name]


def check_save_dialog(app, report):
    """No printer can be reached, so 打印 offers 另存为PDF…; its save dialog,
    Qt's own, speaks Chinese. It is cancelled."""
    press(control(report, "打印", pyatspi.ROLE_PUSH_BUTTON), "Press")
    press(control(app, "另存为PDF…", pyatspi.ROLE_PUSH_BUTTON), "Press")
    dialog = window(app, "另存为PDF")
    texts = names_of(dialog, pyatspi.ROLE_PUSH_BUTTON) + names_of(dialog, pyatspi.ROLE_LABEL)
    assert texts and all(chinese(text) for text in texts), f"the save dialog says {texts}"
    press(control(dialog, "取消", pyatspi.ROLE_PUSH_BUTTON), "Press")
    wait_for(lambda: named_child(app, "另存为PDF") is None or None, "the save dialog closed")


def expected_report(ticks):
    done = subprocess.run([EVAL, "--ticks", ",".join(ticks.values()), "--personality", "1", "--json"],
                          capture_output=True, check=True)
    return json.loads(done.stdout)


def diagnose_and_check(app, ticks):
    for caption in ticks:
        press(control(app, caption, pyatspi.ROLE_CHECK_BOX), "Toggle")
    press(control(app, "诊断", pyatspi.ROLE_PUSH_BUTTON), "Press")
    report = window(app, "诊断结果")
    expected = expected_report(ticks)
    for heading, key in (("体质诊断结果", "diagnosis"), ("调理建议", "diet"), ("性格调整", "personality")):
        box = control(report, heading, pyatspi.ROLE_TEXT)
        wait_for(lambda: text_of(box) == expected[key] or None,
                 f"{heading} showing {expected[key][:40]!r} (it shows {text_of(box)[:40]!r})")
    return report, expected


def main():
    app = application()
    press(control(app, PERSONALITY, pyatspi.ROLE_RADIO_BUTTON), "Toggle")
    report, _ = diagnose_and_check(app, FIRST)
    check_buttons_reachable(report)
    press(control(app, "清空", pyatspi.ROLE_PUSH_BUTTON), "Press")
    # A pressed button clicks a moment later; tick the next member's boxes only after.
    boxes = [control(app, caption, pyatspi.ROLE_CHECK_BOX) for caption in FIRST]
    wait_for(lambda: not any(box.getState().contains(pyatspi.STATE_CHECKED) for box in boxes) or None,
             "the ticks gone after 清空")
    report, expected = diagnose_and_check(app, SECOND)
    assert expected["diet"] == "", "the second member was meant to have no diet advice"

    name = control(report, "会员姓名", pyatspi.ROLE_TEXT)
    name.queryEditableText().setTextContents("张三")
    assert text_of(name) == "张三"
    check_save_dialog(app, report)

    press(control(app, "退出", pyatspi.ROLE_PUSH_BUTTON), "Press")
    print("corvane used through AT-SPI: ticked, diagnosed two members, read the reports, "
          "reached the buttons, typed a name, opened the save dialog, quit")


if __name__ == "__main__":
    main()
