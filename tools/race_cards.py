#!/usr/bin/env python3
"""Race cards and odds of a race day, in the files the race-day tools read.

For the sample race day (tools/gen_sample_day.py calls write_cards and
write_odds) and for the small fixtures of the schedule tests
(`tools/race_cards.py --test-fixtures [DIR]`, default tests/data/schedule).

Race cards, one file per source kind (fixed-length CP932 records; every byte
no field uses is a space):

- JRA-VAN: an LZH archive "D?yymmdd.LZH" with the member JRACDEN1.DAT,
  1463-byte records, JRA course numbering.
- TARGET: "yymmdd全.DEN", 584-byte records, JRA course numbering.
- KOL: an LZH archive "H?yymmdd.LZH" with the member kol_den1.kd2, 779-byte
  records, the second course numbering.
- MJH text: "RXyymmdd.TXT", lines whose type is their first two characters;
  columns are counted in characters.

Odds: the PAT98 quinella file "UO-???.JRA" (3971 bytes) and the win, place and
bracket-quinella file "ZO-???.JRA" (828 bytes) of every race, from a simple
model of the horses' strengths.

The module also models how the meeting schedule "yyyymmdd開催.DAT" is built
from each source (read_* and schedule_from_*); the expected schedules of the
sample day come from that model reading the bytes written here.

Archives are made with the `lha` command (`lha a`; -lh5-, stored members
-lh0-, level-2 headers holding the member's time as Unix time, so the same
bytes on every machine). Standard library otherwise; deterministic.
"""

from __future__ import annotations

import argparse
import datetime as dt
import hashlib
import math
import os
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import wars_forum as wf  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

JRAVAN_LEN = 1463
TARGET_LEN = 584
KOL_LEN = 779
SCHEDULE_LEN = 67
UO98_LEN = 3971
ZO_LEN = 828
LARGE_ARCHIVE = 50000   # a JRA-VAN archive is taken only above this size

COURSE_NAMES = ["札幌", "函館", "福島", "新潟", "東京", "中山", "中京", "京都", "阪神", "小倉"]
# Second course numbering (KOL) of the ten JRA courses.
KOL_CODES = {"01": "08", "02": "09", "03": "06", "04": "07", "05": "04",
             "06": "05", "07": "02", "08": "00", "09": "01", "10": "03"}
EXT_TO_JRA = {v: k for k, v in KOL_CODES.items()}


# --------------------------------------------------------------------------
# Byte helpers


class Record:
    """A fixed-length record of spaces into which fields are put by offset."""

    def __init__(self, length: int):
        self.buf = bytearray(b" " * length)

    def put(self, offset: int, text: str, width: int | None = None) -> None:
        raw = text.encode("cp932")
        if width is not None:
            raw = wf.pad_bytes(text, width)
        assert offset + len(raw) <= len(self.buf), (offset, text)
        self.buf[offset:offset + len(raw)] = raw

    def bytes(self) -> bytes:
        return bytes(self.buf)


def noise_bytes(name: str, n: int) -> bytes:
    """n incompressible bytes, the same on every run (SHA-256 in counter mode)."""
    out = bytearray()
    counter = 0
    while len(out) < n:
        out += hashlib.sha256(f"{name}:{counter}".encode()).digest()
        counter += 1
    return bytes(out[:n])


def make_lzh(path: str, members: list, when: dt.datetime) -> int:
    """Writes an LZH archive of (name, bytes) members with `lha a`, each member
    dated `when` (UTC). Returns the archive's size."""
    if shutil.which("lha") is None:
        raise SystemExit("race_cards: the lha command is needed (Debian package jlha-utils)")
    stamp = when.replace(tzinfo=dt.timezone.utc).timestamp()
    with tempfile.TemporaryDirectory() as tmp:
        for name, data in members:
            with open(os.path.join(tmp, name), "wb") as f:
                f.write(data)
            os.utime(os.path.join(tmp, name), (stamp, stamp))
        archive = os.path.join(tmp, "out.lzh")
        subprocess.run(["lha", "aq", archive] + [n for n, _ in members], cwd=tmp, check=True,
                       stdout=subprocess.DEVNULL)
        with open(archive, "rb") as f:
            data = f.read()
    with open(path, "wb") as f:
        f.write(data)
    return len(data)


def lzh_member(path: str, member: str) -> bytes:
    """A member of an LZH archive, unpacked with `lha` (names compared ignoring case)."""
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run(["lha", "xq", os.path.abspath(path)], cwd=tmp, check=True, stdout=subprocess.DEVNULL)
        for name in sorted(os.listdir(tmp)):
            if name.upper() == member.upper():
                with open(os.path.join(tmp, name), "rb") as f:
                    return f.read()
    raise SystemExit(f"{path}: no member {member}")


def dir_order(names) -> list:
    """Directory order: by the upper-case name, then the name itself."""
    return sorted(names, key=lambda n: (n.upper(), n))


# --------------------------------------------------------------------------
# What a race card says about a race


# Track codes: 芝 below 23 (11 left, 12 left outer, 17 right, 18 right outer),
# ダート 23 left / 24 right, 障害 above 50.
TRACKS = {
    "中山": {"芝": lambda d: "18" if d in (1200, 1600, 2200) else "17", "ダ": lambda d: "24"},
    "阪神": {"芝": lambda d: "18" if d in (1600, 1800, 2400) else "17", "ダ": lambda d: "24"},
    "中京": {"芝": lambda d: "11", "ダ": lambda d: "23"},
}

# Condition codes of a class: new horses, maiden, the three win classes, open.
CONDITION = {"新馬": "701", "未出走": "702", "未勝利": "703", "1勝": "005", "2勝": "010", "3勝": "016",
             "OP": "999", "G1": "999"}
