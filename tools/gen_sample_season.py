#!/usr/bin/env python3
"""Writes examples/sample-season/: eight race days of one home folder, for
the track record of the prediction programs (history, program figures,
backtests) and `make demo`.

The season is the four weekends from Saturday 12 September to Sunday
4 October 2026, with three meetings a day: 中山 4回, 阪神 4回 and 中京 3回,
日目 1 to 8. Every day has two forum logs of the WARS posts of the evening
before (logs/WARSmmdd.LOG and logs/FHmmdd.LOG), its JRA-VAN race card archive
(cards/DByymmdd.LZH), the PAT98 odds files of its 36 races and, beside them,
the PAT results files (odds/ks-<course letter>mmdd.JRA). Odds file names hold
the course and the day number, so one odds folder keeps the whole season.

Sixteen programs post. A few of them know more than the odds do (their picks
hold the winning pair far more often than chance, one of them mainly when it
pays well), a few pick against the result, the rest follow the odds. The
README written beside the data gives every program's figures, counted here
from the posts and the results.

Usage:
  tools/gen_sample_season.py [--out DIR]   (default examples/sample-season)

Reuses the sample day's generators (wars_forum.py for the posts,
race_cards.py for race cards and odds, gen_results.py for the results);
standard library and the `lha` command (jlha-utils); the output is the same
on every run.
"""

from __future__ import annotations

import argparse
import datetime as dt
import os
import shutil
import sys
import tempfile
from dataclasses import dataclass

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import gen_results  # noqa: E402
import gen_sample_day as sd  # noqa: E402
import race_cards as rc  # noqa: E402
import wars_forum as wf  # noqa: E402

