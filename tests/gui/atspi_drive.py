"""Uses corvane only through the AT-SPI accessibility bus, as a screen reader
user would: ticks symptoms and a personality by their spoken names, presses
诊断, reads the three result boxes by their headings, types a name, leaves
with 退出. The texts must be those corvane-eval gives for the same answers."""
import json
import subprocess
import sys
import time

import pyatspi

EVAL = sys.argv[1]
TICKS = ["口干咽燥", "五心烦热", "舌红少苔"]  # check1, check6, check13
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


def expected_report():
    done = subprocess.run([EVAL, "--ticks", "check1,check6,check13", "--personality", "1", "--json"],
                          capture_output=True, check=True)
    return json.loads(done.stdout)


def main():
    app = application()
    for caption in TICKS:
        press(control(app, caption, pyatspi.ROLE_CHECK_BOX), "Toggle")
    press(control(app, PERSONALITY, pyatspi.ROLE_RADIO_BUTTON), "Toggle")
    press(control(app, "诊断", pyatspi.ROLE_PUSH_BUTTON), "Press")

    report = window(app, "诊断结果")
    expected = expected_report()
    for heading, key in (("体质诊断结果", "diagnosis"), ("调理建议", "diet"), ("性格调整", "personality")):
        box = control(report, heading, pyatspi.ROLE_TEXT)
        assert text_of(box) == expected[key], f"{heading}: {text_of(box)[:40]!r}"

    name = control(report, "会员姓名", pyatspi.ROLE_TEXT)
    name.queryEditableText().setTextContents("张三")
    assert text_of(name) == "张三"

    press(control(app, "退出", pyatspi.ROLE_PUSH_BUTTON), "Press")
    print("corvane used through AT-SPI: ticked, diagnosed, read the report, typed a name, quit")


if __name__ == "__main__":
    main()
