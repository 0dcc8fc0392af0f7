"""Uses corvane's batch window (corvane --batch-window) only through the AT-SPI
accessibility bus: types the members' file and the folder into the fields
named 会员名单 and 输出文件夹, presses 开始, watches the progress bar move,
presses 停止 and finds only whole pages, presses 开始 again and finds every
member's page and the results table.

    atspi_batch_drive.py WORK_FOLDER"""
import os
import sys

import pyatspi

from atspi_drive import application, control, press, text_of, wait_for

MEMBERS = 50


def members_file(path):
    rows = ["姓名,性别,年龄,性格,口干咽燥,2,check3"]
    rows += [f"会员{k},{'男' if k % 2 else '女'},{30 + k},{k % 5 + 1},{'是' if k % 2 else ''},√,{k % 2}"
             for k in range(MEMBERS)]
    with open(path, "w", encoding="gb18030", newline="\r\n") as out:
        out.write("\n".join(rows) + "\n")


def batch_window(app):
    return wait_for(lambda: next((w for w in app if w is not None and w.name.startswith("Corvane 批量导出")), None),
                    "the batch window")


def enabled(accessible):
    return accessible.getState().contains(pyatspi.STATE_ENABLED)


def pages(folder):
    return sorted(name for name in os.listdir(folder) if name.endswith(".pdf"))


def only_whole_pages(folder):
    for name in os.listdir(folder):
        assert name == "汇总.csv" or name.endswith(".pdf"), f"{name} left in {folder}"
        if name.endswith(".pdf"):
            with open(os.path.join(folder, name), "rb") as page:
                assert page.read().rstrip().endswith(b"%%EOF"), f"{name} is not whole"


def main():
    work = sys.argv[1]
    source = os.path.join(work, "会员名单.csv")
    folder = os.path.join(work, "报告")
    members_file(source)
    window = batch_window(application())
    for field, text in (("会员名单", source), ("输出文件夹", folder)):
        control(window, field, pyatspi.ROLE_TEXT).queryEditableText().setTextContents(text)
    start = control(window, "开始", pyatspi.ROLE_PUSH_BUTTON)
    stop = control(window, "停止", pyatspi.ROLE_PUSH_BUTTON)
    bar = control(window, "进度", pyatspi.ROLE_PROGRESS_BAR).queryValue()

    press(start, "Press")
    wait_for(lambda: bar.currentValue >= 3 or None, "the progress bar moving", wait=60)
    assert bar.maximumValue == MEMBERS, bar.maximumValue
    press(stop, "Press")
    wait_for(lambda: enabled(start) or None, "开始 back after 停止", wait=60)
    stopped_at = len(pages(folder))
    assert 0 < stopped_at < MEMBERS, f"{stopped_at} pages after 停止"
    only_whole_pages(folder)

    press(start, "Press")
    wait_for(lambda: (bar.currentValue == MEMBERS and enabled(start)) or None, "the batch done", wait=120)
    assert pages(folder) == sorted(f"{k + 1:02}_会员{k}.pdf" for k in range(MEMBERS)), pages(folder)
    only_whole_pages(folder)
    summary = f"已写入 {MEMBERS - stopped_at} 页，跳过 {stopped_at} 页，失败 0 页。"
    wait_for(lambda: pyatspi.utils.findDescendant(
        window, lambda a: a is not None and a.name.startswith(summary), True), summary)
    print(f"the batch window used through AT-SPI: 50 members, stopped after {stopped_at} pages with only "
          "whole files, taken up again and finished")


if __name__ == "__main__":
    main()
