#include "odds/mjh.h"

#include "core/files.h"
#include "core/records.h"
#include "core/text.h"
#include "odds/pat_odds.h"

namespace tolv {

fs::path mjhTextPath(const Session& s) {
  const fs::path folder = s.resolvePath(s.settings.patFolder);
  const std::string name = "RX" + rightChars(s.meetingDate(), 6) + ".TXT";
  auto found = findCaseless(folder, name);
  return found ? *found : folder / name;
}

namespace {

std::string type(const std::string& line) { return leftChars(line, 2); }
long number(const std::string& line, long from, long width) { return valInt(midChars(line, from, width)); }

}  // namespace

std::vector<MjhRecord> parseMjhText(const std::vector<std::string>& lines) {
  std::vector<MjhRecord> records;
  int meetings = 0;
  for (const auto& line : lines) {
    if (type(line) != "01" || meetings == 3) continue;
    ++meetings;
    for (int race = 1; race <= 12; ++race) {
      MjhRecord r;
      r.courseCode = static_cast<int>(number(line, 4, 2));
      r.meetingNumber = static_cast<int>(number(line, 10, 1));
      r.dayNumber = static_cast<int>(number(line, 12, 1));
      r.raceNumber = race;
      records.push_back(std::move(r));
    }
  }

  // Each line goes to the record of its own course and race, so two races'
  // runs that follow each other directly still land in their own records.
  auto matching = [&](const std::string& line) -> MjhRecord* {
    long course = number(line, 4, 2), race = number(line, 7, 2);
    for (auto& r : records) {
      if (r.courseCode == course && r.raceNumber == race) return &r;
    }
    return nullptr;
  };

  for (const auto& line : lines) {
    const std::string t = type(line);
    if (t == "05") {
      long course = number(line, 4, 2), race = number(line, 7, 2);
      for (auto& r : records) {
        if (r.courseCode != course || r.raceNumber != race) continue;
        const std::string surface = charAt(line, 15);
        r.surface = surface == "ダ" ? 2 : surface == "障" ? 3 : 1;
        r.distance = midChars(line, 24, 4);
        r.runners = static_cast<int>(number(line, 29, 2));
        r.flag = number(line, 33, 2) == 0 ? 0 : -1;
      }
      continue;
    }
    MjhRecord* r = (t == "06" || t == "10" || t == "21" || t == "22" || t == "24") ? matching(line) : nullptr;
    if (!r) continue;
    if (t == "06") {
      r->raceName = midBytes(line, 10, 30);
    } else if (t == "10") {
      if (charAt(line, 57) != "1") continue;
      // Only three slots: a fourth marked runner is ignored.
      for (int& slot : r->marked) {
        if (slot == 0) {
          slot = static_cast<int>(number(line, 12, 2));
          break;
        }
      }
    } else if (t == "21") {
      int a = static_cast<int>(number(line, 10, 1)), b = static_cast<int>(number(line, 12, 1));
      if (a > b) std::swap(a, b);  // a bracket pair written the other way round
      int k = BracketPairIndex(a, b);
      if (k > 0) r->bracketOdds[static_cast<std::size_t>(k - 1)] = midChars(line, 14, 5);
    } else {
      int a = static_cast<int>(number(line, 10, 2)), b = static_cast<int>(number(line, 13, 2));
      int k = QuinellaPairIndex(a, b);
      if (k <= 0) continue;
      if (t == "22") {
        r->quinellaOdds[static_cast<std::size_t>(k - 1)] = midChars(line, 16, 4);
      } else {
        r->wideOdds[static_cast<std::size_t>(k - 1)] = midChars(line, 16, 3);
      }
    }
  }
  return records;
}

bool ConvertMjhData(Session& s) {
  const fs::path text = mjhTextPath(s);
  if (!isRegularFile(text)) return false;
  auto lines = readTextLines(text);
  if (!lines) return false;
  std::vector<std::string> bytes;
  for (const auto& r : parseMjhText(*lines)) bytes.push_back(r.encode());
  return writeRecords(mjhDataPath(s.dataFolder(), s.meetingDate()), bytes);
}

}  // namespace tolv