SEED = 20260912
FIRST_DAY = dt.date(2026, 9, 12)
DAYS = [FIRST_DAY + dt.timedelta(days=7 * (k // 2) + k % 2) for k in range(8)]
MEETINGS = [("中山", 4), ("阪神", 4), ("中京", 3)]   # course and 回; 日目 = the day's place in the season
DEFAULT_OUT = os.path.join(sd.REPO, "examples", "sample-season")


@dataclass
class Skill:
    """How a program's picks relate to the result of a race.

    know: chance that the winning pair is among its picks (put in when its own
          reading missed it); only for races whose quinella pays at least
          `paying` yen.
    avoid: chance that a winning pair it did pick is swapped for a losing one.
    """
    know: float = 0.0
    paying: int = 0
    avoid: float = 0.0
    first_day: int = 0          # index of the first day it posts
    sundays_only: bool = False
    forum: str = "WARS"         # WARS or FH
    role: str = "follows the odds"


# code, name, posting habits (wars_forum.Program), skill
PROGRAMS = [
    ("0311", "的中王", dict(), Skill(know=0.15, role="good: hits often and pays")),
    ("1520", "穴ﾊﾝﾀｰ", dict(picks=5, noise=0.9),
     Skill(know=0.25, paying=3000, forum="FH", role="good: long-priced hits")),
    ("4410", "ﾃﾞｰﾀ馬", dict(version="Ver3.02"), Skill(know=0.07, role="good")),
    ("5102", "新星", dict(picks=5), Skill(know=0.15, first_day=4, forum="FH",
                                          role="good, posts from the fifth day on")),
    ("2048", "堅実派", dict(picks=3, noise=0.08), Skill(role="favourites only: hits often, pays little")),
    ("3001", "血統屋", dict(), Skill()),
    ("3017", "指数王", dict(pad76=True), Skill(forum="FH")),
    ("3120", "ﾊﾟﾄﾞｯｸ", dict(), Skill()),
    ("3388", "坂路", dict(), Skill(forum="FH")),
    ("3501", "WINNER", dict(), Skill()),
    ("3642", "展開屋", dict(shape="axis"), Skill(sundays_only=True, role="follows the odds, Sundays only")),
    ("3789", "KEIBA7", dict(annotate=True), Skill(forum="FH")),
    ("6660", "ﾀﾞﾒ太郎", dict(noise=1.2), Skill(avoid=0.9, role="bad: rarely hits")),
    ("6913", "迷走AI", dict(picks=5, noise=1.0, annotate=True), Skill(avoid=0.75, forum="FH", role="bad: rarely hits")),
    ("8040", "枠職人", dict(picks=4, bet="bracket"), Skill(know=0.12, role="good at bracket quinellas")),
    ("8125", "枠ﾏﾆｱ", dict(picks=5, bet="bracket", tag="WK"),
     Skill(avoid=0.8, forum="FH", role="bad at bracket quinellas")),
]
GOOD_NAMES = ["的中王", "穴ﾊﾝﾀｰ", "ﾃﾞｰﾀ馬", "新星", "枠職人"]     # GOOD.LST: the good programs
PIRUNE_NAMES = ["的中王", "ﾃﾞｰﾀ馬", "穴ﾊﾝﾀｰ", "新星", "堅実派", "血統屋", "指数王", "ﾊﾟﾄﾞｯｸ", "WINNER"]


def ymd(day: dt.date) -> str:
    return day.strftime("%Y%m%d")


def settings() -> str:
    """The sample day's settings with the season's logs; no forum odds."""
    text = sd.TOLV_INI
    for old, new in (("サンプル開催日 2026年12月6日(日)", "サンプル開催 2026年9月12日～10月4日の8日間"),
                     ("LogFile1=logs/FORUM1.LOG", "LogFile1=logs/WARS%M1%D1.LOG"),
                     ("LogFile3=logs/FORUM3.LOG", "LogFile3="),
                     ("LogFflag3=True", "LogFflag3=False"),
                     ("FHwars=logs/ODDS%M1%D1.LOG", "FHwars=")):
        assert old in text, old
        text = text.replace(old, new)
    return text


class SeasonCards(rc.DayCards):
    """The day's cards and odds, with the scratched horse in a race of the day's choosing."""

    def __init__(self, seed, day, meetings, day_before, scratch_at):
        self.SCRATCH_AT = scratch_at
        super().__init__(seed, day, meetings, day_before)


@dataclass
class Result:
    first: int
    second: int
    brackets: tuple
    quinella_pays: int
    bracket_pays: int


def result_of(race: gen_results.Race, letter: str, day: str) -> Result:
    finish = gen_results.finish_of(race, letter, day)
    a, b = sorted(finish[:2])
    x, y = sorted((gen_results.bracket_of(a, race.runners), gen_results.bracket_of(b, race.runners)))
    return Result(a, b, (x, y), int(gen_results.payout(race.quinella.get((a, b)))),
                  int(gen_results.payout(race.bracket.get((x, y)))))


def skilled_picker(skill: Skill, results: dict, course: str):
    """A picker for wars_forum.post_block: the program's own reading of the
    race, then its skill applied against the race's result."""

    def pick(rng: wf.Rng, prog: wf.Program, race: wf.Race) -> list:
        picks = wf.program_picks(rng, prog, race)
        res = results[(course, race.number)]
        bracket = prog.bet == "bracket"
        winner = wf.bracket_pick(*res.brackets) if bracket else wf.quinella(res.first, res.second)
        pays = res.bracket_pays if bracket else res.quinella_pays
        knows = skill.know and pays >= skill.paying and rng.chance(skill.know)
        if knows and winner not in picks:
            picks[rng.below(len(picks))] = winner
        elif winner in picks and skill.avoid and rng.chance(skill.avoid):
            if bracket:
                others = [wf.bracket_pick(a, b) for a in range(1, 9) for b in range(a, 9)
                          if race.bracket(race.runners) >= b]
            else:
                others = [wf.quinella(a, b) for a in range(1, race.runners + 1)
                          for b in range(a + 1, race.runners + 1)]
            others = [p for p in others if p != winner and p not in picks]
            picks[picks.index(winner)] = rng.choice(others)
        return picks

    return pick


class Season:
    def __init__(self):
        self.rng = wf.Rng(SEED)
        self.progs = {name: (wf.Program(code=code, name=name, **habits), skill)
                      for code, name, habits, skill in PROGRAMS}
        # figures per program, counted from the posts and the results (quinella
        # programs: quinella picks; bracket programs: bracket picks)
        self.figures = {name: dict(days=set(), races=0, picks=0, hits=0, back=0) for name in self.progs}
        self.day_notes = []

    def meetings_of(self, index: int) -> list:
        day = DAYS[index]
        return [wf.make_meeting(self.rng, course, day, kai, index + 1) for course, kai in MEETINGS]

    def write(self, out: str) -> None:
        for sub in ("logs", "cards", "odds"):
            shutil.rmtree(os.path.join(out, sub), ignore_errors=True)
            os.makedirs(os.path.join(out, sub))
        for index, day in enumerate(DAYS):
            self.write_day(out, index, day)
        sd.write_bytes(os.path.join(out, "TOLV.INI"), sd.crlf(settings()).encode("cp932"))
        sd.write_bytes(os.path.join(out, "TOLVSOFT.LST"), sd.crlf(self.tolv_list()).encode("cp932"))
        sd.write_bytes(os.path.join(out, "PIRUNE.LST"), sd.crlf(self.pirune_list()).encode("cp932"))
        sd.write_bytes(os.path.join(out, "GOOD.LST"), sd.crlf(self.good_list()).encode("cp932"))
        # The race days in the order they are run, one yyyymmdd a line, for
        # the tests and scripts that replay the season.
        with open(os.path.join(out, "DAYS"), "w", encoding="ascii", newline="\n") as f:
            f.write("".join(ymd(d) + "\n" for d in DAYS))
        with open(os.path.join(out, "README.md"), "w", encoding="utf-8", newline="\n") as f:
            f.write(self.readme(out))

    def write_day(self, out: str, index: int, day: dt.date) -> None:
        meetings = self.meetings_of(index)
        before = [wf.make_meeting(self.rng, course, day - dt.timedelta(days=1), kai, max(1, index))
                  for course, kai in MEETINGS]
        scratch = (self.rng.choice(MEETINGS)[0], self.rng.between(1, 12))
        cards = SeasonCards(SEED + 1 + index, day, meetings, before, scratch)
        with tempfile.TemporaryDirectory() as tmp:
            # Cards and odds are written in all their kinds; the season keeps
            # the JRA-VAN archive and the PAT98 files.
            cards.write_cards(os.path.join(tmp, "cards"))
            big = cards.card_summary["big"][0]
            shutil.copyfile(os.path.join(tmp, "cards", big), os.path.join(out, "cards", big))
            odds = os.path.join(tmp, "odds")
            cards.write_odds(odds)
            gen_results.write_results(odds, ymd(day), dead_heat=None, quiet=True)
            for name in sorted(os.listdir(odds)):
                if name[:3] in ("UO-", "ZO-", "ks-"):
                    shutil.copyfile(os.path.join(odds, name), os.path.join(out, "odds", name))
            races = gen_results.day_races(odds, ymd(day))
        results = {}
        for letter, day_races in races.items():
            for race in day_races:
                results[(race.course, race.race)] = result_of(race, letter, ymd(day))
        assert len(results) == 36, len(results)
        self.write_logs(out, index, day, meetings, results)
        self.day_notes.append((day, meetings, scratch))

    def write_logs(self, out, index, day, meetings, results) -> None:
        evening = day - dt.timedelta(days=1)
        logs = {"WARS": wf.Log(style=1, first_number=20000 + 300 * index),
                "FH": wf.Log(style=2, first_number=7000 + 200 * index)}
        posted = 0
        for k, (name, (prog, skill)) in enumerate(self.progs.items()):
            if index < skill.first_day or (skill.sundays_only and day.weekday() != 6):
                continue
            blocks = [wf.post_block(self.rng, prog, m, True, picker=skilled_picker(skill, results, m.course))
                      for m in meetings]
            when = sd.at(evening, "18:00") + dt.timedelta(minutes=17 * k + self.rng.below(15))
            greeting = f"{prog.name}の{day.month}月{day.day}日の予想です。" if self.rng.chance(0.5) else ""
            logs[skill.forum].add_post(when, sd.subject_of(day, meetings), sd.author_of(prog), blocks,
                                       greeting=greeting)
            posted += 1
            self.count(name, prog, day, blocks, results)
        logs["WARS"].add_chatter(sd.at(evening, "17:40"), "今日の結果", "名無しさん",
                                 [f"{meetings[0].course}のメイン、荒れましたね。[雑談]"])
        logs["FH"].add_chatter(sd.at(day, "08:30"), "締切", "管理人",
                               ["本日の予想の受付は 9:40 までです。[管理人]"])
        for forum, log in logs.items():
            data = log.to_bytes()
            # the reader model must find exactly the posts meant
            assert len(wf.read_posts(data, day)) == len(log.blocks()), forum
            sd.write_bytes(os.path.join(out, "logs", f"{forum}{day:%m%d}.LOG"), data)
        assert posted >= 12

    def count(self, name, prog, day, blocks, results) -> None:
        fig = self.figures[name]
        for block in blocks:
            course = block.header.split(" ")[0]
            for rec in block.records:
                race = int(rec[6:8])
                res = results[(course, race)]
                picks = {rec[10 + 5 * i:15 + 5 * i].decode().strip() for i in range(6)} - {""}
                if prog.bet == "bracket":
                    picks = {p for p in picks if "-" not in p}
                    winner, pays = f"{res.brackets[0]}{res.brackets[1]}", res.bracket_pays
                else:
                    picks = {p for p in picks if "-" in p}
                    winner, pays = wf.quinella(res.first, res.second), res.quinella_pays
                if not picks:
                    continue
                fig["days"].add(day)
                fig["races"] += 1
                fig["picks"] += len(picks)
                if winner in picks:
                    fig["hits"] += 1
                    fig["back"] += pays

    def tolv_list(self) -> str:
        lines = ["; トルブ ソフトリスト（サンプル開催 2026年秋）", ""]
        lines += [prog.code + prog.name for prog, _ in self.progs.values()]
        return "\n".join(lines) + "\n\n"

    def good_list(self) -> str:
        lines = ["; 成績の良いソフト（バックテスト用）"]
        lines += [self.progs[n][0].code + n for n in GOOD_NAMES]
        return "\n".join(lines) + "\n\n"

    def pirune_list(self) -> str:
        lines = ["; ぴるね ソフトリスト（1番目が基準ソフト）"]
        lines += [self.progs[n][0].code + n for n in PIRUNE_NAMES]
        return "\n".join(lines) + "\n\n"

    def readme(self, out: str) -> str:
        days = "\n".join(
            f"| {ymd(d)} | {d.month}/{d.day}({wf.WEEKDAYS[d.weekday()]}) | "
            + ", ".join(f"{m.course} {m.meeting_no}回{m.day_no}日目" for m in meetings)
            + f" | {scratch[0]} {scratch[1]}R horse 5 |"
            for d, meetings, scratch in self.day_notes)
        rows = []
        for name, (prog, skill) in self.progs.items():
            f = self.figures[name]
            stake = 100 * f["picks"]
            rows.append(f"| {prog.code} | {name} | {'枠連' if prog.bet == 'bracket' else '馬連'} | "
                        f"{skill.forum} | {len(f['days'])} | {f['races']} | {f['picks']} | {f['hits']} | "
                        f"{f['hits'] / f['picks']:.1%} | {stake:,} | {f['back']:,} | {f['back'] / stake:.1%} | "
                        f"{skill.role} |")
        table = "\n".join(rows)
        first, last = ymd(DAYS[0]), ymd(DAYS[-1])
        # the chart saved by `make demo`, once copied here, is shown
        chart = ("\n![Cumulative return of the programs over the season](chart.png)\n"
                 if os.path.exists(os.path.join(out, "chart.png")) else "")
        return f"""# Sample season: eight race days, 12 September - 4 October 2026

Generated by `tools/gen_sample_season.py` (do not edit by hand; run it again).
One home folder holds the whole season; `tools/season.sh` runs a scratch copy
of it through tolv-cli day by day, and `make demo` ends with it.

- `TOLV.INI`: the sample day's settings with the season's logs: log 1 is
  `logs/WARS%M1%D1.LOG`, log 2 `logs/FH%M1%D1.LOG` (so `logs/WARS0912.LOG`
  and `logs/FH0912.LOG` on 12 September), log 3 is off. Odds and results
  are read from `odds/` (PAT98, `PAT=1`), race cards from `cards/`
  (JRA-VAN, `DenFlag=3`); odds range 5-300, votes 3-999.
- `TOLVSOFT.LST`: all sixteen programs. `PIRUNE.LST`: 的中王 is the base
  program of ぴるね. `GOOD.LST`: the five good programs, for a backtest
  restricted to them (`backtest --list GOOD.LST`).
- `logs/`: per day the two forum logs of the evening before the races
  (CP932): the posts of the day's programs and a little chatter.
- `cards/`: per day the JRA-VAN race card archive `DByymmdd.LZH`.
- `odds/`: per day the PAT98 odds files `UO-`/`ZO-` + course letter (6 中山,
  9 阪神, 7 中京) + day number + race (1-9, A, B, C) + `.JRA` (the day
  numbers 1-8 keep the days apart), and the PAT results files
  `ks-<course letter>mmdd.JRA` (711-byte records, one per race). One
  horse 5 a day is scratched (ﾄﾘｹｼ in its odds; it never runs).

## Days

| Processing day | Date | Meetings (races 1-12 each) | Scratched |
|---|---|---|---|
{days}

## Running a day

In a scratch copy of this folder (never in the folder itself), for each day
D from {first} to {last} in turn:

    TOLV_TODAY=D tolv-cli --home H --date D --answer ok batch
    TOLV_TODAY=D tolv-cli --home H --date D hits

(`batch` runs the section 一括処理: log extraction, トルブ, WARS, ぴるね and
the PAD file; the steps one by one are `extract`, `create`, `pirune` and
`hits`). Each day leaves `DATA/D.DAT` (the cut index), `DATA/WD_06.DAT`,
`_07`, `_09` (the Tolv data files, with the hits marked by `hits`) and
`DATA/SeiD.DAT` (the day's results). `tools/season.sh TOLV_CLI [HOME]` does
all of it and prints the hits of every day.

## The programs

Figures of every program over the season, counted by the generator from its
posts and the results: a program's picks of a race count once, quinella
picks for the quinella programs and bracket picks for the bracket ones; a
hit is a race whose winning pair it picked; stake is 100 yen a pick, return
the payouts of the hits. `tools/season.sh` counts the same figures from the
Tolv data files that tolv-cli writes and marks.

| Code | Name | Bet | Forum | Days | Races | Picks | Hits | Hits per pick | Stake | Return | 回収率 | Meant as |
|---|---|---|---|---|---|---|---|---|---|---|---|---|
{table}

The good programs put the winning pair among their picks when their own
reading (the odds model of the sample day, with noise) missed it, with the
chance shown by their figures; 穴ﾊﾝﾀｰ does so only when the quinella pays
3,000 yen or more. The bad ones swap a winning pair they happened to pick
for a losing one. The others pick by the odds alone and return what the
odds leave after the takeout.

## Track record

`tools/season.sh --history TOLV_CLI [HOME]` (the end of `make demo`) runs the
days, then `tolv-cli history import --from {first} --to {last}`, `stats
programs` and `backtest` over them, and has the desktop program save the
chart of the programs' cumulative return (成績分析) as `season-chart.png` in
the scratch home. A copy of it kept here as `chart.png` is shown below when
the generator runs again.
{chart}"""


def main() -> int:
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0],
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--out", default=DEFAULT_OUT, help="folder to write (default: %(default)s)")
    args = ap.parse_args()
    Season().write(args.out)
    print(f"wrote {args.out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
