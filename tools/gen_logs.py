#!/usr/bin/env python3
"""Generates large forum logs for the log extraction benchmark.

Writes three logs, BENCH1.LOG, BENCH2.LOG and BENCH3.LOG, of about SIZE_MB
in all into a folder, for a race day with three meetings (36 races). Each log
is a forum download: the day's WARS posts of thousands of programs, posts of
the other days the log still holds (the day before and the weekends before),
and chatter between them, some of it holding 日目 and [ ] or quoting a
header. A few posts use LF-only line ends.

Also writes MANIFEST: the sizes and what log extraction must find for the day
(posts, i.e. meeting blocks, and cut records), so the benchmark can check the
result of what it timed.

Usage:
  tools/gen_logs.py --out DIR [--day YYYYMMDD] [--size-mb 100] [--programs 5000] [--seed N]

Standard library only; the same arguments give the same bytes.
"""

from __future__ import annotations

import argparse
import datetime as dt
import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import wars_forum as wf  # noqa: E402

# Courses of the day and their meeting numbers (meeting, day number).
DAY_COURSES = [("中山", 5, 2), ("阪神", 5, 2), ("中京", 4, 2)]
VARIANTS = 48           # distinct race lines per race; programs draw from them
CHUNK = 1 << 20

CHATTER = [
    "今日の中山は風が強いですね。",
    "[雑談] 阪神の芝、外差しが決まってます。",
    "中京{meeting}回{day}日目のメイン、皆さんどう見ます？",
    "{course}{meeting}回{day}日目 {month}月 {dd}日({wd}) の予想はまだですか？ [質問]",
    "[定期] 本日の開催：中山{meeting}回{day}日目ほか",
    "昨日の{course}、本命君さんの予想ズバリでしたね。",
    "馬連 04-09 的中しました！ [的中報告]",
    "> 1R の 03-07 は堅いと思います。",
    "投稿はWARS形式でお願いします。 [管理人]",
    "今週もよろしくお願いします。",
]


def weekday(d: dt.date) -> str:
    return wf.WEEKDAYS[d.weekday()]


class Generator:
    def __init__(self, day: dt.date, programs: int, seed: int):
        self.rng = wf.Rng(seed)
        self.day = day
        rng = self.rng
        self.codes = [f"{n:04d}" for n in rng.sample(range(1, 10000), min(programs, 9999))]
        self.names = [f"ｿﾌﾄ{i % 100:02d}" for i in range(len(self.codes))]
        # the day and the other days the logs still hold
        others = [day - dt.timedelta(days=k) for k in (1, 7, 8, 14, 15)]
        self.meetings = {d: self.make_meetings(d, 2 if d == day else (1 if d.weekday() == 5 else 2))
                         for d in [day] + others}
        self.other_days = others
        self.lines = {d: self.race_lines(ms) for d, ms in self.meetings.items()}

    def make_meetings(self, d: dt.date, day_no: int) -> list:
        return [wf.make_meeting(self.rng, c, d, m, day_no) for c, m, _ in DAY_COURSES]

    def race_lines(self, meetings) -> list:
        """Per meeting, per race: VARIANTS (line, cut record tail) pairs."""
        styles = [wf.Program(code="0000", name="", picks=6),
                  wf.Program(code="0000", name="", picks=6, shape="axis"),
                  wf.Program(code="0000", name="", picks=5, noise=0.8),
                  wf.Program(code="0000", name="", picks=4, bet="bracket"),
                  wf.Program(code="0000", name="", picks=3),
                  wf.Program(code="0000", name="", picks=6, bet="mixed")]
        out = []
        for m in meetings:
            per_race = []
            for race in m.races:
                variants = []
                for v in range(VARIANTS):
                    p = styles[v % len(styles)]
                    picks = wf.program_picks(self.rng, p, race)
                    line = wf.race_line(race.number, picks)
                    if v % 7 == 0:
                        line = wf.annotate(line, race)
                    variants.append(line)
                per_race.append(variants)
            out.append(per_race)
        return out

    def post(self, d: dt.date, code: str, name: str, when: dt.datetime, number: int, eol: str):
        """A prediction message: its text and the number of race lines of
        the day it holds."""
        rng = self.rng
        meetings = self.meetings[d]
        k = len(meetings)
        chosen = range(k) if rng.chance(0.85) else sorted(rng.sample(range(k), rng.between(1, k - 1)))
        first_race = 9 if rng.chance(0.05) else 1
        lines = [wf.BAR, f"■ No.{number}  題名: 【WARS】{d.month}/{d.day}({weekday(d)}) 予想",
                 f"■ 投稿者: {name} (WARS:{code})  日時: {when:%Y/%m/%d %H:%M}", wf.BAR]
        if rng.chance(0.5):
            lines += [f"{name}の{d.month}月{d.day}日の予想です。", ""]
        races = 0
        for i in chosen:
            m = meetings[i]
            lines += [wf.RULE, wf.header_line(m, code, name), wf.RULE]
            for r in range(first_race - 1, 12):
                lines.append(self.lines[d][i][r][rng.below(VARIANTS)])
                races += 1
            lines.append("")
        lines.append("")
        return eol.join(lines) + eol, (len(chosen) if d == self.day else 0), (races if d == self.day else 0)

    def chatter(self, when: dt.datetime, number: int):
        rng = self.rng
        d = self.day - dt.timedelta(days=rng.below(2))
        course, meeting, day_no = rng.choice(DAY_COURSES)
        body = [rng.choice(CHATTER).format(course=course, meeting=meeting, day=day_no, month=d.month,
                                           dd=f"{d.day:2d}", wd=weekday(d))
                for _ in range(rng.between(1, 4))]
        if rng.chance(0.05):
            # a reply quoting a header and its first race line
            m = self.meetings[self.day][0]
            body = ["> " + wf.header_line(m, rng.choice(self.codes)), "> " + self.lines[self.day][0][0][0], ""] + body
        lines = [wf.BAR, f"■ No.{number}  題名: Re: 雑談", f"■ 投稿者: 名無しさん  日時: {when:%Y/%m/%d %H:%M}",
                 wf.BAR] + body + [""]
        return "\r\n".join(lines) + "\r\n"

    def write_log(self, path: str, target: int, pool_share: float, day_share: float, number: int):
        """Writes messages until the log reaches `target` bytes. Returns
        (bytes, posts, records) of the day."""
        rng = self.rng
        pool = [i for i in range(len(self.codes)) if rng.chance(pool_share)]
        rng.shuffle(pool)
        next_prog = 0
        when = dt.datetime.combine(self.day - dt.timedelta(days=16), dt.time(18, 0))
        size = posts = records = 0
        parts, pending = [], 0
        # chatter and other days' posts spread between the day's posts
        other_share = 1.0 - day_share - 0.12
        with open(path, "wb") as f:
            while size + pending < target:
                when += dt.timedelta(seconds=rng.between(5, 90))
                r = rng.random()
                eol = "\n" if rng.chance(0.02) else "\r\n"
                if r < day_share:
                    i = pool[next_prog % len(pool)]
                    next_prog += 1
                    text, p, n = self.post(self.day, self.codes[i], self.names[i], when, number, eol)
                    posts += p
                    records += n
                elif r < day_share + other_share:
                    i = rng.below(len(self.codes))
                    text, _, _ = self.post(rng.choice(self.other_days), self.codes[i], self.names[i], when,
                                           number, eol)
                else:
                    text = "".join(self.chatter(when, number + k) for k in range(6))
                number += 1
                data = text.encode("cp932")
                parts.append(data)
                pending += len(data)
                if pending >= CHUNK:
                    f.write(b"".join(parts))
                    size += pending
                    parts, pending = [], 0
            f.write(b"".join(parts))
            size += pending
        return size, posts, records


