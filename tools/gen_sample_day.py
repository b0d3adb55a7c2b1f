#!/usr/bin/env python3
"""Writes examples/sample-day/: a whole race day's inputs for `make demo`.

The race day is Sunday 6 December 2026 (processing day 20261206) with three
meetings, 中山 and 阪神 (5回2日目) and 中京 (4回2日目). The home folder holds
TOLV.INI, the two software lists, three forum logs under logs/, the day's race
cards in the four source kinds under cards/ and its PAT odds files under odds/
(both written by race_cards.py); expected/ holds the cut index and cut file
that log extraction must write for the day and the meeting schedule that each
race-card source must give.

The logs mix the day's WARS posts of a few dozen programs with what real
forum logs hold besides: posts of other days, chatter (some of it quoting
headers or holding 日目 and [ ]), near-miss headers, full-width digits in a
header, a post whose line after the separator is no race line, short race
lines, bracket-quinella picks, a post cross-posted to two forums, LF-only
messages and a last line without a line end.

Usage:
  tools/gen_sample_day.py [--out DIR]      write the sample day (default examples/sample-day)
  tools/gen_sample_day.py --check HOME     compare HOME's cut index, cut file and meeting schedule
                                           with the expected ones

Standard library and the `lha` command (jlha-utils) for the archives; the
output is the same on every run.
"""

from __future__ import annotations

import argparse
import datetime as dt
import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import race_cards as rc  # noqa: E402
import wars_forum as wf  # noqa: E402
import gen_results  # noqa: E402

SEED = 20261206
DAY = dt.date(2026, 12, 6)
SATURDAY = dt.date(2026, 12, 5)
OTHER_MONTH = dt.date(2026, 9, 6)   # a Sunday with the same day number
LAST_YEAR = dt.date(2025, 12, 6)    # the same date a year before (a Saturday)
REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_OUT = os.path.join(REPO, "examples", "sample-day")

# name, picks, and the program's habits
PROGRAMS = [
    ("馬王", dict(version="Ver2.10")),
    ("ｳﾏｿﾞｰ", dict(shape="axis", axis_first=True)),
    ("競馬脳", dict(picks=5)),
    ("AIKEI", dict(annotate=True, version="1.3")),
    ("穴党", dict(picks=4, noise=0.9)),
    ("本命君", dict(noise=0.12)),
    ("血統屋", dict()),
    ("指数王", dict(pad76=True)),
    ("職人", dict(picks=3)),
    ("ｹｲﾊﾞZ", dict(tag="A ")),
    ("逃げ馬", dict()),
    ("差し屋", dict(picks=5, shape="axis")),
    ("ﾊﾟﾄﾞｯｸ", dict()),
    ("枠連王", dict(picks=4, bet="bracket")),
    ("枠党", dict(picks=3, bet="bracket")),
    ("枠ﾏﾆｱ", dict(picks=5, bet="bracket", tag="WK")),
    ("三連星", dict(bet="mixed")),
    ("WINNER", dict()),
    ("KEIBA7", dict(annotate=True)),
    ("万券", dict(noise=1.0)),
    ("重賞", dict(races=(9, 12))),
    ("坂路", dict()),
    ("ﾗｯﾌﾟ", dict(pad76=True)),
    ("展開屋", dict(shape="axis")),
    ("単勝王", dict(picks=2)),
    ("人気薄", dict(noise=0.8)),
    ("連対率", dict()),
    ("回収率", dict(picks=5)),
    ("ORACLE", dict(tag="B ")),
    ("HORSE", dict()),
    ("電脳", dict(annotate=True)),
    ("予想屋", dict()),
    ("ZEN", dict(picks=4)),
    ("馬場読", dict()),
    ("直線", dict()),
    ("KACHI", dict(races=(5, 12))),
    ("騎手", dict()),
    ("ﾀﾞｰﾄ", dict()),
    ("芝王", dict()),
    ("BLUE", dict()),
    ("地方", dict()),
]


def make_programs(rng: wf.Rng) -> dict:
    codes = []
    while len(codes) < len(PROGRAMS):
        n = rng.between(1, 999) if rng.chance(0.2) else rng.between(1000, 9998)
        code = f"{n:04d}"
        if code not in codes and code not in ("7777", "0870"):
            codes.append(code)
    progs = {}
    for (name, habits), code in zip(PROGRAMS, codes):
        progs[name] = wf.Program(code=code, name=name, **habits)
    return progs


