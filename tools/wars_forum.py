"""Builds forum logs of WARS prediction posts, for the sample race day and the
extraction benchmark.

A forum log is a download of a forum's messages: a message header (number,
subject, author, time) followed by the message body. Prediction programs post
their picks in the WARS text format, one block per meeting:

    ----------------------------------------------------------------------------
    中山 2026年  5回  2日目 12月  6日(日) [0123] 馬王 Ver2.10
    ----------------------------------------------------------------------------
     1R     03-07 03-11 07-11 01-03 03-05 05-07
    ...
    12R     ...

Everything here is deterministic for a given seed: random numbers come only
from Rng below, built on random.Random.random(), whose sequence is stable
across Python versions.

Besides writing the logs, the module keeps what a reader must find in them
(the expected cut index records and cut file lines), and has a small reader
model of the post format that generate-time self-checks use to prove that the
noise it writes is not taken for a post and the posts are.
"""

from __future__ import annotations

import datetime as _dt
import math
import random
from dataclasses import dataclass, field

COURSE_CODES = {
    "札幌": "01", "函館": "02", "福島": "03", "新潟": "04", "東京": "05",
    "中山": "06", "中京": "07", "京都": "08", "阪神": "09", "小倉": "10",
}
COURSE_NAMES_TEXT = "札幌函館福島新潟東京中山中京京都阪神小倉"
WEEKDAYS = "月火水木金土日"
RULE = "-" * 76
FULLWIDTH_DIGITS = str.maketrans("0123456789", "０１２３４５６７８９")
HALFWIDTH_DIGITS = str.maketrans("０１２３４５６７８９", "0123456789")
BAR = "━" * 38  # 76 bytes in CP932


# --------------------------------------------------------------------------
# Random numbers


class Rng:
    """Deterministic helpers over random.Random.random() only."""

    def __init__(self, seed):
        self._r = random.Random(seed)

    def random(self) -> float:
        return self._r.random()

    def below(self, n: int) -> int:
        return min(n - 1, int(self._r.random() * n))

    def between(self, lo: int, hi: int) -> int:
        """An integer in lo..hi, both included."""
        return lo + self.below(hi - lo + 1)

    def chance(self, p: float) -> bool:
        return self._r.random() < p

    def choice(self, seq):
        return seq[self.below(len(seq))]

    def shuffle(self, items: list) -> None:
        for i in range(len(items) - 1, 0, -1):
            j = self.below(i + 1)
            items[i], items[j] = items[j], items[i]

    def sample(self, seq, k: int) -> list:
        pool = list(seq)
        self.shuffle(pool)
        return pool[:k]

    def gauss(self) -> float:
        u1 = max(self._r.random(), 1e-12)
        u2 = self._r.random()
        return math.sqrt(-2.0 * math.log(u1)) * math.cos(2.0 * math.pi * u2)

    def weighted(self, seq, weights):
        total = sum(weights)
        x = self._r.random() * total
        for item, w in zip(seq, weights):
            x -= w
            if x < 0:
                return item
        return seq[-1]


# --------------------------------------------------------------------------
# Races and meetings


@dataclass
class Race:
    number: int
    runners: int
    strength: list  # per horse number (index 0 = horse 1)
    surface: str
    distance: int
    age: str
    klass: str
    post_time: str

    def bracket(self, horse: int) -> int:
        """The bracket (1-8) of a horse: above 8 runners the later brackets
        take the extra horses."""
        n = self.runners
        if n <= 8:
            return horse
        base, extra = divmod(n, 8)
        sizes = [base + (1 if b >= 8 - extra else 0) for b in range(8)]
        total = 0
        for b, size in enumerate(sizes):
            total += size
            if horse <= total:
                return b + 1
        return 8


@dataclass
class Meeting:
    course: str
    date: _dt.date
    meeting_no: int
    day_no: int
    races: list

    @property
    def code(self) -> str:
        return COURSE_CODES.get(self.course, "")


_CLASSES_2YO = ["新馬", "未勝利", "未勝利", "1勝", "OP"]
_CLASSES_OLDER = ["1勝", "1勝", "2勝", "2勝", "3勝", "OP"]


