#include "output/result_grid.h"

#include <algorithm>
#include <cctype>

#include "bets/pending_bet_file.h"
#include "core/codes.h"
#include "core/cp932.h"
#include "core/text.h"
#include "odds/odds_import.h"
#include "output/output_range.h"

namespace tolv {

namespace {

constexpr std::size_t kMaxWarsBets = 512;

GridCell cell(std::string text, std::uint32_t back, std::uint32_t fore) { return {std::move(text), back, fore}; }

// "02-05" from "05-02" or "2-5": two numbers as two digits.
std::string quinellaPick(long a, long b) { return TwoDigits(static_cast<int>(a)) + "-" + TwoDigits(static_cast<int>(b)); }

// "  3-6" from the two digits of a bracket pick.
std::string bracketPick(std::string_view digits) {
  return "  " + std::string(1, digits[0]) + "-" + std::string(1, digits[1]);
}

bool isCourseName(std::string_view twoChars) {
  for (long i = 1; i <= 10; ++i) {
    if (midChars(kCourseNamesText, 2 * i - 1, 2) == twoChars) return true;
  }
  return false;
}

bool isWarsHeader(const std::string& line) {
  if (lenChars(trim(line)) < 20) return false;
  if (!isCourseName(leftChars(line, 2))) return false;
  for (std::string_view part : {"回", "[", "]", "日目", "月", "年"}) {
    if (line.find(part) == std::string::npos) return false;
  }
  return true;
}

bool isWarsRaceLine(const std::string& line) {
  const double race = val(leftChars(line, 2));
  return race >= 1 && race <= 12 && midChars(line, 3, 3) == "R  ";
}

}  // namespace

bool ResultGrid::isSelected(int row) const {
  return row >= 1 && row <= pickCount() && rows[static_cast<std::size_t>(row)][1].back == kGridCyan;
}

void ResultGrid::toggleRow(int row) {
  if (row < 1 || row > pickCount()) return;
  GridCell& c = rows[static_cast<std::size_t>(row)][1];
  if (c.back == kGridWhite) {
    c.back = kGridCyan;
  } else if (c.back == kGridCyan) {
    c.back = kGridWhite;
  }
}

void ResultGrid::toggleAll() {
  if (rows.size() < 2) return;
  const std::uint32_t first = rows[1][1].back;
  if (first != kGridWhite && first != kGridCyan) return;
  const std::uint32_t paint = first == kGridWhite ? kGridCyan : kGridWhite;
  for (std::size_t r = 1; r < rows.size(); ++r) rows[r][1].back = paint;
}

bool isGridBracketPick(std::string_view pick) { return charAt(pick, 3) == " " && val(rightChars(pick, 2)) > 10; }

std::string gridRaceLabel(long race) {
  if (race < 10) return " " + toWide(std::to_string(race)) + "Ｒ";
  return std::to_string(race) + "Ｒ";
}

std::vector<std::pair<std::string, fs::path>> dayCourseFiles(const fs::path& folder, const std::string& date,
                                                             std::string_view extension) {
  std::vector<std::pair<std::string, fs::path>> kept;
  for (const fs::path& p : listFiles(folder, "W" + date + "_??" + std::string(extension))) {
    const std::string code = midBytes(p.filename().string(), 11, 2);
    const long n = valInt(code);
    if (code.size() != 2 || !std::isdigit(static_cast<unsigned char>(code[0])) ||
        !std::isdigit(static_cast<unsigned char>(code[1])) || n < 1 || n > 10) {
      continue;
    }
    kept.emplace_back(code, p);
    if (kept.size() == 3) break;
  }
  return kept;
}

std::vector<std::string> gridCourseCodes(const Session& session) {
  std::vector<std::string> codes;
  for (const auto& [code, path] : dayCourseFiles(session.dataFolder(), session.meetingDate(), ".DAT")) {
    codes.push_back(code);
  }
  return codes;
}

std::optional<ResultGrid> buildResultGrid(const Session& session, const std::string& courseCode, GridMode mode) {
  const fs::path path = tolvDataPath(session.dataFolder(), session.meetingDate(), courseCode);
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return std::nullopt;
  std::optional<std::vector<TolvRecord>> records = readTolvFile(path);
  if (!records) return std::nullopt;

  ResultGrid g;
  g.courseCode = courseCode;
  g.courseName = CourseNameOfCode(courseCode);
  g.mode = mode;
  const bool wide = mode == GridMode::QuinellaPlace;

  std::vector<GridCell> header(kGridColumns);
  header[0] = cell(g.courseName, kGridWhite, kGridRed);
  header[1].text = "買目";
  header[2].text = wide ? "ワイド" : "ODDS";
  header[3].text = "Ｗ";
  for (int c = 4; c < kGridColumns; ++c) header[static_cast<std::size_t>(c)].text = toWide(std::to_string(c - 3));
  g.rows.push_back(std::move(header));

  for (const TolvRecord& r : *records) {
    if (!PassesOutputRange(r, session.settings)) continue;
    std::vector<GridCell> row(kGridColumns);
    row[0].text = gridRaceLabel(raceNumberOfKey(r.raceKey));
    row[1] = cell(r.pick, kGridWhite, kGridRed);
    const bool hit = (wide ? r.wideHitFlag : r.hitFlag) == -1;
    if (hit) {
      row[0].back = kGridRed;
      row[0].fore = kGridWhite;
      row[2] = cell(trim(wide ? r.widePayout : r.payout), kGridMagenta, kGridBlue);
    } else {
      row[2] = cell(wide ? r.wideOdds : r.odds, kGridYellow, kGridBlack);
    }
    row[3] = cell(std::to_string(r.shareCount), kGridBlue, kGridWhite);
    for (int i = 0; i < 64 && i < r.shareCount; ++i) {
      const int code = r.programCodes[static_cast<std::size_t>(i)];
      if (code == 0) break;
      row[static_cast<std::size_t>(4 + i)].text = "[" + zeroPad(code, 4) + "]";
    }
    g.rows.push_back(std::move(row));
    g.records.push_back(r);
  }

  std::vector<GridCell> closing(kGridColumns);
  closing[1] = cell("", kGridWhite, kGridRed);
  closing[2] = cell("", kGridYellow, kGridBlack);
  closing[3] = cell("", kGridBlue, kGridWhite);
  g.rows.push_back(std::move(closing));
  return g;
}

std::vector<PendingBetEntry> selectedPendingBets(const Session& session, const ResultGrid& grid) {
  std::vector<PendingBetEntry> bets;
  const Settings& st = session.settings;
  for (int row = 1; row <= grid.pickCount(); ++row) {
    if (!grid.isSelected(row)) continue;
    const std::vector<GridCell>& cells = grid.rows[static_cast<std::size_t>(row)];
    const std::string pick = cells[1].text;
    if (pick.empty()) continue;
    PendingBetEntry e;
    e.course = grid.courseName;
    e.race = rightChars(" " + toNarrow(cells[0].text), 3);
    const std::string last2 = rightChars(pick, 2);
    std::string stake;
    if (isGridBracketPick(pick)) {
      e.type = "枠連  ";
      e.pick = bracketPick(last2);
      stake = st.stakeBracket;
    } else {
      e.pick = quinellaPick(valInt(leftChars(pick, 2)), valInt(last2));
      if (grid.mode == GridMode::QuinellaPlace) {
        e.type = "ワイド";
        stake = st.stakeWide;
      } else {
        e.type = "馬連  ";
        stake = st.stakeQuinella;
      }
    }
    e.stake = stakeText(valInt(stake));
    e.odds = cells[2].text;
    bets.push_back(std::move(e));
  }
  return bets;
}

StepResult SendGridSelection(Session& session, UserInterface& ui, const ResultGrid& grid) {
  const std::vector<PendingBetEntry> bets = selectedPendingBets(session, grid);
  if (bets.empty()) {
    ui.inform(kNoRowsSelectedMessage);
    return StepResult::Failed;
  }
  return WritePendingBets(session, ui, bets);
}

std::vector<PendingBetEntry> warsPendingBets(const Session& session, const std::vector<std::string>& lines,
                                             OddsFiller* odds) {
  std::vector<PendingBetEntry> bets;
  const Settings& st = session.settings;
  std::size_t i = 0;
  while (i < lines.size() && bets.size() < kMaxWarsBets) {
    const std::string& header = lines[i++];
    if (!isWarsHeader(header)) continue;
    const std::string course = leftChars(header, 2);
    const std::string courseCode = CourseCodeOfName(course);
    ++i;  // the dashed line under the header
    while (i < lines.size() && isWarsRaceLine(lines[i]) && bets.size() < kMaxWarsBets) {
      const std::string& line = lines[i++];
      const std::string race = leftChars(line, 3);
      const std::string raceKey = courseCode + TwoDigits(static_cast<int>(valInt(leftChars(line, 2))));
      for (long at = 9; at <= 39 && bets.size() < kMaxWarsBets; at += 6) {
        const std::string pick = midChars(line, at, 5);
        if (trim(pick).empty()) break;
        const std::string last2 = rightChars(pick, 2);
        if (val(last2) <= 1) continue;
        PendingBetEntry e;
        e.course = course;
        e.race = race;
        std::string stake;
        const std::string third = charAt(pick, 3);
        if (third == " ") {
          e.type = "枠連";
          e.pick = bracketPick(last2);
          stake = st.stakeBracket;
        } else if (third == "-") {
          const long a = valInt(leftChars(pick, 2)), b = valInt(last2);
          e.type = "馬連";
          e.pick = quinellaPick(std::min(a, b), std::max(a, b));
          stake = st.stakeQuinella;
        } else {
          break;
        }
        if (odds) {
          std::string o = "      ", w = "      ";
          odds->fill(raceKey, pick, o, w);
          e.odds = o;
        }
        e.stake = stakeText(valInt(stake));
        bets.push_back(std::move(e));
      }
    }
  }
  return bets;
}

StepResult SendWarsPicks(Session& session, UserInterface& ui, const fs::path& warsPath) {
  std::optional<std::string> bytes = readFile(warsPath);
  if (!bytes) {
    ui.inform(kWarsSendFailedMessage);
    return StepResult::Failed;
  }
  OddsFiller odds(session);
  odds.loadOnHand();
  const std::vector<PendingBetEntry> bets = warsPendingBets(session, splitLines(fromCp932(*bytes)), &odds);
  if (bets.empty()) return StepResult::Done;
  const StepResult r = WritePendingBets(session, ui, bets);
  return r;
}

}  // namespace tolv