# KOL class numbers: 1 new horses, 2 not started, 3 maiden, 4 open; else the
# class's prize money in thousands of yen.
KOL_CLASS = {"新馬": 1, "未出走": 2, "未勝利": 3, "1勝": 5000, "2勝": 10000, "3勝": 16000, "OP": 4, "G1": 4}
KOL_AGE = {"2歳": "1", "3歳": "2", "3上": "3", "4上": "4"}
AGE_TYPE = {"2歳": "11", "3歳": "12", "3上": "13", "4上": "14"}


def conditions(age: str, klass: str, count: int) -> list:
    """The condition codes per age group (2歳, 3歳, 4歳, 5歳以上[, youngest])."""
    code = CONDITION[klass]
    if age == "2歳":
        codes = [code, "000", "000", "000"]
    else:
        codes = ["000", code, code, code]
    if count == 5:
        codes.append(code)
    return codes


RACE_NAMES = {
    ("中山", 9): "香取ステークス", ("中山", 10): "習志野ステークス", ("中山", 11): "師走ステークス",
    ("中山", 12): "常総ステークス",
    ("阪神", 8): "摂津ステークス", ("阪神", 9): "須磨特別", ("阪神", 10): "西宮ステークス",
    ("阪神", 11): "御影ステークス", ("阪神", 12): "猪名川特別",
    ("中京", 7): "尾張ステークス", ("中京", 8): "知多ステークス", ("中京", 9): "犬山特別",
    ("中京", 10): "熱田特別", ("中京", 11): "ウインターチャンピオンズカップ", ("中京", 12): "瀬戸特別",
}
PLAIN_NAMES = {"新馬": "２歳新馬", "未勝利": "２歳未勝利", "1勝": "３歳以上１勝クラス",
               "2勝": "３歳以上２勝クラス", "3勝": "３歳以上３勝クラス", "OP": "３歳以上オープン"}
# TARGET grade letters (A G1 ... H J.G3; L, a listed race, is no grade for the schedule).
GRADE_LETTERS = {("中京", 11): "A", ("中山", 11): "L"}


def race_name(course: str, race) -> str:
    return RACE_NAMES.get((course, race.number), PLAIN_NAMES.get(race.klass, ""))


def hhmm(post_time: str) -> str:
    return post_time.replace(":", "")


# --------------------------------------------------------------------------
# The four card sources


def jravan_record(date: dt.date, code: str, meeting_no: int, day_no: int, race, runners=None) -> bytes:
    name = COURSE_NAMES[int(code) - 1] if code != "00" else "小倉"
    r = Record(JRAVAN_LEN)
    r.put(0, date.strftime("%Y%m%d"))
    r.put(8, code)
    r.put(10, f"{meeting_no:02d}")
    r.put(12, f"{day_no:02d}")
    r.put(14, f"{race.number:02d}")
    r.put(87, AGE_TYPE[race.age])
    for k, c in enumerate(conditions(race.age, race.klass, 5)):
        r.put(93 + 3 * k, c)
    r.put(132, f"{race.distance:04d}")
    r.put(136, track_code(name, race))
    r.put(319, hhmm(race.post_time))
    r.put(324, f"{runners or race.runners:02d}")
    return r.bytes()


def track_code(course: str, race) -> str:
    return TRACKS.get(course, TRACKS["中京"])[race.surface](race.distance)


def target_record(date: dt.date, code: str, meeting_no: int, day_no: int, race, grade=" ") -> bytes:
    name = COURSE_NAMES[int(code) - 1]
    r = Record(TARGET_LEN)
    r.put(0, code)
    r.put(2, date.strftime("%y"))
    r.put(4, str(meeting_no % 10))
    r.put(5, str(day_no % 10))
    r.put(6, f"{race.number:02d}")
    r.put(8, date.strftime("%m%d"))
    r.put(13, hhmm(race.post_time))
    r.put(80, AGE_TYPE[race.age])
    for k, c in enumerate(conditions(race.age, race.klass, 4)):
        r.put(86 + 3 * k, c)
    r.put(98, f"{race.distance:04d}")
    r.put(102, track_code(name, race))
    r.put(104, grade)
    r.put(105, f"{race.runners:02d}")
    return r.bytes()


def kol_record(date: dt.date, jra_code: str, meeting_no: int, day_no: int, race) -> bytes:
    r = Record(KOL_LEN)
    r.put(0, KOL_CODES[jra_code])
    r.put(6, f"{meeting_no:02d}")
    r.put(8, f"{day_no:02d}")
    r.put(10, f"{race.number:02d}")
    r.put(12, date.strftime("%Y"))
    r.put(16, date.strftime("%m"))
    r.put(18, date.strftime("%d"))
    r.put(24, "1" if race.surface == "障" else "0")
    r.put(97, KOL_AGE[race.age])
    r.put(99, f"{KOL_CLASS[race.klass]:05d}")
    r.put(104, "0" if race.surface == "ダ" else "1")
    r.put(108, f"{race.distance:04d}")
    r.put(331, race.post_time)
    r.put(336, f"{race.runners:02d}")
    return r.bytes()


# --------------------------------------------------------------------------
# Odds from a model of the horses' strengths


def floor1(x: float) -> float:
    return math.floor(x * 10 + 1e-9) / 10