def make_meeting(rng: Rng, course: str, date: _dt.date, meeting_no: int, day_no: int, main_class="OP") -> Meeting:
    races = []
    for n in range(1, 13):
        runners = rng.between(10, 18) if rng.chance(0.8) else rng.between(7, 16)
        strength = [rng.random() ** 1.6 for _ in range(runners)]
        if n <= 4:
            age, klass = "2歳", rng.choice(_CLASSES_2YO[:3])
        elif n <= 6:
            age, klass = "3上", "1勝"
        elif n == 11:
            age, klass = "3上", main_class
        else:
            age, klass = "3上", rng.choice(_CLASSES_OLDER)
        surface = "ダ" if rng.chance(0.45) else "芝"
        distance = rng.choice([1200, 1400, 1600, 1800, 2000, 2200, 2500] if surface == "芝" else [1200, 1400, 1700, 1800, 1900])
        minutes = 9 * 60 + 55 + (n - 1) * 30 + (10 if n >= 5 else 0)
        races.append(Race(n, runners, strength, surface, distance, age, klass, f"{minutes // 60:02d}:{minutes % 60:02d}"))
    return Meeting(course, date, meeting_no, day_no, races)


# --------------------------------------------------------------------------
# The WARS text format


def header_line(meeting: Meeting, code: str, tail: str = "", fullwidth_date: bool = False) -> str:
    """The header line of a meeting block: course, year, meeting, day number,
    month, day, weekday and the program's WARS code."""
    d = meeting.date
    year, month, day = str(d.year), f"{d.month:2d}", f"{d.day:2d}"
    if fullwidth_date:
        year, month, day = (t.translate(FULLWIDTH_DIGITS) for t in (year, month, day))
    text = (f"{meeting.course} {year}年  {meeting.meeting_no}回  {meeting.day_no}日目 "
            f"{month}月 {day}日({WEEKDAYS[d.weekday()]}) [{code}]")
    return text + (" " + tail if tail else "")


def quinella(a: int, b: int) -> str:
    return f"{a:02d}-{b:02d}"


def bracket_pick(a: int, b: int) -> str:
    return f"   {a}{b}"


def race_line(number: int, picks: list, tag: str = "  ") -> str:
    """ " 1R    " then " 03-07" per pick; the tag fills columns 6-7."""
    return f"{number:2d}R  {tag:2s}" + "".join(" " + p for p in picks)


def annotate(line: str, race: Race) -> str:
    """A race line with the race conditions after a "|" at byte 46."""
    return (f"{line:<45s}|{race.surface}{race.distance}m {race.runners:2d}頭 "
            f"{race.age} {race.klass} {race.post_time}")


def cut_record(meeting: Meeting, code: str, race_no: int, tag: str, picks: list) -> bytes:
    """The 40-byte cut index record of one race line (ASCII fields only)."""
    fields = [p.ljust(5) for p in picks[:6]] + ["     "] * (6 - min(6, len(picks)))
    rec = meeting.code.ljust(2) + code + f"{race_no:02d}" + tag.ljust(2) + "".join(fields)
    raw = rec.encode("cp932")
    assert len(raw) == 40, rec
    return raw


def pad_bytes(text: str, width: int) -> bytes:
    """Text in CP932 blank-padded or cut to `width` bytes; a cut through a
    double-byte character leaves "?"."""
    out = b""
    for ch in text:
        raw = ch.encode("cp932")
        if len(out) + len(raw) > width:
            out += b"?" * (width - len(out))
            break
        out += raw
    return out + b" " * (width - len(out))


# --------------------------------------------------------------------------
# Programs


@dataclass
class Program:
    code: str
    name: str
    picks: int = 6              # picks per race
    bet: str = "quinella"       # quinella, bracket, mixed
    shape: str = "box"          # box (pairs among the top horses), axis (one horse with five others)
    axis_first: bool = False    # axis horse written first even when its number is higher
    tag: str = "  "
    annotate: bool = False
    pad76: bool = False
    noise: float = 0.35
    races: tuple = (1, 12)      # first and last race posted
    greeting: str = ""
    version: str = ""


