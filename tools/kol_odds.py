#!/usr/bin/env python3
"""KOL predicted-odds archives: an LZH archive "J" + yymmdd + ".LZH" holding
the member kol_ods.KD2, one 1504-byte text record per race.

  tools/kol_odds.py                  the sample day's archive (examples/sample-day/kol/J261206.LZH)
  tools/kol_odds.py --test-fixtures  the fixtures of the odds tests (tests/data/kol/)

Record layout (byte offsets from 0; every byte no field uses is a space):

  0   2  course code, second numbering (01 阪神, 02 中京, 04 東京, 05 中山, ...)
  2   4  year          6  2  meeting number     8  2  day number   10  2  race number
  12  8  date yyyymmdd
  109 2  number of runners                      111 2  scratched runners
  161 18 x 5   win cells, horses 1-18
  251 36 x 5   bracket-quinella cells, 1-1, 1-2, ..., 8-8
  431 153 x 7  quinella cells, 1-2, 1-3, ..., 17-18

A cell holds odds x 10 as a whole number, right-aligned, or a marker: "*"
(odds too high to show), "-" (no odds), "/" (a scratched horse).

The sample day's odds come from the same model of the horses' strengths as
its PAT odds files (tools/race_cards.py), so the runners, the brackets and
阪神 11R's scratched horse 5 agree with the race cards. Archives are made with
`lha` (Debian package jlha-utils), members dated at a fixed time: the same
bytes on every run. Standard library otherwise.
"""

from __future__ import annotations

import argparse
import datetime as dt
import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import race_cards as rc  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
KOL_LEN = 1504
MEMBER = "kol_ods.KD2"


def pairs(n: int):
    """The pairs of n runners in the order 1-2, 1-3, ..., (n-1)-n."""
    return [(a, b) for a in range(1, n + 1) for b in range(a + 1, n + 1)]


QUINELLA_PAIRS = pairs(18)
BRACKET_PAIRS = [(a, b) for a in range(1, 9) for b in range(a, 9)]


def kol_record(code: str, date: str, meeting: int, day: int, race: int, runners: int, scratched: int,
               win: dict, bracket: dict, quinella: dict) -> bytes:
    """One record; cells missing from the dicts are "-". Cells are text, or
    a number written as odds x 10."""
    r = bytearray(b" " * KOL_LEN)

    def put(offset: int, text: str, width: int) -> None:
        raw = text.encode("ascii").rjust(width)
        assert len(raw) == width, (offset, text)
        r[offset:offset + width] = raw

    put(0, code, 2)
    put(2, date[:4], 4)
    put(6, f"{meeting:02d}", 2)
    put(8, f"{day:02d}", 2)
    put(10, f"{race:02d}", 2)
    put(12, date, 8)
    put(109, f"{runners:02d}", 2)
    put(111, f"{scratched:02d}", 2)
    for h in range(1, 19):
        put(161 + 5 * (h - 1), str(win.get(h, "-")), 5)
    for k, pair in enumerate(BRACKET_PAIRS):
        put(251 + 5 * k, str(bracket.get(pair, "-")), 5)
    for k, pair in enumerate(QUINELLA_PAIRS):
        put(431 + 7 * k, str(quinella.get(pair, "-")), 7)
    return bytes(r)


# --------------------------------------------------------------------------
# Test fixtures


def fixture_race_a() -> bytes:
    """東京 (04) 3回2日目 11R of 2002-05-12, 10 runners: every kind of cell."""
    win = {1: "*", 2: "/", 3: 123, 4: "-", 5: 5, 6: 2345, 7: "abc", 8: 10, 9: 999, 10: 9999}
    bracket = {pair: 50 + 10 * (k + 1) for k, pair in enumerate(BRACKET_PAIRS)}
    bracket.update({(1, 1): "*", (1, 2): "/", (1, 3): "-", (8, 8): 0})
    quinella = {pair: 1000 + k + 1 for k, pair in enumerate(QUINELLA_PAIRS) if pair[1] <= 10}
    quinella.update({(1, 2): 2345, (1, 3): "*", (1, 4): "/", (1, 5): "-", (1, 6): 300, (1, 7): 10, (1, 8): 11,
                     (1, 9): "abc", (1, 10): 99999, (2, 3): 5})
    return kol_record("04", "20020512", 3, 2, 11, 10, 0, win, bracket, quinella)