class RaceOdds:
    """Win, place, bracket-quinella, quinella and quinella-place odds of a
    race (Harville's model over win chances that grow with strength); a
    scratched horse has none."""

    def __init__(self, rng: wf.Rng, race, scratched=()):
        self.race = race
        self.n = n = race.runners
        self.scratched = set(scratched)
        w = [0.0 if h in self.scratched else math.exp(3.6 * race.strength[h - 1] + 0.25 * rng.gauss())
             for h in range(1, n + 1)]
        total = sum(w)
        p = [x / total for x in w]
        top2 = {}
        top3 = {}
        place = [0.0] * n
        for a in range(n):
            for b in range(n):
                if a == b or p[a] == 0 or p[b] == 0:
                    continue
                pab = p[a] * p[b] / (1 - p[a])
                key = (min(a, b), max(a, b))
                top2[key] = top2.get(key, 0.0) + pab
                for c in range(n):
                    if c in (a, b) or p[c] == 0:
                        continue
                    pabc = pab * p[c] / (1 - p[a] - p[b])
                    for x in (a, b, c):
                        place[x] += pabc
                    for pair in ((a, b), (a, c), (b, c)):
                        k = (min(pair), max(pair))
                        top3[k] = top3.get(k, 0.0) + pabc
        self.win = {}
        self.place = {}
        for h in range(1, n + 1):
            if h in self.scratched:
                continue
            self.win[h] = max(1.1, min(999.9, floor1(0.80 / p[h - 1])))
            centre = 0.80 / max(place[h - 1], 1e-9)
            lo = max(1.0, min(999.9, floor1(centre * 0.8)))
            self.place[h] = (lo, max(lo, min(999.9, floor1(centre * 1.5))))
        self.quinella = {}
        self.wide = {}
        for (a, b), v in top2.items():
            self.quinella[(a + 1, b + 1)] = max(1.1, min(9999.9, floor1(0.775 / v)))
        for (a, b), v in top3.items():
            centre = 0.775 / v
            lo = max(1.0, min(9999.9, floor1(centre * 0.75)))
            self.wide[(a + 1, b + 1)] = (lo, max(lo, min(9999.9, floor1(centre * 1.35))))
        self.bracket = {}
        for x in range(1, 9):
            for y in range(x, 9):
                horses_x = [h for h in range(1, n + 1) if race.bracket(h) == x]
                horses_y = [h for h in range(1, n + 1) if race.bracket(h) == y]
                pairs = {(min(i, j), max(i, j)) for i in horses_x for j in horses_y if i != j}
                if not pairs:
                    continue           # no such pair in this field
                live = [q for q in pairs if not (set(q) & self.scratched)]
                if not live:
                    self.bracket[(x, y)] = None   # only with a scratched horse
                    continue
                prob = sum(top2.get((i - 1, j - 1), 0.0) for i, j in live)
                self.bracket[(x, y)] = max(1.1, min(999.9, floor1(0.775 / prob)))
        self.favourites = sorted(self.win, key=lambda h: (self.win[h], h))


SCRATCH = "ﾄﾘｹｼ"


def odds_text(value, width: int) -> str:
    """Odds right-aligned with one decimal; "ﾄﾘｹｼ" for None."""
    if value is None:
        return SCRATCH.rjust(width)
    return f"{value:{width}.1f}"


def pat_header(date: dt.date, course: str, meeting_no: int, day_no: int, race_no: int, taken: str,
               name: str) -> Record:
    r = Record(140)
    ymd = date.strftime("%Y%m%d")
    r.put(0, ymd)
    r.put(8, ymd + "0" * 12)
    r.put(28, course)
    r.put(32, date.strftime("%Y"))
    r.put(36, f"{meeting_no:02d}")
    r.put(38, f"{day_no:02d}")
    r.put(40, f"{race_no:02d}")
    r.put(44, taken)
    r.put(48, name, 28)
    return r


def zo_file(header: Record, odds: RaceOdds) -> bytes:
    out = header.bytes() + f"{odds.n:2d}".encode() + b"0"
    for h in range(1, 19):
        if h > odds.n:
            out += b" " * 18
        elif h in odds.scratched:
            out += (f"{h:2d}" + odds_text(None, 5) * 3 + "0").encode("cp932")
        else:
            lo, hi = odds.place[h]
            out += f"{h:2d}{odds.win[h]:5.1f}{lo:5.1f}{hi:5.1f}0".encode()
    out += b" "
    for x in range(1, 9):
        for y in range(x, 9):
            if (x, y) in odds.bracket:
                text = odds_text(odds.bracket[(x, y)], 5)
            else:
                text = " " * 5
            out += f"{x}-{y}{text}0 ".encode("cp932")
    assert len(out) == ZO_LEN
    return out


def uo98_file(header: Record, odds: RaceOdds) -> bytes:
    out = header.bytes() + f"{odds.n:2d}11".encode()
    used = 0
    for a in range(1, odds.n + 1):
        for b in range(a + 1, odds.n + 1):
            if {a, b} & odds.scratched:
                q = lo = hi = None
            else:
                q = odds.quinella[(a, b)]
                lo, hi = odds.wide[(a, b)]
            out += (f"00{a:02d}-{b:02d}" + odds_text(q, 6) + odds_text(lo, 6) + odds_text(hi, 6)).encode("cp932")
            used += 1
    out += b" " * 25 * (153 - used) + b"\r\n"
    assert len(out) == UO98_LEN
    return out


# --------------------------------------------------------------------------
# MJH text


KANA = ("ア イ ウ エ オ カ キ ク ケ コ サ シ ス セ ソ タ チ ツ テ ト ナ ニ ヌ ネ ノ ハ ヒ フ ヘ ホ "
        "マ ミ ム メ モ ヤ ユ ヨ ラ リ ル レ ロ ワ ン ガ ギ グ ゲ ゴ ザ ジ ズ ゼ ゾ ダ デ ド "
        "バ ビ ブ ベ ボ パ ピ プ ペ ポ ー ッ").split()
JOCKEYS = ["田中", "佐藤", "鈴木", "高橋", "伊藤", "渡辺", "山本", "中村", "小林", "加藤", "吉田", "山田",
           "佐々木", "山口", "松本", "井上", "木村", "林", "清水", "山崎", "森", "池田", "橋本", "阿部"]


def horse_name(rng: wf.Rng) -> str:
    while True:
        length = rng.between(2, 9)
        name = "".join(rng.choice(KANA) for _ in range(length))
        if name[0] not in "ーッン" and "ーー" not in name and "ッッ" not in name:
            return name