def program_picks(rng: Rng, prog: Program, race: Race) -> list:
    """The program's picks for a race: pairs of the horses it rates best."""
    scores = [s + prog.noise * rng.gauss() * 0.35 for s in race.strength]
    order = sorted(range(1, race.runners + 1), key=lambda h: -scores[h - 1])
    want = prog.picks
    if prog.bet == "bracket":
        brackets = []
        for h in order:
            b = race.bracket(h)
            if b not in brackets:
                brackets.append(b)
        pairs = []
        top = brackets[:5]
        for i in range(len(top)):
            for j in range(i + 1, len(top)):
                a, b = sorted((top[i], top[j]))
                pairs.append(bracket_pick(a, b))
        # a same-bracket pick when the best two horses share a bracket
        if race.bracket(order[0]) == race.bracket(order[1]):
            b = race.bracket(order[0])
            pairs.insert(1, bracket_pick(b, b))
        return pairs[:want]
    if prog.shape == "axis":
        axis = order[0]
        picks = []
        for other in order[1:want + 1]:
            a, b = (axis, other) if prog.axis_first else sorted((axis, other))
            picks.append(quinella(a, b))
    else:
        top = order[:4] if want <= 6 else order[:5]
        picks = []
        for i in range(len(top)):
            for j in range(i + 1, len(top)):
                a, b = sorted((top[i], top[j]))
                picks.append(quinella(a, b))
        picks = picks[:want]
    if prog.bet == "mixed" and picks:
        a, b = sorted((race.bracket(order[0]), race.bracket(order[1])))
        picks[-1] = bracket_pick(a, b)
    return picks


@dataclass
class Block:
    """One meeting block of a post, as written, with what a reader takes from it."""
    lines: list
    header: str = ""               # the header line (empty for noise)
    records: list = field(default_factory=list)   # expected cut records (bytes)
    race_lines: list = field(default_factory=list)  # race lines as written


def post_block(rng: Rng, prog: Program, meeting: Meeting, matching: bool, *,
               fullwidth_date=False, tail=None, short_races=None, picker=program_picks) -> Block:
    """A meeting block: rule, header, rule, race lines, empty line.
    `short_races` maps race numbers to a pick count below the program's;
    `picker(rng, prog, race)` gives a race's picks (program_picks by default)."""
    tail = (prog.name + (" " + prog.version if prog.version else "")) if tail is None else tail
    head = header_line(meeting, prog.code, tail, fullwidth_date)
    lines = [RULE, head, RULE]
    block = Block(lines, head if matching else "")
    first, last = prog.races
    for race in meeting.races[first - 1:last]:
        picks = picker(rng, prog, race)
        if short_races and race.number in short_races:
            picks = picks[:short_races[race.number]]
        line = race_line(race.number, picks, prog.tag)
        if prog.annotate:
            line = annotate(line, race)
        elif prog.pad76:
            line = line.ljust(76)
        lines.append(line)
        block.race_lines.append(line)
        if matching:
            block.records.append(cut_record(meeting, prog.code, race.number, prog.tag, picks))
    lines.append("")
    return block


# --------------------------------------------------------------------------
# Forum messages and logs


@dataclass
class Message:
    when: _dt.datetime
    subject: str
    author: str
    lines: list
    eol: str = "\r\n"
    blocks: list = field(default_factory=list)  # the Blocks a reader takes, in order
    order: int = 0
    head_lines: list = field(default_factory=list)


def message_head(style: int, number: int, subject: str, author: str, when: _dt.datetime) -> list:
    """The head a log downloader writes above each message; three styles for
    three forums."""
    stamp = when.strftime("%Y/%m/%d %H:%M")
    if style == 1:
        return [BAR, f"■ No.{number}  題名: {subject}", f"■ 投稿者: {author}  日時: {stamp}", BAR]
    if style == 2:
        return [f"■ [{number}] {subject}", f"■ 投稿者: {author}  日時: {stamp}", "―" * 38]
    return ["=" * 76, f"■ 題名: {subject}  (No.{number})", f"■ 投稿者: {author}  日時: {stamp}", "=" * 76]


