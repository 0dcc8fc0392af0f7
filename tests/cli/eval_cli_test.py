"""corvane-eval driven as a user runs it: arguments, exit codes, output streams."""
import json
import os
import re
import resource
import signal
import subprocess
import sys
import tempfile
import unittest

EVAL = sys.argv.pop(1) if len(sys.argv) > 1 else "corvane-eval"


def run(*args, stdin=""):
    return subprocess.run([EVAL, *args], input=stdin.encode(), capture_output=True, timeout=60)


def run_json(*args):
    done = run(*args, "--json")
    assert done.returncode == 0, done.stderr
    return json.loads(done.stdout)


class SingleAssessment(unittest.TestCase):
    def test_worked_example_reads_as_a_report(self):
        done = run("--ticks", "check1,check6,check13", "--personality", "1")
        self.assertEqual(done.returncode, 0)
        text = done.stdout.decode()
        self.assertIn("Yin 9", text)
        headings = [text.index(h) for h in ("体质诊断结果", "调理建议", "性格调整")]
        self.assertEqual(headings, sorted(headings))
        self.assertIn("  阴虚体质，补阴治疗。", text)
        self.assertIn("请继续保持这样良好的性格", text)

    def test_worked_example_as_json(self):
        report = run_json("--ticks", "1,6,13", "--personality", "1")
        self.assertEqual(report["scores"], {"Yin": 9, "Yang": 0, "Qi": 0, "Phlegm": 0, "Stasis": 0, "Balanced": 0})
        self.assertEqual(report["matched"], [{"table": "single", "row": 2}])
        self.assertEqual(report["diet_row"], 1)
        self.assertTrue(report["diagnosis"].startswith("  阴虚体质"))
        self.assertTrue(report["diet"].startswith("    饮食调理：应以淀粉类食物为主"))
        self.assertTrue(report["personality"].startswith("    请继续保持"))

    def test_scores_give_the_fourteen_matches(self):
        report = run_json("--scores", "Yin=12,Yang=15,Qi=7,Stasis=5")
        self.assertEqual(len(report["matched"]), 14)
        self.assertEqual(report["matched"][-1], {"table": "yin-yang-qi-quad", "row": 28})
        self.assertEqual(report["personality"], "")
        self.assertTrue(report["diagnosis"].startswith("    中度阴虚并中度阳虚交替出现"))

    def test_no_row_leaves_empty_boxes(self):
        report = run_json("--ticks", "")
        self.assertEqual((report["diagnosis"], report["diet"], report["matched"], report["diet_row"]), ("", "", [], None))

    def test_the_quote_in_a_text_survives_json(self):
        report = run_json("--scores", "Yin=16")
        self.assertTrue(report["diagnosis"].endswith('作用。"'))

    def test_bad_values_are_input_errors(self):
        for args in (["--ticks", "check80"], ["--ticks", "chek1"], ["--scores", "Spleen=2"],
                     ["--scores", "Yin=40000"], ["--scores", "Yin=1.5"], ["--ticks", "1", "--personality", "6"]):
            done = run(*args)
            self.assertEqual(done.returncode, 1, args)
            self.assertEqual(done.stdout, b"", args)
            self.assertIn(b"corvane-eval:", done.stderr)

    def test_version_names_this_program(self):
        self.assertEqual(run("--version").stdout, b"corvane-eval 1.0\n")

    def test_usage_errors_exit_2(self):
        for args in ([], ["--ticks", "1", "--scores", "Yin=2"], ["--batch", "--ticks", "1"], ["--frobnicate"], ["--personality"]):
            self.assertEqual(run(*args).returncode, 2, args)