def fixture_race_b() -> bytes:
    """東京 12R, 8 runners: only the bracket file."""
    win = {h: 100 * h for h in range(1, 9)}
    bracket = {pair: 200 for pair in BRACKET_PAIRS}
    quinella = {pair: 500 for pair in pairs(8)}
    return kol_record("04", "20020512", 3, 2, 12, 8, 0, win, bracket, quinella)


def fixture_race_c() -> bytes:
    """阪神 (01) 5回2日目 1R, 10 runners of which 2 scratched: only the bracket file."""
    win = {h: 30 * h for h in range(1, 11)}
    win.update({4: "/", 9: "/"})
    return kol_record("01", "20020512", 5, 2, 1, 10, 2, win, {}, {pair: 700 for pair in pairs(10)})


def fixture_race_d() -> bytes:
    """大井 (10), no JRA course: no file."""
    return kol_record("10", "20020512", 1, 1, 1, 12, 0, {1: 20}, {}, {})


def write_test_fixtures(folder: str) -> None:
    os.makedirs(folder, exist_ok=True)
    when = dt.datetime(2002, 5, 11, 18, 0, 0)
    kd2 = fixture_race_a() + fixture_race_b() + fixture_race_c() + fixture_race_d()
    # A trailing partial record, as a cut-off download leaves it.
    kd2 += fixture_race_a()[:700]
    rc.make_lzh(os.path.join(folder, "J020512.LZH"), [(MEMBER, kd2)], when)
    # An archive of other files, and one whose kol_ods.KD2 holds no whole record.
    rc.make_lzh(os.path.join(folder, "notkol.lzh"), [("readme.txt", b"not predicted odds\r\n" * 20)], when)
    rc.make_lzh(os.path.join(folder, "short.lzh"), [(MEMBER, fixture_race_a()[:1000])], when)
    for name in ("J020512.LZH", "notkol.lzh", "short.lzh"):
        print(os.path.join(folder, name))


# --------------------------------------------------------------------------
# The sample day


def cell(value, limit: float = 999.9):
    """A model's odds as a cell: odds x 10, "*" above what the cell shows, "/"
    for a scratched horse (None)."""
    if value is None:
        return "/"
    if value > limit:
        return "*"
    return int(round(value * 10))


def sample_day_records() -> bytes:
    import gen_sample_day as g  # the sample day's meetings and odds model

    day = g.SampleDay()
    cards = rc.DayCards(g.SEED + 1, g.DAY, day.sun, day.sat)
    ymd = g.DAY.strftime("%Y%m%d")
    out = b""
    for m in sorted(day.sun, key=lambda m: rc.KOL_CODES[m.code]):
        for race in m.races:
            odds = cards.odds[(m.course, race.number)]
            win = {h: cell(odds.win.get(h)) for h in range(1, odds.n + 1)}
            bracket = {pair: cell(v) for pair, v in odds.bracket.items()}
            quinella = {(a, b): cell(odds.quinella.get((a, b))) for a, b in pairs(odds.n)}
            out += kol_record(rc.KOL_CODES[m.code], ymd, m.meeting_no, m.day_no, race.number, odds.n,
                              len(odds.scratched), win, bracket, quinella)
    return out


def write_sample_day(folder: str) -> None:
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, "J261206.LZH")
    size = rc.make_lzh(path, [(MEMBER, sample_day_records())], dt.datetime(2026, 12, 5, 18, 0, 0))
    print(f"{path}: {size} bytes")


def main() -> int:
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--test-fixtures", nargs="?", const=os.path.join(REPO, "tests", "data", "kol"), metavar="DIR",
                    help="write the test fixtures (default folder: tests/data/kol)")
    ap.add_argument("--out", default=os.path.join(REPO, "examples", "sample-day", "kol"),
                    help="folder of the sample day's archive (default: %(default)s)")
    args = ap.parse_args()
    if args.test_fixtures:
        write_test_fixtures(args.test_fixtures)
    else:
        write_sample_day(args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
