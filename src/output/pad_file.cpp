#include "output/pad_file.h"

#include <optional>

#include "core/codes.h"
#include "core/files.h"
#include "core/profile.h"
#include "core/text.h"
#include "output/output_range.h"
#include "output/pirune_output.h"
#include "output/tolv_wars.h"

namespace tolv {

namespace {

constexpr std::string_view kSection = "STAFF";
constexpr std::string_view kErrorTitle = "【トルブ】エラーメッセージ";

// The autopilot script that takes the communication program to the board.
const std::vector<std::string> kScriptHead = {"*GO FHWARS", "*MES 11", "*SAY"};

constexpr std::string_view kPiruneTextGreeting =
    "  万券ファンの皆さん、おはよう(^_^)。　きょうも万券取って蔵建てよう！";
constexpr std::string_view kPiruneWarsGreeting =
    "  万券ファンの皆さん、おはよう(^_^)。　本日で住宅ローンは完済だぁ～(ﾟ〇ﾟ;)";

// A listing body that ends on its own closing rule needs no other.
const std::string kClosingRulePrefix(23, '=');

// A file as it exists: the path itself, else the same name in another case.
std::optional<fs::path> existingFile(const fs::path& p) {
  if (isRegularFile(p)) return p;
  if (auto found = findCaseless(p.parent_path(), p.filename().string()); found && isRegularFile(*found)) return found;
  return std::nullopt;
}

// The race number of a listing's race heading (characters 6-7 "Ｒ】"), or
// nullopt for any other line.
std::optional<double> headingRaceNumber(const std::string& line) {
  if (midChars(line, 6, 2) != "Ｒ】") return std::nullopt;
  return val(toNarrow(midChars(line, 4, 2)));
}

class PadWriter {
 public:
  PadWriter(const Session& session, const PadSettings& pad) : pad_(pad), date_(padSubjectDate(session)) {}

  void beginMessage(const std::string& subject) {
    if (pad_.autopilot()) lines_.insert(lines_.end(), kScriptHead.begin(), kScriptHead.end());
    lines_.push_back(subject);
  }

  // A listing's message; returns the number of body lines posted.
  std::size_t addListing(const std::string& subject, const std::vector<std::string>& listing) {
    beginMessage(subject);
    std::string last;
    const auto body = padListingBody(listing, pad_.raceOutFlag, &last);
    lines_.insert(lines_.end(), body.begin(), body.end());
    if (!last.starts_with(kClosingRulePrefix)) lines_.push_back(std::string(76, '='));
    lines_.push_back("/POST");
    return body.size();
  }

  // A whole file as one message, with an optional greeting.
  void addFile(const std::string& subject, std::string_view greeting, const std::vector<std::string>& file) {
    beginMessage(subject);
    if (!greeting.empty()) lines_.emplace_back(greeting);
    lines_.emplace_back();
    lines_.insert(lines_.end(), file.begin(), file.end());
    lines_.emplace_back();
    lines_.push_back("/POST");
  }