def columns(fields: list, width: int) -> str:
    """A line whose fields start at the given character columns (from 1)."""
    line = [" "] * width
    for col, text in fields:
        for k, ch in enumerate(text):
            line[col - 1 + k] = ch
    return "".join(line).rstrip(" ")


def mjh_odds4(x: float) -> str:
    return f"{x:4.1f}" if x < 99.95 else f"{min(9999, round(x)):4d}"


def mjh_odds3(x: float) -> str:
    return f"{x:3.1f}" if x < 9.95 else f"{min(999, round(x)):3d}"


# --------------------------------------------------------------------------
# Builder models: the meeting schedule from each source


def val(text: str) -> float:
    return wf.val(text)


def course_name_of_code(code: str) -> str:
    n = 10 if code == "A" else int(val(code))
    return COURSE_NAMES[n - 1] if 1 <= n <= 10 else "？？"


def surface_of_track_code(code: str) -> str:
    n = val(code)
    return "芝" if n < 23 else ("ダ" if n <= 50 else "障")


def age_of_type_code(code: str) -> str:
    return {"11": "２歳", "21": "２歳", "12": "３歳", "22": "３歳", "13": "３上", "18": "３上", "23": "３上",
            "14": "４上", "19": "４上", "24": "４上"}.get(code, "　　")


def age_of_digit(digit: str) -> str:
    return {"0": "障害", "1": "２歳", "2": "３歳", "3": "３上", "4": "４上"}.get(digit, "　　")


def class_of_grade(grade: str, condition: str) -> str:
    grades = {"A": "51", "B": "52", "C": "53", "F": "61", "G": "62", "H": "63"}
    if grade in grades:
        return grades[grade]
    n = int(val(condition))
    if 1 <= n <= 999:
        return {701: "01", 702: "02", 703: "03", 999: "00"}.get(n, condition[-2:])
    return "  "


def class_of_number(n: int) -> str:
    if n == 0:
        return "  "
    if n in (1, 2, 3):
        return f"0{n}"
    if n == 4:
        return "00"
    if n > 9999:
        return str(n)[:2]
    return "0" + str(n)[0]


def first_condition(codes: list) -> str:
    for c in codes:
        if val(c) > 0:
            return c
    return ""


def schedule_record(course: str, meeting: str, day: str, race: str, surface: str, distance: str,
                    runners: str, age: str, klass: str, name: str, start: str) -> bytes:
    rec = (wf.pad_bytes(course, 4) + wf.pad_bytes(meeting[-1:], 1) + wf.pad_bytes(day[-1:], 1)
           + wf.pad_bytes(str(int(val(race)))[-2:].rjust(2), 2) + wf.pad_bytes(surface, 2)
           + wf.pad_bytes(distance, 4) + wf.pad_bytes(runners, 2) + wf.pad_bytes(age, 4)
           + wf.pad_bytes(klass, 2) + wf.pad_bytes(name, 30) + wf.pad_bytes(start, 5) + b"\0" * 10)
    assert len(rec) == SCHEDULE_LEN
    return rec


def text_at(rec: bytes, offset: int, width: int) -> str:
    return rec[offset:offset + width].decode("cp932", "replace")


def records_of(data: bytes, length: int) -> list:
    return [data[i:i + length] for i in range(0, len(data) - length + 1, length)]


def schedule_from_jravan(data: bytes, ymd: str):
    """(schedule bytes, course codes) from the records of JRACDEN1.DAT."""
    kept = [r for r in records_of(data, JRAVAN_LEN) if text_at(r, 0, 8) == ymd]
    codes = set()
    for r in kept:
        n = int(val(text_at(r, 8, 2)))
        n = 10 if n == 0 else n
        if 1 <= n <= 10:
            codes.add(n)
    out = b""
    for r in kept:
        code = text_at(r, 8, 2)
        code = "10" if code == "00" else code
        start = text_at(r, 319, 4)
        out += schedule_record(course_name_of_code(code), text_at(r, 10, 2), text_at(r, 12, 2), text_at(r, 14, 2),
                               surface_of_track_code(text_at(r, 136, 2)), text_at(r, 132, 4), text_at(r, 324, 2),
                               age_of_type_code(text_at(r, 87, 2)),
                               class_of_grade("", first_condition([text_at(r, o, 3) for o in (93, 96, 99, 102, 105)])),
                               "", start[:2] + ":" + start[2:4])
    return out, [f"{n:02d}" for n in sorted(codes)][:3]


def schedule_from_target(data: bytes, ymd: str):
    kept = [r for r in records_of(data, TARGET_LEN) if text_at(r, 2, 2) + text_at(r, 8, 4) == ymd[2:]]
    codes = sorted({int(val(text_at(r, 0, 2))) for r in kept} & set(range(1, 11)))
    out = b""
    for r in kept:
        start = text_at(r, 13, 4)
        out += schedule_record(course_name_of_code(text_at(r, 0, 2)), text_at(r, 4, 1), text_at(r, 5, 1),
                               text_at(r, 6, 2), surface_of_track_code(text_at(r, 102, 2)), text_at(r, 98, 4),
                               text_at(r, 105, 2), age_of_type_code(text_at(r, 80, 2)),
                               class_of_grade(text_at(r, 104, 1),
                                              first_condition([text_at(r, o, 3) for o in (86, 89, 92, 95)])),
                               "", start[:2] + ":" + start[2:4])
    return out, [f"{n:02d}" for n in codes][:3]


