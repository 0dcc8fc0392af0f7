"""Runs corvane-eval on a list of bad (and borderline) inputs and writes the
table of outcomes in docs/robustness.md, or checks that the table there is
still what the program does.

    python3 tests/cli/bad_inputs_table.py CORVANE_EVAL            # print the table
    python3 tests/cli/bad_inputs_table.py CORVANE_EVAL --check docs/robustness.md
"""
import json
import subprocess
import sys

DEEP = "[" * 100000 + "]" * 100000

# (how the table shows the input, arguments, standard input as bytes or None)
COMMAND_LINE = [
    ("--ticks check80", ["--ticks", "check80"], None),
    ("--ticks chek1", ["--ticks", "chek1"], None),
    ("--ticks 0", ["--ticks", "0"], None),
    ("--ticks 1.5", ["--ticks", "1.5"], None),
    ("--ticks +5", ["--ticks", "+5"], None),
    ("--ticks check1,,check2", ["--ticks", "check1,,check2"], None),
    ("--ticks check1,", ["--ticks", "check1,"], None),
    ("--ticks ' check1'", ["--ticks", " check1"], None),
    ("--ticks 口干咽燥", ["--ticks", "口干咽燥"], None),
    ("--ticks 自汗 (a caption of two symptoms)", ["--ticks", "自汗"], None),
    ("--ticks '口干咽燥 '", ["--ticks", "口干咽燥 "], None),
    ("--ticks $'\\xff\\xfe' (not UTF-8)", ["--ticks", b"\xff\xfe"], None),
    ("--ticks $'\\e[31mcheck1' (a terminal escape)", ["--ticks", "\x1b[31mcheck1"], None),
    ("--ticks check1,… (15,000 items)", ["--ticks", ",".join(["check1"] * 15000)], None),
    ("--scores Yin=-1", ["--scores", "Yin=-1"], None),
    ("--scores Yin=32768", ["--scores", "Yin=32768"], None),
    ("--scores Yin=99999999999999999999", ["--scores", "Yin=99999999999999999999"], None),
    ("--scores Yin=1.5", ["--scores", "Yin=1.5"], None),
    ("--scores 'Yin= 3'", ["--scores", "Yin= 3"], None),
    ("--scores yin=3", ["--scores", "yin=3"], None),
    ("--scores Spleen=2", ["--scores", "Spleen=2"], None),
    ("--scores Yin=3,Yin=4", ["--scores", "Yin=3,Yin=4"], None),
    ("--scores Yin", ["--scores", "Yin"], None),
    ("--scores =3", ["--scores", "=3"], None),
    ("--ticks 1 --personality 0", ["--ticks", "1", "--personality", "0"], None),
    ("--ticks 1 --personality 6", ["--ticks", "1", "--personality", "6"], None),
    ("--ticks 1 --personality x", ["--ticks", "1", "--personality", "x"], None),
    ("--ticks 1 --personality ''", ["--ticks", "1", "--personality", ""], None),
    ("(no options)", [], None),
    ("--ticks 1 --scores Yin=2", ["--ticks", "1", "--scores", "Yin=2"], None),
    ("--batch --ticks 1", ["--batch", "--ticks", "1"], None),
    ("--frobnicate", ["--frobnicate"], None),
    ("--ticks (no value)", ["--ticks"], None),
]

