#!/usr/bin/env python3
"""Writes the PAT results files of a race day (by default the sample day, 2026-12-06).

One results file per meeting, odds/ks-<course letter>MMDD.JRA, in the PAT98
layout (711-byte records, one per race in race order), for the hit check
(`tolv-cli hits`). The finishing order of each race is drawn from the day's own
PAT odds files (odds/ZO-*.JRA and odds/UO-*.JRA): horses are drawn by the
weight 1/win odds with a fixed seed per race, scratched horses never run, and
the payouts are the race's odds times 100, rounded down to 10 yen. On the
sample day 中山 11R ends in a dead heat for second, so it pays two quinellas.
tools/gen_sample_season.py writes the results of its days with the same code.

Usage:
  tools/gen_results.py [--odds DIR]   (default examples/sample-day/odds)

Standard library only; the output is the same on every run.
"""

from __future__ import annotations

import argparse
import glob
import os
import random

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_ODDS = os.path.join(REPO, "examples", "sample-day", "odds")
DAY = "20261206"
DEAD_HEAT = ("中山", 11)  # dead heat for second
RECORD = 711


def number(text: bytes):
    try:
        return float(text.decode("ascii").strip())
    except (UnicodeDecodeError, ValueError):
        return None


def bracket_of(horse: int, runners: int) -> int:
    """The bracket (1-8) of a horse: above 8 runners the later brackets take
    the extra horses."""
    if runners <= 8:
        return horse
    base, extra = divmod(runners, 8)
    total = 0
    for b in range(8):
        total += base + (1 if b >= 8 - extra else 0)
        if horse <= total:
            return b + 1
    return 8


def payout(odds) -> str:
    yen = int(round(odds * 100)) // 10 * 10 if odds else 0
    return f"{max(yen, 100):6d}"


class Race:
    def __init__(self, zo: bytes, uo: bytes):
        self.course = zo[28:32].decode("cp932")
        self.race = int(zo[40:42])
        self.runners = int(zo[140:142])
        self.win = {}
        for h in range(1, self.runners + 1):
            at = 143 + 18 * (h - 1)
            odds = number(zo[at + 2:at + 7])
            if odds:
                self.win[h] = odds
        self.bracket = {}
        for i in range(36):
            at = 468 + 10 * i
            odds = number(zo[at + 3:at + 8])
            if odds:
                self.bracket[(int(zo[at:at + 1]), int(zo[at + 2:at + 3]))] = odds
        self.quinella, self.wide = {}, {}
        for i in range(153):
            at = 144 + 25 * i
            entry = uo[at:at + 25]
            if entry[2:7].strip() == b"":
                continue
            pair = (int(entry[2:4]), int(entry[5:7]))
            if (q := number(entry[7:13])) is not None:
                self.quinella[pair] = q
            if (w := number(entry[13:19])) is not None:
                self.wide[pair] = w

    def order(self, seed: int) -> list:
        rng = random.Random(seed)
        left = sorted(self.win)
        finish = []
        while left and len(finish) < 4:
            weights = [1 / self.win[h] for h in left]
            h = rng.choices(left, weights)[0]
            finish.append(h)
            left.remove(h)
        return finish


def pair(a: int, b: int) -> tuple:
    return (min(a, b), max(a, b))


def finish_of(r: Race, code_letter: str, day: str = DAY) -> list:
    """The first four home of a race, the same on every run."""
    return r.order(int(day) * 100 + ord(code_letter) * 13 + r.race)


def record(r: Race, code_letter: str, day: str = DAY, dead_heat=DEAD_HEAT) -> bytes:
    out = bytearray(b" " * RECORD)

    def put(at: int, text: str):
        data = text.encode("cp932")
        out[at:at + len(data)] = data

    put(0, day)
    put(8, r.course)
    put(20, f"{r.race:2d}")
    finish = finish_of(r, code_letter, day)
    first = finish[0]
    seconds = finish[1:3] if (r.course, r.race) == dead_heat else finish[1:2]
    placed = [first] + seconds if len(seconds) == 2 else finish[:3]
    put(375, f"{first:2d}")
    put(379, payout(r.win[first]))
    brackets = []
    for s in seconds:
        b = pair(bracket_of(first, r.runners), bracket_of(s, r.runners))
        if b not in brackets:
            brackets.append(b)
    for i, (x, y) in enumerate(brackets):
        put(456 + 12 * i, f"{x}-{y}")
        put(461 + 12 * i, payout(r.bracket.get((x, y))))
    for i, s in enumerate(seconds):
        a, b = pair(first, s)
        put(492 + 14 * i, f"{a:02d}-{b:02d}")
        put(499 + 14 * i, payout(r.quinella.get((a, b))))
    wides = [pair(placed[0], placed[1]), pair(placed[0], placed[2]), pair(placed[1], placed[2])]
    for i, (a, b) in enumerate(wides):
        put(534 + 14 * i, f"{a:02d}-{b:02d}")
        put(541 + 14 * i, payout(r.wide.get((a, b))))
    return bytes(out)


def day_races(odds: str, day: str = DAY) -> dict:
    """The races of `day` by course letter, in race order, read from the PAT
    odds files in `odds`."""
    letters = sorted({os.path.basename(p)[3] for p in glob.glob(os.path.join(odds, "ZO-???.JRA"))})
    by_letter = {}
    for letter in letters:
        races = []
        for zo_path in sorted(glob.glob(os.path.join(odds, f"ZO-{letter}??.JRA"))):
            uo_path = os.path.join(odds, "UO-" + os.path.basename(zo_path)[3:])
            with open(zo_path, "rb") as f:
                zo = f.read()
            with open(uo_path, "rb") as f:
                uo = f.read()
            if zo[0:8].decode("ascii") != day:
                continue
            races.append(Race(zo, uo))
        if races:
            by_letter[letter] = sorted(races, key=lambda r: r.race)
    return by_letter


def write_results(odds: str, day: str = DAY, dead_heat=DEAD_HEAT, quiet: bool = False) -> None:
    """Writes the ks- results files of every course of `day` beside the odds
    files in `odds`."""
    for letter, races in day_races(odds, day).items():
        path = os.path.join(odds, f"ks-{letter}{day[4:]}.JRA")
        with open(path, "wb") as f:
            for r in races:
                f.write(record(r, letter, day, dead_heat))
        if not quiet:
            print(f"{path}: {len(races)} races")


def main() -> None:
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--odds", default=DEFAULT_ODDS)
    args = ap.parse_args()
    write_results(args.odds)


if __name__ == "__main__":
    main()
