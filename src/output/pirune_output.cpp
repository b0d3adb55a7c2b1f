#include "output/pirune_output.h"

#include "collect/software_list.h"
#include "core/codes.h"
#include "core/dates.h"
#include "core/text.h"
#include "output/race_day.h"
#include "output/tolv_text.h"
#include "output/tolv_wars.h"

namespace tolv {

namespace {

const std::string kEqualsRule(kPiruneListingWidth, '=');
const std::string kDashRule(kPiruneListingWidth, '-');

// The most pairs per race: OUTPUT when it is 1-6, else 6 (the settings never
// hold anything else; the table has no more room).
std::size_t outputLimit(const Settings& settings) {
  const double n = val(settings.pirune.output);
  return n >= 1 && n <= kPiruneOutputPairs ? static_cast<std::size_t>(n) : kPiruneOutputPairs;
}

// The pair's two horse numbers in two characters each.
std::string horseText(std::string_view digits) { return twoCharNumber(valInt(digits)); }

}  // namespace

std::vector<PiruneOutputRace> piruneOutputTable(const Settings& settings,
                                                const std::vector<PiruneSelectionRecord>& selection) {
  const double lo = val(settings.oddsMin), hi = val(settings.oddsMax);
  const std::size_t limit = outputLimit(settings);
  std::vector<PiruneOutputRace> table;
  for (const auto& record : selection) {
    if (table.size() == kPiruneOutputRaces) break;
    PiruneOutputRace race{record.courseCode, record.raceNo, {}};
    for (const auto& c : record.candidates) {
      // Only real pairs: an empty slot is no pick, whatever the range.
      if (val(rightChars(c.pair, 2)) <= 0) continue;
      const double odds = val(c.odds);
      if (lo <= odds && odds <= hi) race.entries.push_back(c);
      if (race.entries.size() == limit) break;
    }
    table.push_back(std::move(race));
  }
  return table;
}

std::vector<std::string> WritePiruneBanner(const Session& session) {
  const std::string line = " " + session.meetingYear() + "年" + twoCharNumber(valInt(session.meetingMonth())) + "月" +
                           twoCharNumber(valInt(session.meetingDay())) + "日(" + weekdayKanji(session.meetingDate()) +
                           ")   『ぴるね』for WIN  あっ＼(◎o◎)／！  by ころもち";
  return {kEqualsRule, padBytes(line, kPiruneListingWidth), kDashRule};
}

std::string FormatPiruneHeading(const Session& session, const DaySchedule& schedule, const PiruneOutputRace& race) {
  RaceHeadingStyle style;
  style.width = kPiruneListingWidth;
  style.rule = '/';
  style.raceNameWithDenFlag0 = false;
  return FormatRaceHeading(session, schedule, race.courseCode + race.raceNo, style);
}

std::string FormatPirunePickLine(const PiruneOutputRace& race) {
  std::string line = " ";
  for (const auto& e : race.entries) {
    if (val(rightChars(e.pair, 2)) <= 0) break;
    const std::string odds = val(e.odds) >= 1000 ? std::string("999.9") : rightChars(e.odds, 5);
    line += e.pair + "[" + odds + "] ";
  }
  return padBytes(line, kPiruneListingWidth);
}

std::vector<std::string> WritePiruneWarsHeader(const Session& session, const DaySchedule& schedule,
                                               std::string_view courseCode) {
  const WarsOutputSettings& pirune = session.settings.pirune;
  const std::string signature = pirune.hedaFlag != 0 ? " " + pirune.orgHeda : std::string(" 『ぴるね』 by ころもち");
  return warsHeaderLines(session, schedule, CourseNameOfCode(courseCode), pirune.code, signature);
}

std::string FormatPiruneWarsRace(const PiruneOutputRace& race) {
  std::string lead, pairs;
  for (const auto& e : race.entries) {
    if (val(rightChars(e.pair, 2)) <= 0) break;
    const std::string a = horseText(leftChars(e.pair, 2));
    if (lead.empty()) lead = a;
    pairs += a + "-" + horseText(rightChars(e.pair, 2)) + " ";
  }
  if (pairs.empty()) return {};
  return padBytes(twoCharNumber(valInt(race.raceNo)) + "R  " + lead + " " + pairs, kWarsLineWidth);
}

fs::path piruneTextPath(const Session& session) {
  return session.resolvePath(session.settings.pirune.outFolder) / ("HT" + session.meetingDate() + ".txt");
}

fs::path piruneWarsPath(const Session& session) {
  return session.resolvePath(session.settings.pirune.outFolder) /
         warsFileName("HW", session.meetingDate(), session.settings.pirune);
}

PiruneOutputLines piruneOutputLines(const Session& session, const DaySchedule& schedule,
                                    const std::vector<PiruneOutputRace>& table) {
  PiruneOutputLines out;
  auto append = [](std::vector<std::string>& to, std::vector<std::string> lines) {
    for (auto& l : lines) to.push_back(std::move(l));
  };
  for (std::size_t k = 0; k < table.size(); ++k) {
    const PiruneOutputRace& race = table[k];
    if (k == 0) {
      append(out.text, WritePiruneBanner(session));
      append(out.wars, WritePiruneWarsHeader(session, schedule, race.courseCode));
    } else if (race.courseCode != table[k - 1].courseCode) {
      out.text.push_back(kDashRule);
      out.wars.emplace_back();
      append(out.wars, WritePiruneWarsHeader(session, schedule, race.courseCode));
    }
    if (race.hasPicks()) {
      out.text.push_back(FormatPiruneHeading(session, schedule, race));
      out.text.push_back(FormatPirunePickLine(race));
      if (std::string line = FormatPiruneWarsRace(race); !line.empty()) out.wars.push_back(std::move(line));
    }
  }
  out.text.push_back(kDashRule);
  out.text.emplace_back();
  out.wars.emplace_back();
  return out;
}

StepResult WritePiruneOutput(Session& session, UserInterface& ui, const std::vector<PiruneSelectionRecord>& selection,
                             std::vector<fs::path>* written) {
  BusyScope busy(ui);
  const std::vector<PiruneOutputRace> table = piruneOutputTable(session.settings, selection);
  bool anyPicks = false;
  for (const auto& r : table) anyPicks = anyPicks || r.hasPicks();
  if (!anyPicks) {
    ui.progressEnd();
    ui.inform(kPiruneNoPicksMessage, kPiruneNoPicksTitle, Icon::Information);
    return StepResult::Failed;
  }

  const DaySchedule schedule = DaySchedule::load(session);
  const PiruneOutputLines lines = piruneOutputLines(session, schedule, table);
  const std::pair<fs::path, const std::vector<std::string>*> files[] = {{piruneTextPath(session), &lines.text},
                                                                          {piruneWarsPath(session), &lines.wars}};
  for (const auto& [path, content] : files) {
    std::string error;
    if (!writeFileAtomic(path, encodeTextLines(*content), &error)) {
      ui.progressEnd();
      ui.inform("「ぴるね」の出力ファイルを書き込めません：" + path.string() + "\r\n" + error, kPiruneErrorTitle,
                Icon::Critical);
      return StepResult::Failed;
    }
    if (written) written->push_back(path);
  }
  ui.progressEnd();
  return StepResult::Done;
}

StepResult createPirune(Session& session, UserInterface& ui, std::vector<fs::path>* written) {
  PiruneHooks hooks;
  hooks.loadCodeList = [](const fs::path& p) { return loadCodeList(p); };
  hooks.checkSchedule = [](Session& s) { checkMeetingSchedule(s); };
  PiruneCreation creation;
  const StepResult r = createPiruneSelection(session, ui, hooks, &creation);
  if (r != StepResult::Done) return r;
  return WritePiruneOutput(session, ui, creation.selection, written);
}

}  // namespace tolv
