#!/usr/bin/env python3
"""The forum odds log of the sample race day: examples/sample-day/logs/ODDS1206.LOG.

The odds posts carry the odds of the sample day's PAT files (examples/sample-day/odds/),
written the way the forum writes them, so that converted files can be compared with the
files they came from. Races posted (course, race, runners):

  中山 9R (8), 中山 7R (12), 中山 12R (16, posted twice: an early post at 08:50
  and the 09:35 one), 阪神 3R (12), 阪神 11R (11, horse 5 scratched),
  中京 5R (8), 中京 6R (16), 中京 1R (18)

and besides them: chatter, a post of Saturday 12/05 (中山 9R, 5回1日目), a post for 大井
(no JRA course), and a near-miss header without "取得".

A post, line by line (columns in characters unless said to be bytes):
  header   【オッズ】中山９レース　２６年５回２日目　２０２６年１２月　６日（日）　取得時刻　09:35
  name     "レース名：" and the race name from byte 11
  runners  race conditions, the runner count in characters 65-66 ("16頭")
  heading  (skipped)
  N lines  horse, name, win odds in 11-15, place bounds in 18-21 and 23-26,
           or "出走取消"
  heading  (skipped)
  below 9 runners: "枠連", the bracket numbers, 8 bracket lines
  from 9: N quinella lines, a heading, N lines: bracket table at the left
          (lines 1-8), pairs of first horses 13-17 at the right
Quinella cells are 5 bytes at byte columns 4, 10, ..., 34, 45, ..., 75 (first set) and
45, ..., 69 (second set), "-----" for a scratched horse, odds of 1000 and more without
decimals; bracket cells 4 bytes at byte columns 1, 6, ..., 36, odds of 100 and more
without decimals, "----" with a scratched horse.

Usage: tools/gen_forum_odds.py [--out FILE]      write the log
       tools/gen_forum_odds.py --check FOLDER    compare a converted WarsOdds folder
                                                 with the odds the posts carry
Standard library only; deterministic.
"""

from __future__ import annotations

import argparse
import os
import sys

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SAMPLE = os.path.join(REPO, "examples", "sample-day")
ODDS = os.path.join(SAMPLE, "odds")
OUT = os.path.join(SAMPLE, "logs", "ODDS1206.LOG")

CODES = {"中山": "6", "中京": "7", "阪神": "9"}
MEETING = {"中山": 5, "阪神": 5, "中京": 4}
TAKEN = {"中山": "09:35", "阪神": "09:36", "中京": "09:37"}
RACES = [("中山", 9), ("中山", 7), ("中山", 12), ("阪神", 3), ("阪神", 11), ("中京", 5), ("中京", 6), ("中京", 1)]
SCRATCH = "ﾄﾘｹｼ"
KANA = "アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン"


def wide(text: str) -> str:
    return "".join(chr(ord(c) + 0xFEE0) if "!" <= c <= "~" else c for c in text)


def sjis_len(text: str) -> int:
    return len(text.encode("cp932"))


def race_letter(race: int) -> str:
    return "ABC"[race - 10] if race >= 10 else str(race)


def odds_value(field: bytes):
    """A PAT odds field: a number, None for ﾄﾘｹｼ, "" for blank."""
    text = field.decode("cp932").strip()
    if text == SCRATCH:
        return None
    return float(text) if text else ""


class PatRace:
    """The odds of one race as its PAT98 files hold them."""

    def __init__(self, course: str, race: int):
        name = CODES[course] + "2" + race_letter(race)
        zo = open(os.path.join(ODDS, f"ZO-{name}.JRA"), "rb").read()
        uo = open(os.path.join(ODDS, f"UO-{name}.JRA"), "rb").read()
        self.course, self.race, self.name = course, race, name
        self.title = zo[48:76].decode("cp932").rstrip()
        self.runners = int(zo[140:142])
        self.win, self.place = {}, {}
        for h in range(1, self.runners + 1):
            e = zo[143 + 18 * (h - 1):161 + 18 * (h - 1)]
            self.win[h] = odds_value(e[2:7])
            self.place[h] = (odds_value(e[7:12]), odds_value(e[12:17]))
        self.bracket = {}
        k = 0
        for a in range(1, 9):
            for b in range(a, 9):
                self.bracket[(a, b)] = odds_value(zo[468 + 10 * k + 3:468 + 10 * k + 8])
                k += 1
        self.quinella = {}
        for k in range(153):
            e = uo[144 + 25 * k:169 + 25 * k]
            if e[2:4].strip():
                self.quinella[(int(e[2:4]), int(e[5:7]))] = odds_value(e[7:13])

    def scaled(self, factor: float) -> "PatRace":
        """The same race with other odds (an earlier post)."""
        other = PatRace.__new__(PatRace)
        other.__dict__.update(self.__dict__)
        f = lambda v: round(min(v * factor, 9999.9), 1) if isinstance(v, float) else v  # noqa: E731
        other.win = {h: (min(f(v), 999.9) if isinstance(v, float) else v) for h, v in self.win.items()}
        other.quinella = {p: f(v) for p, v in self.quinella.items()}
        other.bracket = {p: (min(f(v), 999.9) if isinstance(v, float) else v) for p, v in self.bracket.items()}
        return other