def main() -> int:
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0],
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--out", required=True, help="folder to write the logs into")
    ap.add_argument("--day", default="20261206", help="the race day YYYYMMDD (default %(default)s)")
    ap.add_argument("--size-mb", type=float, default=100, help="total size of the three logs (default %(default)s)")
    ap.add_argument("--programs", type=int, default=5000, help="prediction programs (default %(default)s)")
    ap.add_argument("--seed", type=int, default=1206)
    args = ap.parse_args()
    try:
        day = dt.datetime.strptime(args.day, "%Y%m%d").date()
    except ValueError:
        ap.error(f"--day takes a date as YYYYMMDD, not {args.day!r}")
    if args.size_mb <= 0 or not 10 <= args.programs <= 9999:
        ap.error("--size-mb must be above 0 and --programs within 10-9999")
    os.makedirs(args.out, exist_ok=True)
    gen = Generator(day, args.programs, args.seed)
    total = int(args.size_mb * 1024 * 1024)
    # a big main forum, a day log and a small forum; share of programs and of
    # the day's posts in each
    plan = [("BENCH1.LOG", 0.45, 0.9, 0.40, 10001), ("BENCH2.LOG", 0.35, 0.6, 0.55, 50001),
            ("BENCH3.LOG", 0.20, 0.4, 0.30, 90001)]
    manifest = [f"day {args.day}", f"seed {args.seed}", f"programs {len(gen.codes)}"]
    all_posts = all_records = 0
    for name, share, pool_share, day_share, number in plan:
        size, posts, records = gen.write_log(os.path.join(args.out, name), int(total * share), pool_share,
                                             day_share, number)
        manifest.append(f"log {name} {size} bytes {posts} posts {records} records")
        all_posts += posts
        all_records += records
        print(f"{name}: {size / 1048576:.1f} MB, {posts} posts and {records} race lines of the day")
    manifest.append(f"total {all_posts} posts {all_records} records")
    # written last: its presence says the logs are complete
    with open(os.path.join(args.out, "MANIFEST"), "w", encoding="utf-8") as f:
        f.write("\n".join(manifest) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