def at(day: dt.date, hhmm: str) -> dt.datetime:
    h, m = hhmm.split(":")
    return dt.datetime(day.year, day.month, day.day, int(h), int(m))


def subject_of(date: dt.date, meetings) -> str:
    return (f"【WARS】{date.month}/{date.day}({wf.WEEKDAYS[date.weekday()]}) "
            + "・".join(m.course for m in meetings) + " 予想")


def author_of(p: wf.Program) -> str:
    return f"{p.name} (WARS:{p.code})"


class SampleDay:
    def __init__(self):
        rng = self.rng = wf.Rng(SEED)
        self.progs = make_programs(rng)
        self.sun = [wf.make_meeting(rng, "中山", DAY, 5, 2),
                    wf.make_meeting(rng, "阪神", DAY, 5, 2),
                    wf.make_meeting(rng, "中京", DAY, 4, 2, main_class="G1")]
        self.sat = [wf.make_meeting(rng, "中山", SATURDAY, 5, 1),
                    wf.make_meeting(rng, "阪神", SATURDAY, 5, 1),
                    wf.make_meeting(rng, "中京", SATURDAY, 4, 1)]
        self.sep = [wf.make_meeting(rng, "中山", OTHER_MONTH, 4, 2),
                    wf.make_meeting(rng, "阪神", OTHER_MONTH, 4, 2)]
        self.last_year = [wf.make_meeting(rng, "中山", LAST_YEAR, 5, 1),
                          wf.make_meeting(rng, "阪神", LAST_YEAR, 5, 1)]
        self.noise_notes = []
        self.logs = {}
        self.build()

    # -- helpers ------------------------------------------------------------

    def post(self, log: wf.Log, when, prog_name, meetings, matching=True, eol="\r\n",
             greeting=None, footer="", subject=None, **block_args):
        p = self.progs[prog_name]
        blocks = [wf.post_block(self.rng, p, m, matching, **block_args) for m in meetings]
        date = meetings[0].date
        if greeting is None:
            greeting = (f"{p.name}の{date.month}月{date.day}日の予想です。"
                        if self.rng.chance(0.6) else "")
        return log.add_post(when, subject or subject_of(date, meetings), author_of(p), blocks,
                            greeting=greeting, footer=footer, eol=eol)

    def chatter(self, log, when, author, subject, body, eol="\r\n"):
        return log.add_chatter(when, subject, author, body, eol)

    def times(self, day: dt.date, start: str, end: str, n: int) -> list:
        """n posting times between start and end (end may pass midnight)."""
        a = at(day, start)
        b = at(day, end)
        if b <= a:
            b += dt.timedelta(days=1)
        span = int((b - a).total_seconds() // 60)
        return sorted(a + dt.timedelta(minutes=self.rng.below(span)) for _ in range(n))

    # -- the three logs -----------------------------------------------------

    def build(self):
        self.build_forum1()
        self.build_fh()
        self.build_forum3()

    def build_forum1(self):
        """The main forum, downloaded on the night before the race day."""
        log = self.logs["FORUM1.LOG"] = wf.Log(style=1, first_number=18231)
        sat_progs = ["馬王", "ｳﾏｿﾞｰ", "競馬脳", "本命君", "血統屋", "指数王", "逃げ馬", "枠連王",
                     "WINNER", "坂路", "騎手", "ﾀﾞｰﾄ"]
        for when, name in zip(self.times(dt.date(2026, 12, 4), "18:00", "09:20", len(sat_progs)), sat_progs):
            self.post(log, when, name, self.sat, matching=False)
        self.noise_notes.append(f"FORUM1.LOG: {len(sat_progs)} posts of Saturday 2026-12-05 (5回1日目)")

        sun_progs = ["馬王", "ｳﾏｿﾞｰ", "競馬脳", "AIKEI", "本命君", "血統屋", "指数王", "職人", "逃げ馬",
                     "差し屋", "ﾊﾟﾄﾞｯｸ", "枠連王", "三連星", "WINNER", "重賞", "坂路", "展開屋",
                     "人気薄", "ORACLE", "HORSE"]
        times = self.times(SATURDAY, "17:30", "00:20", len(sun_progs))
        for when, name in zip(times, sun_progs):
            meetings = self.sun
            if name in ("職人", "展開屋"):
                meetings = self.sun[:2]           # only the two main meetings
            if name == "重賞":
                meetings = self.sun[2:]           # only 中京 (the G1 day)
            if name == "差し屋":
                # one message per meeting
                for k, m in enumerate(meetings):
                    self.post(log, when + dt.timedelta(minutes=3 * k), name, [m],
                              subject=subject_of(DAY, [m]))
                continue
            msg = self.post(log, when, name, meetings,
                            footer="以上です。ご武運を！" if name == "WINNER" else "")
            if name == "AIKEI":
                self.cross_posted = msg
        # a corrected version posted later: both posts count
        self.post(log, at(SATURDAY, "23:41"), "馬王", self.sun[:1],
                  subject="【訂正】12/6(日) 中山 予想", greeting="中山の予想を差し替えます（取消馬のため）。")
        self.noise_notes.append("FORUM1.LOG: 馬王 posts 中山 twice (the second a correction); both are read")

        # a program that writes its own header without 回
        z = self.progs["ZEN"]
        block = wf.post_block(self.rng, z, self.sun[0], False)
        block.lines[1] = f"中山 2026年 第5開催 2日目 12月  6日(日) [{z.code}] ZEN"
        log.add_post(at(SATURDAY, "22:05"), subject_of(DAY, self.sun[:1]), author_of(z), [block])
        self.noise_notes.append("FORUM1.LOG: near-miss header without 回 (第5開催), with race lines")

        self.chatter(log, at(SATURDAY, "16:58"), "名無しさん", "今日の結果",
                     ["中山5回1日目のメイン、本命君さんの予想ズバリでしたね。",
                      "[的中報告] 中山11R 馬連 04-09 的中！ありがとうございます。"])
        self.chatter(log, at(SATURDAY, "18:12"), "ﾄﾞﾘｰﾑ", "Re: 明日の予想",
                     ["阪神 5回2日目 12月 6日(日) の予想はまだですか？ [質問]",
                      "中京4回2日目のG1、どのソフトも割れそうです。"])
        quote = self.post(log, at(SATURDAY, "21:30"), "血統屋", self.sun[:1], matching=False, greeting="")
        log.messages.remove(quote)
        self.chatter(log, at(SATURDAY, "23:02"), "馬券好き", "Re: 血統屋さんへ",
                     ["> " + quote.lines[1], "> " + quote.lines[3], "",
                      "この中山の予想、1Rは堅すぎませんか？ [雑談]"])
        self.chatter(log, at(dt.date(2026, 12, 6), "00:10"), "管理人", "[お知らせ] 明日の開催",
                     ["[定期] 本日の開催：中山5回2日目・阪神5回2日目・中京4回2日目",
                      "投稿はWARS形式でお願いします。 [管理人]"])
        self.noise_notes.append("FORUM1.LOG: chatter with 日目 and [ ], a reply quoting a header with '> '")

    def build_fh(self):
        """The day's log of a second forum, FH + month + day."""
        log = self.logs["FH1206.LOG"] = wf.Log(style=2, first_number=5402)
        progs = ["ｹｲﾊﾞZ", "枠党", "枠ﾏﾆｱ", "KEIBA7", "万券", "ﾗｯﾌﾟ", "単勝王", "連対率",
                 "回収率", "電脳", "KACHI", "馬場読"]
        lf_only = {"KACHI", "単勝王", "枠党"}
        for when, name in zip(self.times(DAY, "00:05", "09:30", len(progs)), progs):
            args = {}
            meetings = self.sun
            if name == "連対率":
                args["short_races"] = {3: 2, 7: 0, 10: 4}   # 7R: no pick at all
            if name == "枠党":
                meetings = self.sun[1:]
            self.post(log, when, name, meetings, eol="\n" if name in lf_only else "\r\n", **args)
        self.noise_notes.append("FH1206.LOG: posts of KACHI, 単勝王 and 枠党 have LF-only line ends")
        self.noise_notes.append("FH1206.LOG: 連対率 writes 3R with 2 picks, 7R with none, 10R with 4")

        # the same post in both forums
        copy = log.add_copy(self.cross_posted)
        copy.when = at(DAY, "06:12")
        self.noise_notes.append("FH1206.LOG: AIKEI's post is cross-posted from FORUM1.LOG, so it is read twice")

        # yesterday's hits, quoting Saturday's block
        self.post(log, at(DAY, "07:03"), "本命君", self.sat[:1], matching=False,
                  subject="昨日の的中", greeting="昨日（12/5）の中山、3鞍的中しました。予想を再掲します。")
        # a program of a local track
        self.post(log, at(DAY, "08:15"), "地方", [wf.Meeting("大井", DAY, 18, 6, self.sun[0].races)],
                  matching=False, subject="【WARS】大井 予想")
        self.noise_notes.append("FH1206.LOG: a 12/05 post quoted on the day; a post for 大井 (no JRA course)")
        self.chatter(log, at(DAY, "08:40"), "ﾄﾞﾘｰﾑ", "馬場",
                     ["中山 5回2日目(12月 6日(日))の馬場 [2026年版データより] 芝：良 ダート：稍重",
                      "阪神は晴れ、中京は曇り。"])
        self.chatter(log, at(DAY, "09:35"), "管理人", "締切",
                     ["本日の予想の受付は 9:40 までです。[管理人]"])

    def build_forum3(self):
        """A slower forum whose log still holds old messages."""
        log = self.logs["FORUM3.LOG"] = wf.Log(style=3, first_number=771)
        self.post(log, dt.datetime(2025, 12, 5, 21, 0), "BLUE", self.last_year, matching=False)
        self.post(log, dt.datetime(2026, 9, 5, 20, 30), "芝王", self.sep, matching=False)
        self.post(log, dt.datetime(2026, 9, 5, 22, 10), "BLUE", self.sep[:1], matching=False)
        self.noise_notes.append("FORUM3.LOG: old posts of 2025-12-06 (same date a year before) and 2026-09-06 "
                                "(same day number, another month)")

        progs = ["予想屋", "直線", "騎手", "ﾀﾞｰﾄ", "逃げ馬"]
        times = self.times(SATURDAY, "19:00", "08:50", 8)
        # 騎手: year, month and day in full-width digits
        self.post(log, times[0], "騎手", self.sun, fullwidth_date=True)
        # ﾀﾞｰﾄ: only the day in full-width digits, meetings in two messages
        for k, m in enumerate(self.sun[:2]):
            block = wf.post_block(self.rng, self.progs["ﾀﾞｰﾄ"], m, True)
            head = block.lines[1].replace(" 6日(", " ６日(")
            block.lines[1] = block.header = head
            log.add_post(times[1] + dt.timedelta(minutes=k), subject_of(DAY, [m]),
                         author_of(self.progs["ﾀﾞｰﾄ"]), [block])
        self.noise_notes.append("FORUM3.LOG: headers with full-width digits (騎手: year, month, day; ﾀﾞｰﾄ: day)")
        self.post(log, times[2], "逃げ馬", self.sun[1:2], subject="【WARS】阪神 追加")
        self.noise_notes.append("FORUM3.LOG: 逃げ馬 posts 阪神 again here (another post, read as well)")

        # the line after the separator is no race line: the post is not read
        p = self.progs["予想屋"]
        block = wf.post_block(self.rng, p, self.sun[0], False)
        block.lines.insert(3, "※本日は馬連6点勝負です。")
        log.add_post(times[3], subject_of(DAY, self.sun[:1]), author_of(p), [block])
        d = self.progs["直線"]
        log.add_post(times[4], "本日休み", author_of(d), [], greeting="", footer="")
        log.messages[-1].lines = [wf.RULE, wf.header_line(self.sun[0], d.code, "直線"), wf.RULE,
                                  "本日は都合により予想をお休みします。", ""]
        self.noise_notes.append("FORUM3.LOG: two posts whose line after the separator is no race line "
                                "(a note before the race lines; a day off)")

        # near misses
        m = self.progs["HORSE"]
        short = wf.post_block(self.rng, m, self.sun[1], False)
        short.lines[1] = "中山2026年回日目12月6日([1]"
        log.add_post(times[5], "テスト", "名無しさん", [short])
        cut = wf.post_block(self.rng, m, self.sun[1], False)
        cut.lines[1] = f"阪神 2026年  5回  2日目 12月  6日(日) [{m.code[:2]}"
        log.add_post(times[6], "テスト2", "名無しさん", [cut])
        self.noise_notes.append("FORUM3.LOG: a 19-character header (too short) and one cut before ']', "
                                "each followed by race lines")

        self.chatter(log, times[7], "ﾄﾞﾘｰﾑ", "Re: 皆さんの予想",
                     ["今日は 12月 6日(日)、中山5回2日目です。[雑談]",
                      "昨日の5回1日目は荒れましたね。",
                      "中京 2026年 4回 2日目 のG1、どう見ます？"])
        self.noise_notes.append("FORUM3.LOG: ends with a line without a line end")

    # -- output -------------------------------------------------------------

    def check_model(self, name: str, data: bytes) -> list:
        """Proves with the reader model that the log holds exactly the intended posts."""
        blocks = self.logs[name].blocks()
        found = wf.read_posts(data, DAY)
        want = [(b.header.strip(" "), b.race_lines) for b in blocks]
        if found != want:
            for i, (f, w) in enumerate(zip(found, want)):
                if f != w:
                    raise SystemExit(f"{name}: post {i + 1}: model reads {f[0]!r}, generator meant {w[0]!r}")
            raise SystemExit(f"{name}: model reads {len(found)} posts, generator meant {len(want)}")
        return blocks

    def write(self, out: str) -> None:
        os.makedirs(os.path.join(out, "logs"), exist_ok=True)
        os.makedirs(os.path.join(out, "expected"), exist_ok=True)
        all_blocks = []
        summary = []
        for name in ("FORUM1.LOG", "FH1206.LOG", "FORUM3.LOG"):
            log = self.logs[name]
            data = log.to_bytes(final_eol=name != "FORUM3.LOG")
            blocks = self.check_model(name, data)
            all_blocks += blocks
            codes = sorted({b.header[b.header.find("[") + 1:][:4] for b in blocks})
            summary.append((name, len(log.messages), len(blocks), sum(len(b.records) for b in blocks),
                            len(codes), len(data)))
            write_bytes(os.path.join(out, "logs", name), data)
        records = b"".join(r for b in all_blocks for r in b.records)
        write_bytes(os.path.join(out, "expected", DAY.strftime("%Y%m%d") + ".DAT"), records)
        write_bytes(os.path.join(out, "expected", "WARS" + DAY.strftime("%Y%m%d") + ".TXT"),
                    wf.expected_cut_file(all_blocks))
        # Race cards and odds come from a random sequence of their own, so the
        # logs stay as they are.
        cards = rc.DayCards(SEED + 1, DAY, self.sun, self.sat)
        schedules = cards.write_cards(os.path.join(out, "cards"))
        ymd = DAY.strftime("%Y%m%d")
        for kind, suffix in (("JRAVAN", ""), ("TARGET", ".TARGET"), ("KOL", ".KOL"), ("MJH", ".MJH")):
            write_bytes(os.path.join(out, "expected", ymd + "開催" + suffix + ".DAT"), schedules[kind])
        odds_files = cards.write_odds(os.path.join(out, "odds"))
        # The day's results files live beside the odds files they are made from.
        gen_results.write_results(os.path.join(out, "odds"))
        write_bytes(os.path.join(out, "TOLV.INI"), crlf(TOLV_INI).encode("cp932"))
        write_bytes(os.path.join(out, "TOLVSOFT.LST"), crlf(self.tolv_list()).encode("cp932"))
        write_bytes(os.path.join(out, "PIRUNE.LST"), crlf(self.pirune_list()).encode("cp932"))
        programs = sorted({b.header[b.header.find("[") + 1:][:4] for b in all_blocks})
        with open(os.path.join(out, "README.md"), "w", encoding="utf-8", newline="\n") as f:
            f.write(self.readme(summary, len(all_blocks), len(records) // 40, len(programs), cards, odds_files))

    def tolv_list(self) -> str:
        p = self.progs
        listed = ["馬王", "ｳﾏｿﾞｰ", "競馬脳", "AIKEI", "穴党", "本命君", "血統屋", "指数王", "職人",
                  "ｹｲﾊﾞZ", "逃げ馬", "差し屋", "ﾊﾟﾄﾞｯｸ", "枠連王", "枠党", "三連星", "WINNER",
                  "KEIBA7", "万券", "重賞", "坂路", "ﾗｯﾌﾟ", "展開屋", "人気薄", "連対率", "回収率",
                  "ORACLE", "電脳", "騎手", "ﾀﾞｰﾄ", "芝王"]
        lines = ["; トルブ ソフトリスト（コード4桁＋略称6バイト）", ""]
        lines += [p[n].code + p[n].name for n in listed[:16]]
        lines += ["", "; ここから下は2026年に追加"]
        lines += [p[n].code + p[n].name for n in listed[16:]]
        lines += [":" + p["HORSE"].code + "HORSE", ":" + p["単勝王"].code + "単勝王",
                  "#" + p["ZEN"].code + "ZEN", ""]
        return "\n".join(lines) + "\n"

    def pirune_list(self) -> str:
        p = self.progs
        names = ["本命君", "血統屋", "指数王", "AIKEI", "WINNER", "ﾊﾟﾄﾞｯｸ", "坂路", "電脳", "KEIBA7"]
        lines = ["; ぴるね ソフトリスト（1番目が基準ソフト）"]
        # The first program posted nothing for the day: the second one
        # becomes the base program.
        lines += ["1000休眠君"]
        lines += [p[n].code + p[n].name for n in names]
        lines += [":" + p["万券"].code + "万券", ""]
        return "\n".join(lines) + "\n"

    def readme(self, summary, posts, records, programs, cards, odds_files) -> str:
        rows = "\n".join(f"| logs/{n} | {msgs} | {b} | {r} | {c} | {size:,} |"
                         for n, msgs, b, r, c, size in summary)
        notes = "\n".join(f"- {n}" for n in self.noise_notes)
        cs = cards.card_summary
        big, big_size, big_records = cs["big"]
        small, small_size = cs["small"]
        return f"""# Sample race day: Sunday 6 December 2026

Generated by `tools/gen_sample_day.py` (do not edit by hand; run it again).
`make demo` copies this folder to a scratch home and runs tolv-cli on it for
the processing day 20261206.

- `TOLV.INI`: the settings (CP932, CR LF). Log 2 is `logs/FH%M1%D1.LOG`,
  which resolves to `logs/FH1206.LOG` for the day.
- `TOLVSOFT.LST`, `PIRUNE.LST`: the software lists. The first program of
  `PIRUNE.LST` (1000 休眠君) posted nothing for the day, so the second one
  (本命君) is the base program of ぴるね.
- `logs/`: three forum logs (CP932), and `ODDS1206.LOG`, the forum's odds posts of the
  day (ODDS `FHwars=logs/ODDS%M1%D1.LOG`, written by `tools/gen_forum_odds.py`).
- `cards/` (FILE `DenFileFolder`): the day's race cards in the four source
  kinds of the meeting schedule; `DenFlag=3` takes the JRA-VAN archive.
- `odds/` (ODDS `PATFolder`, `PAT=1`): the day's PAT98 odds files and a copy
  of the MJH text.
- `expected/`: the cut index `20261206.DAT` and the cut file
  `WARS20261206.TXT` that log extraction must write for the day, and the
  meeting schedule `20261206開催.DAT` built from the JRA-VAN cards; beside it
  the schedules that the other three sources must give,
  `20261206開催.TARGET.DAT` (DenFlag 1), `20261206開催.KOL.DAT` (DenFlag 2) and
  `20261206開催.MJH.DAT` (DenFlag 0) (`tools/gen_sample_day.py --check HOME`
  compares a home's files with them).

Meetings of the day: 中山 5回2日目, 阪神 5回2日目, 中京 4回2日目, races 1-12.

| Log | messages | posts of the day (meeting blocks) | race lines (records) | programs | bytes |
|---|---|---|---|---|---|
{rows}

In all: {posts} posts, {records} cut records, from {programs} programs.

What else the logs hold:

{notes}

## Race cards (`cards/`)

Every source lists the 36 races of the day course by course; fields that the
meeting schedule does not read are spaces.

| File | Kind (DenFlag) | Content |
|---|---|---|
| `{big}` | JRA-VAN (3) | {big_size:,} bytes: `JRACDEN1.DAT`, {big_records} records of 1463 bytes, and `JRAUMA.DAT`, incompressible padding. The first 3 records are Saturday 2026-12-05's 12R (中山, 中京, 阪神), then the day's races in course-code order (06 中山, 07 中京, 09 阪神), last a record of 2025-12-06 at 東京 (same month and day a year before, a course not raced on the day). |
| `{small}` | JRA-VAN (3) | {small_size:,} bytes, first in directory order but not above 50000 bytes, so not used: an early card of the day (中山 and 阪神 only, registered runner counts). |
| `{cs["target"][0]}` | TARGET (1) | {cs["target"][1]} records of 584 bytes: Saturday's 中山 12R first, the day's races in course-code order, a record of 2025-12-06 last. 中京 11R has the grade letter A (G1, class 51); 中山 11R has L (a listed race, no grade: its class comes from the condition codes, 00). |
| `{cs["kol"][0]}` | KOL (2) | `kol_den1.kd2`, {cs["kol"][1]} records of 779 bytes in the second course numbering and in its order (01 阪神, 02 中京, 05 中山), Saturday's 阪神 12R first and a 2025-12-06 record last. Class numbers: 1 新馬, 3 未勝利, 4 open, 5000/10000/16000 the win classes. |
| `{cs["mjh"][0]}` | MJH text (0) | {cs["mjh"][1]:,} lines ({cs["mjh"][2]:,} bytes): a "00" head line, one "01" line per meeting (中山, 阪神, 中京), then per race a "05" line (the surface, a full-width character, at column 15), a "06" line (the race name in bytes 10-39; 中京 11R fills all 30 bytes and the line goes on after them), the "10" runner lines (horse names in full-width katakana before the mark in column 57; three favourites marked "1", four in 中京 11R), and the "21", "22" and "24" odds lines; a "99" line ends the file. 中山 6R has one bracket line written 3-2, 阪神 3R one quinella line written 05-02. |

The day's courses are 06, 07 and 09 (CourseCount 3) by every source. Races
with 8 runners: 中山 9R and 中京 5R; no race is a jump race.

The expected schedules (67-byte records: course name, 回, 日目, race " 1"-"12",
surface, distance, runners, age, class code, race name, start time "hh:mm",
10 zero bytes) keep each source's order. From JRA-VAN, TARGET and KOL the
runners are the card's two characters ("08") and the race name is blank;
they differ only in order and in 中京 11R's class (00, but 51 from TARGET's
grade letter). From MJH data the age and class are blank, the race name comes
from the "06" lines, the start time is "  :  ", and the runners, held there as
a number, are written left-aligned ("8 ").

## Odds (`odds/`)

{odds_files} PAT odds files as the betting software leaves them: `UO-` + name +
`.JRA` in the PAT98 layout (3971 bytes: quinella and quinella-place odds of
the field's pairs in order, the rest blank) and `ZO-` + name + `.JRA` (828
bytes: win and place entries, bracket-quinella entries), name = course letter
(6 中山, 9 阪神, 7 中京), day 2, race 1-9, A, B, C. Odds were taken at 09:35
(中山), 09:36 (阪神) and 09:37 (中京). 阪神 11R's horse 5, alone in bracket 5,
is scratched: ﾄﾘｹｼ in its win/place entry, in every pair with it and in every
bracket-quinella pair with bracket 5. `RX261206.TXT` is the same MJH text as
in `cards/` (odds source 4 reads it from the odds folder).

## Tolv outputs

`expected/tolv/` holds the Tolv data and index files, the text listings and
the WARS-format file that `tolv-cli extract`, `create` and `wars` write for
the day with these settings (PAT98 odds from `odds/`); `expected/tolv-mjh/`
the Tolv data files after `odds` with the MJH data (`PAT=4`). They were made
by tolv-cli and checked by hand (this script does not write them); the tests
compare every later run with them byte for byte, the version "Ver4.16.1" in
the listing and WARS banners included.

`expected/forum-odds/` and `expected/kol/` hold the PAT98 odds files that
`tolv-cli forum-odds` (from `logs/ODDS1206.LOG`) and `tolv-cli convert kol98
kol/J261206.LZH --out kol` write, also made by tolv-cli and checked by hand.

`expected/race-day/` holds what the whole day of `make demo` writes, also
made by tolv-cli and checked by hand: the PAD file `wPAD.TXT` of the batch run
(section 一括処理: extraction, トルブ, WARS, ぴるね, PAD), the pending bets
`~B20261206.TXT` after sending 中山 rows 1-3, 阪神 quinella-place rows 1-2
and the WARS file's picks, merging and sorting; their exports (パッとベッと
`261206_1.BET`-`_5.BET`, Bet Auto `20261206.lst`, `馬券塾20261206.TXT`); and
after 的中判定 the results file `Sei20261206.DAT`, the Tolv data files with
their hits and the WARS file with the hits marked (`...7777.TXTS`).
"""


TOLV_INI = """\
; トルブ 設定ファイル（サンプル開催日 2026年12月6日(日)）
; パスは TOLV.INI のあるフォルダーからの相対パスです。
[FILE]
LogFile1=logs/FORUM1.LOG
LogFile2=logs/FH%M1%D1.LOG
LogFile3=logs/FORUM3.LOG
LogFflag1=True
LogFflag2=True
LogFflag3=True
DenFileFolder=cards/
DenFlag=3
CutFileFolder=OutPut/
CutFileSty=0
MyCutFile=WARS.TXT
SOFT_CUT=0

[ODDS]
PAT=1
PATFolder=odds/
FHwars=logs/ODDS%M1%D1.LOG
MIN=5
MAX=300

[OTHER]
MinW=3
MaxW=999
LIST1=TOLVSOFT.LST
LIST2=PIRUNE.LST

[BET]
枠連=100
馬連=200
ワイド=100
パッとベッと=
Bet Auto=
BetOutFlag=0
保留ＢＥＴ=

[WARS]
OUTFOLDER=
OUTPUT=6
CODE=7777
HEDAFLAG=0
ORGHEDA=
WKA1=1
WKA2=

[ぴるね]
OUTFOLDER=
OUTPUT=5
CODE=0870
HEDAFLAG=0
ORGHEDA=
HKA1=1
HKA2=
SORTFLAG=1

[一括処理]
WARSオッズ変換=False
ログ読み込み=True
トルブ作成=True
WARS出力=True
ぴるね作成=True
自動終了=False
PAD作成=True
予約時間=094500
"""


def crlf(text: str) -> str:
    return text.replace("\r\n", "\n").replace("\n", "\r\n")


def write_bytes(path: str, data: bytes) -> None:
    with open(path, "wb") as f:
        f.write(data)


def den_flag(home: str) -> int:
    """FILE DenFlag of a home's TOLV.INI as the program loads it (3 when
    missing, empty or outside 0-3)."""
    section = ""
    try:
        with open(os.path.join(home, "TOLV.INI"), encoding="cp932", errors="replace") as f:
            for line in f:
                line = line.strip()
                if line.startswith("["):
                    section = line.strip("[]").strip().upper()
                elif section == "FILE" and "=" in line and line.split("=", 1)[0].strip().upper() == "DENFLAG":
                    n = int(wf.val(line.split("=", 1)[1].strip().strip('"')))
                    return n if line.split("=", 1)[1].strip() and 0 <= n <= 3 else 3
    except OSError:
        pass
    return 3


def check(home: str) -> int:
    """Compares a home's cut index and cut file with the expected ones."""
    ok = True
    ymd = DAY.strftime("%Y%m%d")
    expected = os.path.join(DEFAULT_OUT, "expected")
    pairs = [(os.path.join(home, "DATA", ymd + ".DAT"), os.path.join(expected, ymd + ".DAT"), 40),
             (os.path.join(home, "OutPut", "WARS" + ymd + ".TXT"), os.path.join(expected, "WARS" + ymd + ".TXT"), 0)]
    schedule = os.path.join(home, "DATA", ymd + "開催.DAT")
    if os.path.exists(schedule):
        # the expected schedule of the race-card source the home is set to
        suffix = {0: ".MJH", 1: ".TARGET", 2: ".KOL"}.get(den_flag(home), "")
        pairs.append((schedule, os.path.join(expected, ymd + "開催" + suffix + ".DAT"), rc.SCHEDULE_LEN))
    else:
        print(f"{schedule}: not built (no schedule step was run)")
    for got_path, want_path, reclen in pairs:
        with open(want_path, "rb") as f:
            want = f.read()
        try:
            with open(got_path, "rb") as f:
                got = f.read()
        except OSError as e:
            print(f"{got_path}: {e.strerror}")
            ok = False
            continue
        if got == want:
            print(f"{got_path}: as expected ({len(got):,} bytes)")
            continue
        ok = False
        if reclen:
            print(f"{got_path}: {len(got) // reclen} records, expected {len(want) // reclen}")
            for i in range(0, max(len(got), len(want)), reclen):
                g, w = got[i:i + reclen], want[i:i + reclen]
                if g != w:
                    print(f"  first difference at record {i // reclen + 1}:\n"
                          f"    got      {g.decode('cp932', 'replace')!r}\n"
                          f"    expected {w.decode('cp932', 'replace')!r}")
                    break
        else:
            gl, wl = got.split(b"\r\n"), want.split(b"\r\n")
            for i, (g, w) in enumerate(zip(gl, wl)):
                if g != w:
                    print(f"{got_path}: first difference at line {i + 1}:\n"
                          f"    got      {g.decode('cp932', 'replace')!r}\n"
                          f"    expected {w.decode('cp932', 'replace')!r}")
                    break
            else:
                print(f"{got_path}: {len(gl)} lines, expected {len(wl)}")
    return 0 if ok else 1


def main() -> int:
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0],
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--out", default=DEFAULT_OUT, help="folder to write (default: %(default)s)")
    ap.add_argument("--check", metavar="HOME",
                    help="compare HOME/DATA/20261206.DAT, HOME/OutPut/WARS20261206.TXT and, when built, "
                         "HOME/DATA/20261206開催.DAT with the expected files")
    args = ap.parse_args()
    if args.check:
        return check(args.check)
    day = SampleDay()
    day.write(args.out)
    print(f"wrote {args.out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