def quinella_cell(v) -> str:
    if v is None:
        return "-----"
    if v == "":
        return " " * 5
    return f"{v:5.1f}" if v < 1000 else f"{int(v):5d}"


def bracket_cell(v) -> str:
    if v is None:
        return "----"
    if v == "":
        return " " * 4
    return f"{v:4.1f}" if v < 100 else f"{int(v):4d}"


def horse_name(course: str, race: int, h: int) -> str:
    seed = (len(course) * 7 + race * 31 + h * 17) % len(KANA)
    return "".join(KANA[(seed + 5 * i) % len(KANA)] for i in range(5)) + "　"


def bracket_line(r: PatRace, b: int) -> str:
    return "".join((bracket_cell(r.bracket[(a, b)]) if a <= b else " " * 4) + " " for a in range(1, 9))


def post_lines(r: PatRace, taken: str, day: int = 6, day_no: int = 2, weekday: str = "日") -> list:
    head = (f"【オッズ】{r.course}{wide(str(r.race))}レース　{wide('26')}年{wide(str(MEETING[r.course]))}回"
            f"{wide(str(day_no))}日目　{wide('2026')}年{wide('12')}月{'　' if day < 10 else ''}{wide(str(day))}日"
            f"（{weekday}）　取得時刻　{taken}")
    cond = f"{wide(str(r.race))}Ｒ　{r.course}　{r.title}"
    lines = [head, "レース名：" + r.title, cond + " " * (64 - len(cond)) + f"{r.runners:2d}頭",
             "馬番 馬名         単勝  複勝"]
    for h in range(1, r.runners + 1):
        name = horse_name(r.course, r.race, h)
        if r.win[h] is None:
            lines.append(f"{h:2d} {name} 出走取消")
        else:
            lo, hi = r.place[h]
            assert hi < 100, "place odds fit 4 characters"
            lines.append(f"{h:2d} {name} {r.win[h]:5.1f}  {lo:4.1f}-{hi:4.1f}")
    if r.runners < 9:
        lines += ["", "枠連", "  1    2    3    4    5    6    7    8"]
        lines += [bracket_line(r, b) for b in range(1, 9)]
        return lines
    lines.append("馬連")
    for j in range(1, r.runners + 1):
        s = f"{j:2d} "
        for i in range(1, 13):
            if i == 7:
                s += f" │{j:2d}"
            s += (quinella_cell(r.quinella[(i, j)]) if i < j else " " * 5) + " "
        lines.append(s.rstrip())
    lines.append("枠連" + "　" * 18 + "馬連（続き）")
    for j in range(1, r.runners + 1):
        s = bracket_line(r, j) if j <= 8 else " " * 40
        if r.runners >= 13:
            s += f"│{j:2d}" + "".join((quinella_cell(r.quinella[(i, j)]) if i < j else " " * 5) + " "
                                     for i in range(13, 18))
        lines.append(s.rstrip())
    return lines


def message(number: int, subject: str, author: str, when: str, body: list) -> list:
    return [f"■ [{number}] {subject}", f"■ 投稿者: {author}  日時: {when}", "―" * 38] + body + [""]