class Log:
    """A forum log being built: messages, written in time order."""

    def __init__(self, style: int, first_number: int):
        self.style = style
        self.first_number = first_number
        self.messages = []

    def _add(self, msg: Message) -> Message:
        msg.order = len(self.messages)  # keeps insertion order among equal times
        self.messages.append(msg)
        return msg

    def add_post(self, when, subject, author, blocks: list, greeting="", footer="", eol="\r\n") -> Message:
        lines = []
        if greeting:
            lines += [greeting, ""]
        for b in blocks:
            lines += b.lines
        if footer:
            lines.append(footer)
        return self._add(Message(when, subject, author, lines, eol, [b for b in blocks if b.header]))

    def add_chatter(self, when, subject, author, body: list, eol="\r\n") -> Message:
        return self._add(Message(when, subject, author, list(body), eol))

    def add_copy(self, msg: Message) -> Message:
        """The same message cross-posted: same text, time and blocks."""
        return self._add(Message(msg.when, msg.subject, msg.author, list(msg.lines), msg.eol, list(msg.blocks)))

    def finish(self) -> list:
        self.messages.sort(key=lambda m: (m.when, m.order))
        for i, m in enumerate(self.messages):
            m.head_lines = message_head(self.style, self.first_number + i, m.subject, m.author, m.when)
        return self.messages

    def to_bytes(self, final_eol: bool = True) -> bytes:
        parts = []
        for m in self.finish():
            parts.append(m.eol.join(m.head_lines + m.lines + [""]) + m.eol)
        data = "".join(parts).encode("cp932")
        if not final_eol:
            data = data.rstrip(b"\r\n")
        return data

    def blocks(self) -> list:
        """Every block a reader takes, in file order (call after finish)."""
        return [b for m in self.messages for b in m.blocks]


# --------------------------------------------------------------------------
# Reader model: the post format as a log reader takes it


def _before(s: str, mark: str):
    at = s.find(mark)
    return None if at < 0 else s[:at]


def _after(s: str, mark: str):
    at = s.find(mark)
    return None if at < 0 else s[at + len(mark):]


def header_matches(line: str, date: _dt.date):
    """The WARS code when a trimmed log line is the header of a post of `date`."""
    t = line.translate(HALFWIDTH_DIGITS)
    if len(t) < 20:
        return None
    if len(t[:2]) < 2 or COURSE_NAMES_TEXT.find(t[:2]) < 0:
        return None
    day_text, month_text = f"{date.day}日(", f"{date.month}月"
    if t.find(day_text) + 1 < 8 or t.find(month_text) + 1 < 10:
        return None
    for mark in ("日目", "年", "回", "[", "]"):
        if mark not in t:
            return None
    year = _before(t[2:].strip(" "), "年")
    if year is None or year.strip(" ") != str(date.year):
        return None
    rest = _after(t, "日目").strip(" ")
    month = _before(rest, "月")
    if month is None or month.strip(" ").rjust(2, "0") != f"{date.month:02d}":
        return None
    after_month = _after(rest, "月").strip(" ")
    day = _before(after_month, "日")
    if day is None or day.strip(" ").rjust(2, "0") != f"{date.day:02d}":
        return None
    code = t[t.find("[") + 1:][:4]
    if not 1 <= val(code) <= 9999:
        return None
    return code


def val(text: str) -> float:
    """The leading number of a text: blanks anywhere are skipped, then a sign,
    digits and one decimal point are read; no number reads 0."""
    digits, seen_point, started = "", False, False
    for ch in text:
        if ch in " \t\r\n":
            continue
        if ch in "+-" and not started:
            digits += ch
            started = True
        elif ch.isascii() and ch.isdigit():
            digits += ch
            started = True
        elif ch == "." and not seen_point:
            digits += ch
            seen_point = started = True
        else:
            break
    try:
        return float(digits)
    except ValueError:
        return 0.0


def read_posts(data: bytes, date: _dt.date) -> list:
    """(header, race lines) of every post of `date` in a log's bytes."""
    text = data.decode("cp932")
    lines = text.replace("\r\n", "\n").replace("\r", "\n").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    posts = []
    i = 0
    while i < len(lines):
        head = lines[i].strip(" ")
        i += 1
        if "日目" not in head or header_matches(head, date) is None:
            continue
        i += 1  # the separator
        if i >= len(lines):
            break
        races = []
        while i < len(lines) and lines[i][2:3] == "R":
            races.append(lines[i])
            i += 1
        i += 1  # the line that ends the block is not tested as a header
        if races:
            posts.append((head, races))
    return posts


def expected_cut_file(blocks: list) -> bytes:
    """The cut file a reader writes for these blocks: rule, header, rule, race
    lines, each 76 bytes, then an empty line; CR LF."""
    out = []
    rule = RULE.encode("ascii") + b"\r\n"
    for b in blocks:
        out.append(rule + pad_bytes(b.header.strip(" "), 76) + b"\r\n" + rule)
        for line in b.race_lines:
            out.append(pad_bytes(line, 76) + b"\r\n")
        out.append(b"\r\n")
    return b"".join(out)