class Batch(unittest.TestCase):
    def lines(self, stdin):
        done = run("--batch", stdin=stdin)
        return done, [json.loads(line) for line in done.stdout.decode().splitlines()]

    def test_each_line_is_a_fresh_assessment(self):
        stdin = ('{"ticks": ["check1", "check6", "check13"], "personality": 1, "name": "张三"}\n'
                 '{"ticks": []}\n'
                 '{"scores": {"Qi": 20}, "personality": 3}\n')
        done, out = self.lines(stdin)
        self.assertEqual(done.returncode, 0)
        self.assertEqual(len(out), 3)
        self.assertEqual([line.get("name") for line in out], ["张三", None, None])
        self.assertEqual(out[1]["diagnosis"], "")
        self.assertEqual(out[1]["personality"], "")
        self.assertEqual(out[1]["diet"], "")
        self.assertEqual(out[2]["matched"], [{"table": "single", "row": 11}])
        self.assertEqual(out[2]["diet_row"], 3)

    def test_bad_lines_are_reported_in_place(self):
        bad = ['{"ticks": ["check99"]}', '{"scores": {"Yin": -3}}', '{"scores": {"Yin": 2.5}}', "{not json",
               '{"ticks": [], "scores": {}}', '{"ticks": [], "age": 45.5}', '{"ticks": [], "personality": 9}',
               '{"scores": {"Spleen": 2}}', "", "[]", '"just a string"',
               '{"ticks": [' + "[" * 100000 + "]" * 100000 + "]}"]
        good = '{"scores": {"Yin": 9}}'
        stdin = "\n".join([good] + bad + [good]) + "\n"
        done, out = self.lines(stdin)
        self.assertEqual(done.returncode, 1)
        self.assertEqual(len(out), len(bad) + 2)
        self.assertEqual(out[0]["matched"], [{"table": "single", "row": 2}])
        self.assertEqual(out[-1], out[0])
        for number, line in enumerate(out[1:-1], start=2):
            self.assertEqual(set(line), {"line", "error"})
            self.assertEqual(line["line"], number)
        self.assertEqual(done.stderr.decode().count("corvane-eval: line "), len(bad))

    def test_invalid_utf8_yields_a_valid_error_line(self):
        done = subprocess.run([EVAL, "--batch"], input=b'{"ticks": ["\xff\xfe"]}\n', capture_output=True, timeout=60)
        self.assertEqual(done.returncode, 1)
        self.assertEqual(json.loads(done.stdout)["line"], 1)

    def test_many_lines_keep_their_order(self):
        stdin = "".join('{"scores": {"Balanced": %d}}\n' % (5 * (k % 9)) for k in range(5000))
        done, out = self.lines(stdin)
        self.assertEqual(len(out), 5000)
        self.assertEqual([o["scores"]["Balanced"] for o in out], [5 * (k % 9) for k in range(5000)])


class FailedWrites(unittest.TestCase):
    """Output that never reached its file is a failure, said on standard error."""
    BATCH = "".join('{"ticks": [%d, %d], "personality": %d}\n' % (k % 79 + 1, k % 13 + 1, k % 5 + 1)
                    for k in range(4000))

    def run_into(self, out, *args, stdin="", preexec_fn=None):
        return subprocess.run([EVAL, *args], input=stdin.encode(), stdout=out, stderr=subprocess.PIPE,
                              timeout=60, preexec_fn=preexec_fn)

    def test_a_full_disk_is_not_success(self):
        with open("/dev/full", "wb") as full:
            single = self.run_into(full, "--ticks", "1")
            batch = self.run_into(full, "--batch", stdin=self.BATCH)
        self.assertEqual(single.returncode, 1)
        self.assertIn(b"corvane-eval: could not write the report to standard output", single.stderr)
        self.assertEqual(batch.returncode, 1)
        self.assertTrue(batch.stderr.endswith(b"it is complete up to input line 0\n"), batch.stderr)

    def test_a_cut_batch_says_up_to_which_line_it_is_complete(self):
        def small_files():
            resource.setrlimit(resource.RLIMIT_FSIZE, (3_000_000, 3_000_000))
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)

        with tempfile.TemporaryFile() as out:
            done = self.run_into(out, "--batch", stdin=self.BATCH, preexec_fn=small_files)
            out.seek(0)
            written = out.read()
        self.assertEqual(done.returncode, 1)
        complete = int(re.search(rb"complete up to input line (\d+)\n$", done.stderr).group(1))
        lines = written.split(b"\n")
        self.assertEqual(complete, len(lines) - 1)  # whole lines, then at most a part of the next
        self.assertLess(complete, 4000)
        self.assertEqual(json.loads(lines[complete - 1])["scores"], run_json("--ticks", "%d,%d" % (
            (complete - 1) % 79 + 1, (complete - 1) % 13 + 1))["scores"])

    def test_a_closed_pipe_ends_quietly(self):
        for args, stdin in ((["--batch"], self.BATCH * 5), (["--ticks", "1"], "")):
            reader, writer = os.pipe()
            os.close(reader)
            with os.fdopen(writer, "wb") as closed:
                done = self.run_into(closed, *args, stdin=stdin)
            self.assertEqual(done.stderr, b"", args)