def build() -> bytes:
    races = {key: PatRace(*key) for key in RACES}
    lines = []
    lines += message(9811, "【オッズ】12/5(土) 中山", "ｵｯｽﾞ係", "2026/12/05 15:20",
                     post_lines(races[("中山", 9)].scaled(1.3), "15:10", day=5, day_no=1, weekday="土"))
    lines += message(9840, "今日のオッズ投稿について", "ﾊﾟﾄﾞｯｸ", "2026/12/06 07:58",
                     ["オッズは【オッズ】の行から始まります。取得時刻のあとは読まないでください。", ""])
    lines += message(9841, "【オッズ】12/6(日) 中山12R（早朝）", "ｵｯｽﾞ係", "2026/12/06 08:52",
                     post_lines(races[("中山", 12)].scaled(1.2), "08:50"))
    near = post_lines(races[("中山", 7)].scaled(0.9), "08:55")
    near[0] = near[0].replace("取得時刻", "時刻")
    lines += message(9842, "【オッズ】テスト（取得なし）", "ﾃｽﾄ", "2026/12/06 08:56", near)
    for number, course in ((9850, "中山"), (9851, "阪神"), (9852, "中京")):
        body = []
        for key in RACES:
            if key[0] == course:
                body += post_lines(races[key], TAKEN[course]) + [""]
        lines += message(number, f"【オッズ】12/6(日) {course}", "ｵｯｽﾞ係", f"2026/12/06 {TAKEN[course]}", body)
    ooi = post_lines(races[("中京", 5)], "09:40")
    ooi[0] = ooi[0].replace("中京", "大井")
    lines += message(9853, "【オッズ】大井（地方）", "ﾁﾎｳ", "2026/12/06 09:41", ooi)
    return "".join(line + "\r\n" for line in lines).encode("cp932")


def check(folder: str) -> int:
    """Compares converted files with the odds of the posts; returns the number of differences."""
    bad = 0

    def differ(what, got, want):
        nonlocal bad
        if got != want:
            bad += 1
            print(f"{what}: {got!r} != {want!r}")

    def cell_value(v):   # what a cell written by quinella_cell/bracket_cell reads back as
        return v if not isinstance(v, float) else (float(int(v)) if v >= 1000 else v)

    for key in RACES:
        r = PatRace(*key)
        name = r.name
        zo = open(os.path.join(folder, f"ZO-{name}.JRA"), "rb").read()
        differ(f"ZO-{name} size", len(zo), 828)
        differ(f"ZO-{name} time", zo[44:48], TAKEN[r.course].replace(":", "").encode())
        for h in range(1, r.runners + 1):
            e = zo[143 + 18 * (h - 1):161 + 18 * (h - 1)]
            differ(f"ZO-{name} win {h}", odds_value(e[2:7]), r.win[h])
            if r.win[h] is not None:
                differ(f"ZO-{name} place {h}", (odds_value(e[7:12]), odds_value(e[12:17])), r.place[h])
        k = 0
        for a in range(1, 9):
            for b in range(a, 9):
                want = r.bracket[(a, b)]
                want = "" if want is None else (float(int(want)) if isinstance(want, float) and want >= 100 else want)
                differ(f"ZO-{name} bracket {a}-{b}", odds_value(zo[468 + 10 * k + 3:468 + 10 * k + 8]), want)
                k += 1
        uo_path = os.path.join(folder, f"UO-{name}.JRA")
        if r.runners < 9:
            differ(f"UO-{name} exists", os.path.exists(uo_path), False)
            continue
        uo = open(uo_path, "rb").read()
        differ(f"UO-{name} size", len(uo), 3971)
        k = 0
        for a in range(1, r.runners):
            for b in range(a + 1, r.runners + 1):
                e = uo[144 + 25 * k:169 + 25 * k]
                differ(f"UO-{name} {a}-{b}", (int(e[2:4]), int(e[5:7]), odds_value(e[7:13])),
                       (a, b, cell_value(r.quinella[(a, b)])))
                k += 1
    names = sorted(n for n in os.listdir(folder) if n.upper().endswith(".JRA"))
    want = sorted([f"ZO-{PatRace(*k).name}.JRA" for k in RACES]
                  + [f"UO-{PatRace(*k).name}.JRA" for k in RACES if PatRace(*k).runners >= 9])
    differ("files", names, want)
    print("ok" if bad == 0 else f"{bad} differences")
    return bad


def main() -> int:
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--out", default=OUT)
    ap.add_argument("--check", metavar="FOLDER")
    args = ap.parse_args()
    if args.check:
        return 1 if check(args.check) else 0
    data = build()
    with open(args.out, "wb") as f:
        f.write(data)
    print(f"{args.out}: {len(data)} bytes")
    return 0


if __name__ == "__main__":
    sys.exit(main())