def schedule_from_kol(data: bytes, ymd: str):
    kept = [r for r in records_of(data, KOL_LEN)
            if text_at(r, 12, 4) + text_at(r, 16, 2) + text_at(r, 18, 2) == ymd]
    codes = sorted({int(val(EXT_TO_JRA.get(text_at(r, 0, 2), text_at(r, 0, 2)))) for r in kept} & set(range(1, 11)))
    out = b""
    for r in kept:
        code = EXT_TO_JRA.get(text_at(r, 0, 2), text_at(r, 0, 2))
        if text_at(r, 24, 1) == "1":
            surface = "障"
        else:
            surface = "ダ" if text_at(r, 104, 1) == "0" else "芝"
        out += schedule_record(course_name_of_code(code), text_at(r, 6, 2), text_at(r, 8, 2), text_at(r, 10, 2),
                               surface, text_at(r, 108, 4), text_at(r, 336, 2), age_of_digit(text_at(r, 97, 1)),
                               class_of_number(int(val(text_at(r, 99, 5)))), "", text_at(r, 331, 5))
    return out, [f"{n:02d}" for n in codes][:3]


def mjh_races(text: bytes) -> list:
    """The race fields of the MJH data file converted from an RX text: one
    dict per record, twelve per meeting line (at most three meetings)."""
    lines = text.decode("cp932").replace("\r\n", "\n").replace("\r", "\n").split("\n")
    recs = []
    for line in lines:
        if line[:2] == "01" and len(recs) < 36:
            for r in range(1, 13):
                recs.append(dict(course=int(val(line[3:5])), meeting=int(val(line[9:10])),
                                 day=int(val(line[11:12])), race=r, surface=0, distance="", runners=0,
                                 name=""))
    for line in lines:
        kind = line[:2]
        if kind not in ("05", "06"):
            continue
        course, race = int(val(line[3:5])), int(val(line[6:8]))
        for rec in recs:
            if rec["course"] != course or rec["race"] != race:
                continue
            if kind == "05":
                s = line[14:15]
                rec["surface"] = 2 if s == "ダ" else (3 if s == "障" else 1)
                rec["distance"] = line[23:27]
                rec["runners"] = int(val(line[28:30]))
            else:
                rec["name"] = line.encode("cp932")[9:39].decode("cp932", "replace")
    return recs


def schedule_from_mjh(text: bytes) -> bytes:
    recs = mjh_races(text)
    if len(recs) <= 1:
        return b""
    out = b""
    for r in recs:
        surface = {1: "芝", 2: "ダ", 3: "障"}.get(r["surface"], "　")
        # A number in a text field: left-aligned, blank-padded.
        out += schedule_record(course_name_of_code(f"{r['course']:02d}"), str(r["meeting"]), str(r["day"]),
                               str(r["race"]), surface, r["distance"], str(r["runners"]), "    ", "  ",
                               r["name"], "  :  ")
    return out


# --------------------------------------------------------------------------
# The sample race day