  std::string editionSuffix() const { return pad_.raceOutFlag == 1 ? "   早版" : ""; }
  const std::string& date() const { return date_; }
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  const PadSettings& pad_;
  std::string date_;
  std::vector<std::string> lines_;
};

std::string listingEdition(int raceOutFlag) {
  if (raceOutFlag == 1) return "   早版（３Ｒまで）";
  if (raceOutFlag == 2) return "   遅版（４Ｒ以降）";
  return "";
}

bool readLines(const fs::path& p, std::vector<std::string>& out, UserInterface& ui) {
  std::string error;
  auto lines = readTextLines(p, &error);
  if (!lines) {
    ui.inform("ファイルを読み込めません：" + p.string() + "\r\n" + error, kErrorTitle, Icon::Critical);
    return false;
  }
  out = std::move(*lines);
  return true;
}

}  // namespace

PadSettings LoadPadSettings(const Session& session) {
  const fs::path ini = session.iniFilePath();
  PadSettings pad;
  pad.outDir = trim(readProfileString(ini, kSection, "PADOUTDIR"));
  pad.term = val(readProfileString(ini, kSection, "TERM")) == 1 ? 1 : 0;
  pad.padEdit = val(readProfileString(ini, kSection, "PADEDIT")) == 1 ? 1 : 0;
  pad.raceOutFlag = static_cast<int>(valInt(readProfileString(ini, kSection, "RaceOutFlag")));
  return pad;
}

bool SavePadSettings(const Session& session, const PadSettings& pad, std::string* error) {
  const fs::path ini = session.iniFilePath();
  return writeProfileString(ini, kSection, "PADOUTDIR", trim(pad.outDir), error) &&
         writeProfileString(ini, kSection, "TERM", pad.term == 1 ? "1" : "0", error) &&
         writeProfileString(ini, kSection, "PADEDIT", pad.padEdit == 1 ? "1" : "0", error) &&
         writeProfileString(ini, kSection, "RaceOutFlag", std::to_string(pad.raceOutFlag), error);
}

fs::path padFilePath(const Session& session, const PadSettings& pad) {
  // resolvePath takes empty text as the home folder and any separator style.
  const fs::path dir = session.resolvePath(pad.outDir);
  const std::string name = pad.autopilot() ? "PAD.PAD" : "wPAD.TXT";
  if (auto found = findCaseless(dir, name); found && isRegularFile(*found)) return *found;
  return dir / name;
}

std::string padCourseName(std::string_view courseCode) {
  static constexpr std::string_view kCodes[] = {"01", "02", "03", "04", "05", "06", "07", "08", "09", "10"};
  for (std::size_t i = 0; i < std::size(kCodes); ++i) {
    if (courseCode == kCodes[i]) return midChars(kCourseNamesText, static_cast<long>(2 * i + 1), 2);
  }
  return "(^^;";
}

std::string padSubjectDate(const Session& session) {
  return session.meetingYear() + "年" + twoCharNumber(valInt(session.meetingMonth())) + "月" +
         twoCharNumber(valInt(session.meetingDay())) + "日";
}

std::vector<std::string> padListingBody(const std::vector<std::string>& listing, int raceOutFlag,
                                        std::string* lastWritten) {
  std::vector<std::string> body;
  bool skipping = false;  // late edition: inside races 1-3
  for (const auto& line : listing) {
    // A short line (the listing's final empty line) ends the body.
    if (lenChars(line) < 10) break;
    const auto race = headingRaceNumber(line);
    if (raceOutFlag == 1 && race && *race > 3) break;
    if (raceOutFlag == 2) {
      // Only a race heading ends the skip, so that no pick of races 1-3 is
      // ever posted without its heading.
      if (race) skipping = *race < 4;
      if (skipping) continue;
    }
    body.push_back(line);
  }
  if (lastWritten) *lastWritten = body.empty() ? std::string() : body.back();
  return body;
}

StepResult writePadFile(Session& session, UserInterface& ui, fs::path* written) {
  const PadSettings pad = LoadPadSettings(session);

  std::vector<fs::path> listings = listFiles(session.outPutFolder(), "W" + session.meetingDate() + "_??.TXT");
  if (listings.size() > 3) listings.resize(3);
  if (listings.empty()) {
    ui.inform(kPadNoListingMessage);
    return StepResult::Failed;
  }

  BusyScope busy(ui);
  PadWriter writer(session, pad);
  StepResult result = StepResult::Done;

  for (const auto& listingPath : listings) {
    std::vector<std::string> listing;
    if (!readLines(listingPath, listing, ui)) return StepResult::Failed;
    const std::string courseAndDate = padCourseName(rightChars(listingPath.stem().string(), 2)) + " " + writer.date();
    const std::size_t count =
        writer.addListing("SUB:《トルブ万券》  " + courseAndDate + listingEdition(pad.raceOutFlag), listing);
    if (count + kPadFrameLines > static_cast<std::size_t>(kPadMessageLineLimit)) {
      const Answer a =
          ui.ask("『" + courseAndDate + "』のＰＡＤファイル行数が３００行を超えています！\r\n\r\n続けますか？\r\n",
                 kPadLineCheckTitle, Buttons::OkCancel, Answer::Ok);
      if (a != Answer::Ok) {
        result = StepResult::Cancelled;
        break;
      }
    }
  }

  if (result == StepResult::Done) {
    const struct {
      fs::path path;
      std::string subject;
      std::string_view greeting;
    } files[] = {
        {tolvWarsPath(session), "SUB:《トルブ》  " + writer.date() + "    WARS形式" + writer.editionSuffix(), {}},
        {piruneTextPath(session), "SUB:《ぴるね》  " + writer.date() + writer.editionSuffix(), kPiruneTextGreeting},
        {piruneWarsPath(session), "SUB:《ぴるね》  " + writer.date() + "    WARS形式" + writer.editionSuffix(),
         kPiruneWarsGreeting},
    };
    for (const auto& f : files) {
      const auto path = existingFile(f.path);
      if (!path) continue;  // a file not written today is no error
      std::vector<std::string> lines;
      if (!readLines(*path, lines, ui)) return StepResult::Failed;
      writer.addFile(f.subject, f.greeting, lines);
    }
  }

  const fs::path target = padFilePath(session, pad);
  std::string bytes;
  std::string error;
  if (pad.autopilot() && isRegularFile(target)) {
    // PAD.PAD grows run by run: the old bytes as they are, then this run's.
    auto old = readFile(target, &error);
    if (!old) {
      ui.inform("ＰＡＤファイルを読み込めません：" + target.string() + "\r\n" + error, kErrorTitle, Icon::Critical);
      return StepResult::Failed;
    }
    bytes = std::move(*old);
  }
  bytes += encodeTextLines(writer.lines());
  if (!writeFileAtomic(target, bytes, &error)) {
    ui.inform("ＰＡＤファイルを書き込めません：" + target.string() + "\r\n" + error, kErrorTitle, Icon::Critical);
    return StepResult::Failed;
  }
  if (written) *written = target;

  if (result == StepResult::Done && pad.padEdit == 1) ui.openWithShell(target.string());
  return result;
}

}  // namespace tolv