def in_language(lang, *args, stdin="", stdout=subprocess.PIPE):
    """A run under LANG alone, as a desktop session sets it (the build's own
    zh_CN.UTF-8 found through LOCPATH)."""
    env = {k: v for k, v in os.environ.items() if not k.startswith(("LC_", "LANGUAGE"))}
    env.update(LANG=lang, LOCPATH=os.environ.get("LOCPATH", ""))
    return subprocess.run([EVAL, *args], input=stdin.encode(), stdout=stdout, stderr=subprocess.PIPE,
                          env=env, timeout=60)


class UserLanguage(unittest.TestCase):
    """Messages in the user's language, with the system's reason in the same; the
    output and the exit statuses the same in every language."""
    SAID = {
        "C": ["The following argument was not expected: --bad-option\nRun with --help for more",
              "corvane-eval: line 2: unknown symptom 99: use check1",
              "corvane-eval: could not write the report to standard output: No space left on device\n"],
        "zh_CN.UTF-8": ["无法识别的参数：--bad-option\n用 --help 运行可查看更多信息。",
                        "corvane-eval: 第 2 行：未知症状 99：请用 check1",
                        "corvane-eval: 无法写入报告到标准输出：设备上没有空间\n"],
    }

    def test_bad_option_bad_line_and_full_disk_are_said_in_the_users_language(self):
        for lang, (option, line, disk) in self.SAID.items():
            with self.subTest(lang=lang), open("/dev/full", "wb") as full:
                bad_option = in_language(lang, "--bad-option")
                batch = in_language(lang, "--batch", stdin='{"ticks": [1]}\n{"ticks": [99]}\n')
                full_disk = in_language(lang, "--ticks", "1", stdout=full)
                self.assertEqual([bad_option.returncode, batch.returncode, full_disk.returncode], [2, 1, 1])
                self.assertIn(option, bad_option.stderr.decode())
                self.assertIn(line, batch.stderr.decode())
                self.assertEqual(full_disk.stderr.decode(), disk)

    def test_help_is_in_chinese_and_the_output_the_same_in_every_language(self):
        self.assertIn("用法: ", in_language("zh_CN.UTF-8", "--help").stdout.decode())
        batch = '{"ticks": [1, 6], "name": "张三"}\n{"ticks": [99]}\n'
        for args, stdin in ((["--ticks", "1,6,13", "--personality", "1"], ""), (["--scores", "Yin=12", "--json"], ""),
                            (["--batch"], batch)):
            english, chinese = (in_language(lang, *args, stdin=stdin) for lang in ("C", "zh_CN.UTF-8"))
            self.assertEqual(chinese.returncode, english.returncode)
            if args != ["--batch"]:
                self.assertEqual(chinese.stdout, english.stdout, args)
                continue
            english_lines, chinese_lines = ([json.loads(line) for line in run.stdout.splitlines()]
                                            for run in (english, chinese))
            self.assertEqual(chinese_lines[0], english_lines[0])
            self.assertEqual(list(chinese_lines[1]), list(english_lines[1]))
            self.assertNotEqual(chinese_lines[1]["error"], english_lines[1]["error"])


if __name__ == "__main__":
    unittest.main()