class DayCards:
    """Cards and odds of a race day whose meetings come from the sample-day
    generator (wars_forum.Meeting: course, meeting and day numbers, races)."""

    # The favourite-but-one of 阪神 11R, alone in its bracket, is scratched.
    SCRATCH_AT = ("阪神", 11)

    def __init__(self, seed: int, day: dt.date, meetings: list, saturday: list):
        self.rng = wf.Rng(seed)
        self.day = day
        self.meetings = meetings
        self.saturday = saturday
        self.ymd = day.strftime("%Y%m%d")
        self.yymmdd = self.ymd[2:]
        self.odds = {}
        self.horses = {}
        for m in meetings:
            for race in m.races:
                scratched = ()
                if (m.course, race.number) == self.SCRATCH_AT:
                    scratched = (5,)
                self.odds[(m.course, race.number)] = RaceOdds(self.rng, race, scratched)
                self.horses[(m.course, race.number)] = [
                    (horse_name(self.rng), self.rng.choice("牡牡牡牝牝セ"), self.rng.choice(JOCKEYS),
                     self.rng.choice(["54.0", "55.0", "56.0", "57.0", "58.0"] if race.age == "3上" else ["55.0", "56.0"]))
                    for _ in range(race.runners)]
        self.notes = []

    # -- card files ---------------------------------------------------------

    def by_code(self):
        return sorted(self.meetings, key=lambda m: m.code)

    def jravan_den(self) -> bytes:
        out = b""
        for m in sorted(self.saturday, key=lambda m: m.code):
            out += jravan_record(m.date, m.code, m.meeting_no, m.day_no, m.races[11])
        for m in self.by_code():
            for race in m.races:
                out += jravan_record(self.day, m.code, m.meeting_no, m.day_no, race)
        # the same month and day a year before, at a course not raced on the day
        last_year = self.day.replace(year=self.day.year - 1)
        out += jravan_record(last_year, "05", 5, 2, self.meetings[0].races[10])
        return out

    def jravan_early(self) -> bytes:
        """An early card of the day: two meetings, registered runners."""
        out = b""
        for m in self.by_code():
            if m.course == "中京":
                continue
            for race in m.races:
                out += jravan_record(self.day, m.code, m.meeting_no, m.day_no, race, min(18, race.runners + 2))
        return out

    def target_den(self) -> bytes:
        sat = self.saturday[0]
        out = target_record(sat.date, sat.code, sat.meeting_no, sat.day_no, sat.races[11])
        for m in self.by_code():
            for race in m.races:
                out += target_record(self.day, m.code, m.meeting_no, m.day_no, race,
                                     GRADE_LETTERS.get((m.course, race.number), " "))
        last_year = self.day.replace(year=self.day.year - 1)
        out += target_record(last_year, "05", 5, 2, self.meetings[0].races[10])
        return out

    def kol_den(self) -> bytes:
        sat = [m for m in self.saturday if m.course == "阪神"][0]
        out = kol_record(sat.date, sat.code, sat.meeting_no, sat.day_no, sat.races[11])
        for m in sorted(self.meetings, key=lambda m: KOL_CODES[m.code]):
            for race in m.races:
                out += kol_record(self.day, m.code, m.meeting_no, m.day_no, race)
        last_year = self.day.replace(year=self.day.year - 1)
        out += kol_record(last_year, "05", 5, 2, self.meetings[0].races[10])
        return out

    def mjh_text(self) -> bytes:
        lines = [columns([(1, "00"), (4, "RX" + self.yymmdd), (13, self.ymd)], 40)]
        for m in self.meetings:
            lines.append(columns([(1, "01"), (4, m.code), (10, str(m.meeting_no)), (12, str(m.day_no)),
                                  (14, m.course), (17, self.ymd)], 40))
        swapped_bracket = ("中山", 6)      # one bracket line written with its brackets the other way round
        swapped_quinella = ("阪神", 3)     # one quinella line written with its horses the other way round
        four_marks = ("中京", 11)
        for m in self.meetings:
            for race in m.races:
                key = (m.course, race.number)
                odds = self.odds[key]
                cc, rr = m.code, f"{race.number:02d}"
                lines.append(columns([(1, "05"), (4, cc), (7, rr), (15, race.surface), (24, f"{race.distance:4d}"),
                                      (29, f"{race.runners:2d}"), (33, f"{len(odds.scratched):2d}"),
                                      (37, race.post_time)], 48))
                name = race_name(m.course, race)
                line06 = "06 " + cc + " " + rr + " " + wf.pad_bytes(name, 30).decode("cp932")
                if key == four_marks:
                    line06 += "（国際）（指定）"
                lines.append(line06.rstrip(" "))
                marks = set(odds.favourites[:4 if key == four_marks else 3])
                popularity = {h: k + 1 for k, h in enumerate(odds.favourites)}
                for h in range(1, race.runners + 1):
                    hname, sex, jockey, weight = self.horses[key][h - 1]
                    age = "2" if race.age == "2歳" else str(3 + (h * 7 + race.number) % 3)
                    win = odds_text(odds.win.get(h), 5)
                    pop = f"{popularity[h]:2d}" if h in popularity else "  "
                    lines.append(columns([(1, "10"), (4, cc), (7, rr), (10, str(race.bracket(h))), (12, f"{h:02d}"),
                                          (15, hname), (25, sex + age), (28, weight), (33, jockey), (46, win),
                                          (52, pop), (57, "1" if h in marks else "0")], 57))
                for (x, y), b in sorted(odds.bracket.items()):
                    if b is None:
                        continue
                    if key == swapped_bracket and (x, y) == (2, 3):
                        x, y = y, x
                    lines.append(columns([(1, "21"), (4, cc), (7, rr), (10, str(x)), (12, str(y)),
                                          (14, f"{b:5.1f}")], 18))
                for (a, b), q in sorted(odds.quinella.items()):
                    if key == swapped_quinella and (a, b) == (2, 5):
                        a, b = b, a
                    lines.append(columns([(1, "22"), (4, cc), (7, rr), (10, f"{a:02d}"), (12, "-"),
                                          (13, f"{b:02d}"), (16, mjh_odds4(q))], 19))
                for (a, b), (lo, _) in sorted(odds.wide.items()):
                    lines.append(columns([(1, "24"), (4, cc), (7, rr), (10, f"{a:02d}"), (12, "-"),
                                          (13, f"{b:02d}"), (16, mjh_odds3(lo))], 18))
        lines.append("99")
        return ("\r\n".join(lines) + "\r\n").encode("cp932")

    # -- writing ------------------------------------------------------------

    def write_cards(self, folder: str) -> dict:
        """Writes the four card sources into `folder`; returns the expected
        schedules by source ("JRAVAN", "TARGET", "KOL", "MJH") and notes."""
        os.makedirs(folder, exist_ok=True)
        for name in os.listdir(folder):
            os.remove(os.path.join(folder, name))
        when = dt.datetime(self.day.year, self.day.month, self.day.day) - dt.timedelta(hours=6)
        big = f"DB{self.yymmdd}.LZH"
        small = f"DA{self.yymmdd}.LZH"
        den = self.jravan_den()
        size_big = make_lzh(os.path.join(folder, big),
                            [("JRACDEN1.DAT", den), ("JRAUMA.DAT", noise_bytes("JRAUMA" + self.ymd, 56000))], when)
        size_small = make_lzh(os.path.join(folder, small), [("JRACDEN1.DAT", self.jravan_early())],
                              when - dt.timedelta(days=1))
        assert size_big > LARGE_ARCHIVE >= size_small, (size_big, size_small)
        target = self.target_den()
        with open(os.path.join(folder, f"{self.yymmdd}全.DEN"), "wb") as f:
            f.write(target)
        kol = self.kol_den()
        kol_name = f"HA{self.yymmdd}.LZH"
        make_lzh(os.path.join(folder, kol_name), [("kol_den1.kd2", kol)], when)
        mjh = self.mjh_text()
        with open(os.path.join(folder, f"RX{self.yymmdd}.TXT"), "wb") as f:
            f.write(mjh)

        # The expected schedules, read back from the files as the builders do.
        picked = [n for n in dir_order(os.listdir(folder))
                  if n.upper().startswith("D") and n.upper().endswith(self.yymmdd + ".LZH")
                  and len(n) == 12 and os.path.getsize(os.path.join(folder, n)) > LARGE_ARCHIVE][0]
        assert picked == big
        expected = {}
        expected["JRAVAN"], codes_jv = schedule_from_jravan(lzh_member(os.path.join(folder, picked), "JRACDEN1.DAT"),
                                                           self.ymd)
        expected["TARGET"], codes_t = schedule_from_target(target, self.ymd)
        kol_member = lzh_member(os.path.join(folder, kol_name), "kol_den1.kd2")
        assert kol_member == kol
        expected["KOL"], codes_k = schedule_from_kol(kol_member, self.ymd)
        expected["MJH"] = schedule_from_mjh(mjh)
        for kind, data in expected.items():
            assert len(data) == 36 * SCHEDULE_LEN, (kind, len(data))
        assert codes_jv == codes_t == codes_k == ["06", "07", "09"]
        self.card_summary = dict(
            big=(big, size_big, len(den) // JRAVAN_LEN), small=(small, size_small),
            target=(f"{self.yymmdd}全.DEN", len(target) // TARGET_LEN), kol=(kol_name, len(kol) // KOL_LEN),
            mjh=(f"RX{self.yymmdd}.TXT", len(mjh.split(b"\r\n")) - 1, len(mjh)), codes=codes_jv)
        return expected

    def write_odds(self, folder: str) -> int:
        """Writes the PAT98 odds files of every race; returns their count."""
        os.makedirs(folder, exist_ok=True)
        for name in os.listdir(folder):
            os.remove(os.path.join(folder, name))
        count = 0
        for k, m in enumerate(self.meetings):
            taken = f"09{35 + k:02d}"
            for race in m.races:
                odds = self.odds[(m.course, race.number)]
                header = pat_header(self.day, m.course, m.meeting_no, m.day_no, race.number, taken,
                                    race_name(m.course, race))
                name = pat_odds_name(m.code, race.number, m.day_no)
                with open(os.path.join(folder, "UO-" + name + ".JRA"), "wb") as f:
                    f.write(uo98_file(header, odds))
                with open(os.path.join(folder, "ZO-" + name + ".JRA"), "wb") as f:
                    f.write(zo_file(header, odds))
                count += 2
        with open(os.path.join(folder, f"RX{self.yymmdd}.TXT"), "wb") as f:
            f.write(self.mjh_text())
        return count


def pat_odds_name(code: str, race_no: int, day_no: int) -> str:
    letter = "A" if code == "10" else code[-1]
    race = {10: "A", 11: "B", 12: "C", 13: "D"}.get(race_no, str(race_no)[-1])
    return letter + str(day_no)[-1] + race


def show_schedule(data: bytes) -> str:
    """The records of a schedule as text lines (reserved bytes as '.')."""
    return "\n".join(data[i:i + 57].decode("cp932") + data[i + 57:i + 67].replace(b"\0", b".").decode()
                     for i in range(0, len(data), SCHEDULE_LEN))


# --------------------------------------------------------------------------
# Fixtures of the schedule tests (test day Sunday 2002-05-12)


def fixture_jravan(date: str, code: str, meeting_no: int, day_no: int, race: int, age_type: str, conds: list,
                   distance: str, track: str, start: str, runners: str) -> bytes:
    r = Record(JRAVAN_LEN)
    for offset, text in ((0, date), (8, code), (10, f"{meeting_no:02d}"), (12, f"{day_no:02d}"), (14, f"{race:02d}"),
                         (87, age_type), (132, distance), (136, track), (319, start), (324, runners)):
        r.put(offset, text)
    for k, c in enumerate(conds):
        r.put(93 + 3 * k, c)
    return r.bytes()


def fixture_kol(kol_code: str, meeting_no: int, day_no: int, race: int, date: str, jump: str, age: str, klass: str,
                surface: str, distance: str, start: str, runners: str) -> bytes:
    r = Record(KOL_LEN)
    for offset, text in ((0, kol_code), (6, f"{meeting_no:02d}"), (8, f"{day_no:02d}"), (10, f"{race:02d}"),
                         (12, date[:4]), (16, date[4:6]), (18, date[6:]), (24, jump), (97, age), (99, klass),
                         (104, surface), (108, distance), (331, start), (336, runners)):
        r.put(offset, text)
    return r.bytes()


# (date, code, 回, 日目, race, race type, condition codes, distance, track, start, runners)
FIXTURE_DA = [
    ("20020512", "05", 2, 6, 1, "12", ["000", "703", "000", "000", "703"], "1600", "11", "1000", "16"),
    ("20020512", "05", 2, 6, 2, "12", ["000", "701", "000", "000", "701"], "1400", "23", "1030", "14"),
]
FIXTURE_DB = [
    ("20020511", "05", 2, 5, 11, "13", ["000", "999", "999", "999", "999"], "1600", "11", "1540", "18"),
    ("20020512", "05", 2, 6, 11, "13", ["000", "999", "999", "999", "999"], "2400", "11", "1540", "18"),
    ("20020512", "08", 3, 6, 11, "14", ["000", "000", "016", "016", "016"], "1800", "24", "1525", "12"),
    ("20020512", "00", 1, 2, 4, "18", ["000", "703", "703", "703", "703"], "2860", "54", "1135", "09"),
]
# (KOL code, 回, 日目, race, date, jump flag, age digit, class number, surface digit, distance, start, runners)
FIXTURE_KOL = [
    ("04", 2, 6, 11, "20020512", "0", "4", "00004", "1", "2400", "15:40", "18"),
    ("00", 3, 6, 4, "20020512", "1", "0", "00003", "0", "3170", "11:20", "14"),
    ("04", 2, 6, 12, "20020512", "0", "3", "10000", "0", "1600", "16:15", "16"),
]


def write_test_fixtures(folder: str) -> None:
    os.makedirs(folder, exist_ok=True)
    when = dt.datetime(2002, 5, 11, 20, 0)
    da = b"".join(fixture_jravan(*r) for r in FIXTURE_DA)
    db = b"".join(fixture_jravan(*r) for r in FIXTURE_DB)
    kol = b"".join(fixture_kol(*r) for r in FIXTURE_KOL)
    size_a = make_lzh(os.path.join(folder, "DA020512.LZH"),
                      [("JRACDEN1.DAT", da), ("JRAUMA.DAT", noise_bytes("DA020512", 29600))], when)
    size_b = make_lzh(os.path.join(folder, "DB020512.LZH"),
                      [("JRACDEN1.DAT", db), ("JRAUMA.DAT", noise_bytes("DB020512", 79600))], when)
    size_h = make_lzh(os.path.join(folder, "H1020512.LZH"), [("kol_den1.kd2", kol)], when)
    assert size_a < LARGE_ARCHIVE < size_b
    sched_b, codes_b = schedule_from_jravan(db, "20020512")
    sched_a, codes_a = schedule_from_jravan(da, "20020512")
    sched_h, codes_h = schedule_from_kol(kol, "20020512")
    assert codes_b == ["05", "08", "10"] and codes_h == ["05", "08"] and codes_a == ["05"]
    with open(os.path.join(folder, "README.md"), "w", encoding="utf-8", newline="\n") as f:
        f.write(fixture_readme(size_a, size_b, size_h, sched_a, sched_b, sched_h))


def fixture_readme(size_a, size_b, size_h, sched_a, sched_b, sched_h) -> str:
    def rows(data):
        out = []
        for i in range(0, len(data), SCHEDULE_LEN):
            rec = data[i:i + SCHEDULE_LEN]
            out.append("    " + "|".join(text_at(rec, o, w) for o, w in
                                          ((0, 4), (4, 1), (5, 1), (6, 2), (8, 2), (10, 4), (14, 2), (16, 4),
                                           (20, 2), (22, 30), (52, 5))) + "| + 10 zero bytes")
        return "\n".join(out)

    def jv_rows(table):
        return "\n".join(f"| {d} | {c} | {m:02d} | {dn:02d} | {r:02d} | {t} | {' '.join(cs)} | {dist} | {tr} | {s} | {n} |"
                         for d, c, m, dn, r, t, cs, dist, tr, s, n in table)

    kol_rows = "\n".join(f"| {c} | {m:02d} | {d:02d} | {r:02d} | {date} | {j} | {a} | {k} | {s} | {dist} | {st} | {n} |"
                         for c, m, d, r, date, j, a, k, s, dist, st, n in FIXTURE_KOL)
    return f"""# Race-card fixtures of the meeting schedule tests

Generated by `tools/race_cards.py --test-fixtures` (do not edit by hand).
Test day: Sunday 2002-05-12 (processing day 20020512, yymmdd 020512).
Every record byte that no field below names is a space (0x20); all fields
are ASCII. Archives are made by `lha a` (level-2 headers of the generic OS
type, members dated 2002-05-11 20:00 UTC); the padding member `JRAUMA.DAT`
holds incompressible bytes and is stored (-lh0-), the card members are
-lh5-. Member names are stored as written here (`JRACDEN1.DAT` upper case,
`kol_den1.kd2` lower case); unpackers that treat an all-capitals name of a
generic archive as an MS-DOS name may report it in lower case.

## JRA-VAN archives (DenFlag 3)

| File | Size (bytes) | Members |
|---|---|---|
| DA020512.LZH | {size_a} | JRACDEN1.DAT ({len(FIXTURE_DA)} x 1463 bytes), JRAUMA.DAT (29600 bytes) |
| DB020512.LZH | {size_b} | JRACDEN1.DAT ({len(FIXTURE_DB)} x 1463 bytes), JRAUMA.DAT (79600 bytes) |

DA020512.LZH comes first in directory order but is not above 50000 bytes:
the builder must take DB020512.LZH.

Fields of JRACDEN1.DAT (byte offsets from 0): date 0 (8), course code 8 (2),
回 10 (2), 日目 12 (2), race 14 (2), race type 87 (2), five condition codes
93/96/99/102/105 (3 each), distance 132 (4), track code 136 (2), start time
319 (4), runners 324 (2).

DA020512.LZH (not to be used):

| date | course | 回 | 日目 | race | type | conditions | distance | track | start | runners |
|---|---|---|---|---|---|---|---|---|---|---|
{jv_rows(FIXTURE_DA)}

DB020512.LZH (the one to use; record 1 is of another date and is skipped;
course code 00 counts as 10, 小倉):

| date | course | 回 | 日目 | race | type | conditions | distance | track | start | runners |
|---|---|---|---|---|---|---|---|---|---|---|
{jv_rows(FIXTURE_DB)}

Expected schedule from DB020512.LZH: CourseCodes 05, 08, 10 (CourseCount 3)
and {len(sched_b) // SCHEDULE_LEN} records of 67 bytes (fields separated by | here: course name 4,
回 1, 日目 1, race 2, surface 2, distance 4, runners 2, age 4, class 2, race
name 30, start time 5; then 10 zero bytes):

{rows(sched_b)}

(Had DA020512.LZH been used, the schedule would be {len(sched_a) // SCHEDULE_LEN} records, both 東京, CourseCodes 05.)

## KOL archive (DenFlag 2)

H1020512.LZH ({size_h} bytes) holds the member `kol_den1.kd2`, {len(FIXTURE_KOL)} records of 779
bytes. Fields: course code 0 (2, second numbering: 04 東京, 00 京都), 回 6 (2),
日目 8 (2), race 10 (2), year 12 (4), month 16 (2), day 18 (2), jump flag 24
(1), age digit 97 (1), class number 99 (5), surface digit 104 (1), distance
108 (4), start time 331 (5), runners 336 (2).

| course | 回 | 日目 | race | date | jump | age | class | surface | distance | start | runners |
|---|---|---|---|---|---|---|---|---|---|---|---|
{kol_rows}

Record 2 is a jump race (flag 1) whose surface digit is 0: the flag wins (障).

Expected schedule: CourseCodes 05, 08 (CourseCount 2) and {len(sched_h) // SCHEDULE_LEN} records, in
source order:

{rows(sched_h)}
"""


def main() -> int:
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--test-fixtures", nargs="?", const=os.path.join(REPO, "tests", "data", "schedule"),
                    metavar="DIR", help="write the schedule test fixtures (default tests/data/schedule)")
    args = ap.parse_args()
    if not args.test_fixtures:
        ap.error("nothing to do: the sample day's cards are written by tools/gen_sample_day.py")
    write_test_fixtures(args.test_fixtures)
    print(f"wrote {args.test_fixtures}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