# One --batch line each, given as standard input.
BATCH_LINES = [
    ("{not json", b"{not json\n"),
    ("(an empty line)", b"\n"),
    ("[]", b"[]\n"),
    ('"just a string"', b'"just a string"\n'),
    ('{"ticks": ["check80"]}', b'{"ticks": ["check80"]}\n'),
    ('{"ticks": [0]}', b'{"ticks": [0]}\n'),
    ('{"ticks": [1.0]}', b'{"ticks": [1.0]}\n'),
    ('{"ticks": [9223372036854775808]}', b'{"ticks": [9223372036854775808]}\n'),
    ('{"ticks": "check1"}', b'{"ticks": "check1"}\n'),
    ('{"ticks": [null]}', b'{"ticks": [null]}\n'),
    ('{"ticks": [[[…100,000 levels…]]]}', b'{"ticks": [' + DEEP.encode() + b"]}\n"),
    ('{"ticks": ["\\xff"]} (not UTF-8)', b'{"ticks": ["\xff"]}\n'),
    ('{"ticks": ["check1\\u0000"]}', b'{"ticks": ["check1\\u0000"]}\n'),
    ('{"ticks": [1]}\\0{"ticks": [2]} (a NUL byte)', b'{"ticks": [1]}\x00{"ticks": [2]}\n'),
    ('{"ticks": [], "scores": {}}', b'{"ticks": [], "scores": {}}\n'),
    ('{"personality": 1}', b'{"personality": 1}\n'),
    ('{"ticks": [], "colour": 1} (a key nothing reads)', b'{"ticks": [], "colour": 1}\n'),
    ('{"ticks": [], "personality": 6}', b'{"ticks": [], "personality": 6}\n'),
    ('{"ticks": [], "personality": "1"}', b'{"ticks": [], "personality": "1"}\n'),
    ('{"ticks": [], "personality": "急"}', '{"ticks": [], "personality": "急"}\n'.encode()),
    ('{"ticks": [], "age": 45.5}', b'{"ticks": [], "age": 45.5}\n'),
    ('{"ticks": [], "age": "45岁"}', '{"ticks": [], "age": "45岁"}\n'.encode()),
    ('{"scores": {"Yin": -3}}', b'{"scores": {"Yin": -3}}\n'),
    ('{"scores": {"Yin": 2.5}}', b'{"scores": {"Yin": 2.5}}\n'),
    ('{"scores": {"Yin": "3"}}', b'{"scores": {"Yin": "3"}}\n'),
    ('{"scores": {"Yin": 32768}}', b'{"scores": {"Yin": 32768}}\n'),
    ('{"scores": [1, 2]}', b'{"scores": [1, 2]}\n'),
    ('{"ticks": [1], "ticks": [2]} (a key twice)', b'{"ticks": [1], "ticks": [2]}\n'),
    ('{"scores": {"Yin": 3, "Yin": 4}}', b'{"scores": {"Yin": 3, "Yin": 4}}\n'),
    ('{"ticks": ["\\u001b[2J"]} (a terminal escape)', b'{"ticks": ["\\u001b[2J"]}\n'),
    ('{"ticks": ["自汗"]} (a caption of two symptoms)', '{"ticks": ["自汗"]}\n'.encode()),
    ('{"ticks": [], "name": ["x"]}', b'{"ticks": [], "name": ["x"]}\n'),
    ('{"ticks": [], "file": ""}', b'{"ticks": [], "file": ""}\n'),
    ('{"ticks": [], "file": "../x.pdf"}', b'{"ticks": [], "file": "../x.pdf"}\n'),
    ('{"ticks": [], "file": "a\\u001b[31mb.pdf"} (a terminal escape)', b'{"ticks": [], "file": "a\\u001b[31mb.pdf"}\n'),
    ('{"ticks": [], "file": ".x.pdf"}', b'{"ticks": [], "file": ".x.pdf"}\n'),
    ('{"ticks": [], "file": " x.pdf"}', b'{"ticks": [], "file": " x.pdf"}\n'),
    ('{"ticks": [], "file": "c:x.pdf"}', b'{"ticks": [], "file": "c:x.pdf"}\n'),
    ('{"ticks": [1]} ending in CR LF', b'{"ticks": [1]}\r\n'),
    ('{"ticks": [1]} with no newline at the end', b'{"ticks": [1]}'),
    ('{"ticks": [1], "name": "肖霞"} in GBK (UTF-8 by chance: "Фϼ"), beside {"ticks": [2], "name": "张三"}',
     '{"ticks": [1], "name": "肖霞"}\n{"ticks": [2], "name": "张三"}\n'.encode("gbk")),
    ("CSV: 姓名,自汗 (a caption of two symptoms)", "姓名,自汗\n张三,是\n".encode()),
    ("CSV: 姓名,性别 (no symptom)", "姓名,性别\n张三,男\n".encode()),
    ("CSV: 姓名,症状,症状 (a column twice)", "姓名,症状,症状\n张三,1,2\n".encode()),
    ("CSV: 姓名,口干咽燥 and a row 张三,有", "姓名,口干咽燥\n张三,有\n".encode()),
    ('CSV: 姓名,症状 and a row 张三,"1,2 (a quote never closed)', '姓名,症状\n张三,"1,2\n'.encode()),
    ("CSV: 姓名,症状 and a row 张三,1,2 (a cell more than the header)", "姓名,症状\n张三,1,2\n".encode()),
    ("UTF-16 text", "姓名,症状\n".encode("utf-16")),
]


def as_bytes(argument):
    return argument if isinstance(argument, bytes) else argument.encode()


def outcome(program, arguments, stdin):
    done = subprocess.run([program, *map(as_bytes, arguments)], input=stdin or b"",
                          capture_output=True, timeout=60)
    return done.returncode, done.stdout.decode(errors="replace"), done.stderr.decode(errors="replace")


def first_line(text):
    lines = text.strip().splitlines()
    return lines[0] if lines else ""


def said(stdout, stderr, batch):
    if batch and stdout.strip():
        out = json.loads(stdout.splitlines()[0])
        if "error" in out:
            return "error line: " + out["error"]
        named = out["name"] + ", " if "name" in out else ""
        return "evaluated: " + named + "scores " + json.dumps(out["scores"], separators=(",", ":"))
    if stderr.strip():
        return first_line(stderr)
    return "report, first line: " + first_line(stdout)


def cell(text, limit=110):
    text = text if len(text) <= limit else text[: limit - 1] + "…"
    return "`" + text.replace("|", "\\|").replace("`", "'") + "`"


def table(program):
    rows = ["| input | exit | what corvane-eval says |", "|---|---|---|"]
    for shown, arguments, stdin in COMMAND_LINE:
        status, stdout, stderr = outcome(program, arguments, stdin)
        rows.append(f"| {cell('corvane-eval ' + shown)} | {status} | {cell(said(stdout, stderr, False))} |")
    for shown, stdin in BATCH_LINES:
        status, stdout, stderr = outcome(program, ["--batch"], stdin)
        rows.append(f"| {cell('--batch: ' + shown)} | {status} | {cell(said(stdout, stderr, True))} |")
    return "\n".join(rows) + "\n"


def main():
    program = sys.argv[1]
    text = table(program)
    if len(sys.argv) == 4 and sys.argv[2] == "--check":
        with open(sys.argv[3], encoding="utf-8") as doc:
            if text not in doc.read():
                sys.exit(f"{sys.argv[3]} no longer shows what corvane-eval does; "
                         f"regenerate its table with: python3 {sys.argv[0]} {program}")
        print("the table of bad inputs matches what corvane-eval does")
        return
    sys.stdout.write(text)


if __name__ == "__main__":
    main()
