#include "output/batch_run.h"

#include <ctime>
#include <utility>
#include <thread>

#include "collect/extraction.h"
#include "core/profile.h"
#include "core/startup.h"
#include "odds/forum_odds.h"
#include "output/pirune_output.h"
#include "output/race_day.h"

namespace tolv {

namespace {

constexpr std::string_view kKeyForumOdds = "WARSオッズ変換";
constexpr std::string_view kKeyLogs = "ログ読み込み";
constexpr std::string_view kKeyTolv = "トルブ作成";
constexpr std::string_view kKeyWars = "WARS出力";
constexpr std::string_view kKeyPirune = "ぴるね作成";
constexpr std::string_view kKeyAutoClose = "自動終了";
constexpr std::string_view kKeyPad = "PAD作成";
constexpr std::string_view kKeyHistory = "履歴取り込み";
constexpr std::string_view kKeyReservation = "予約時間";

const TimeOfDay kDefaultTime{9, 45, 0};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Two digits at `pos` of `text` as a number, or -1.
int twoDigits(std::string_view text, std::size_t pos) {
  if (pos + 2 > text.size() || !isDigit(text[pos]) || !isDigit(text[pos + 1])) return -1;
  return (text[pos] - '0') * 10 + (text[pos + 1] - '0');
}

std::string twoDigitText(int n) {
  std::string s(2, '0');
  s[0] = static_cast<char>('0' + n / 10 % 10);
  s[1] = static_cast<char>('0' + n % 10);
  return s;
}

const char* flagText(bool on) { return on ? "True" : "False"; }

// Switches BatchRunning on for the run when it is off, and back afterwards.
class BatchModeScope {
 public:
  explicit BatchModeScope(Session& s) : s_(s), wasIdle_(s.batchRunning == kBatchIdle) {
    if (wasIdle_) s_.batchRunning = kBatchAtOnce;
  }
  ~BatchModeScope() {
    if (wasIdle_) s_.batchRunning = kBatchIdle;
  }
  BatchModeScope(const BatchModeScope&) = delete;
  BatchModeScope& operator=(const BatchModeScope&) = delete;

 private:
  Session& s_;
  bool wasIdle_;
};

}  // namespace

std::string TimeOfDay::digits() const { return twoDigitText(hour) + twoDigitText(minute) + twoDigitText(second); }

std::string TimeOfDay::text() const {
  return twoDigitText(hour) + ":" + twoDigitText(minute) + ":" + twoDigitText(second);
}

std::optional<TimeOfDay> parseStoredReservation(std::string_view six) {
  if (six.size() != 6) return std::nullopt;
  int h = twoDigits(six, 0), m = twoDigits(six, 2), s = twoDigits(six, 4);
  if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59) return std::nullopt;
  return TimeOfDay{h, m, s};
}

std::optional<TimeOfDay> parseReservationText(std::string_view text, ReservationField* bad) {
  auto fail = [&](ReservationField f) -> std::optional<TimeOfDay> {
    if (bad) *bad = f;
    return std::nullopt;
  };
  int h = twoDigits(text, 0);
  if (h < 0 || h > 23) return fail(ReservationField::Hours);
  int m = text.size() > 2 && text[2] == ':' ? twoDigits(text, 3) : -1;
  if (m < 0 || m > 59) return fail(ReservationField::Minutes);
  int s = text.size() == 8 && text[5] == ':' ? twoDigits(text, 6) : -1;
  if (s < 0 || s > 59) return fail(ReservationField::Seconds);
  return TimeOfDay{h, m, s};
}

std::string_view reservationMessage(ReservationField field) {
  switch (field) {
    case ReservationField::Hours:
      return "時間（hh）は ００～２３ の範囲で記載してください！";
    case ReservationField::Minutes:
      return "分（mm）は ００～５９ の範囲で記載してください！";
    case ReservationField::Seconds:
      break;
  }
  return "秒（ss）は ００～５９ の範囲で記載してください！";
}

BatchChoices loadBatchSettings(const Session& session, const BatchChoices& previous) {
  BatchChoices c = previous;
  auto ini = ProfileFile::load(session.iniFilePath());
  auto value = [&](std::string_view key) { return ini ? ini->get(kBatchSection, key) : std::string(); };
  auto onUnlessFalse = [&](std::string_view key) { return value(key) != "False"; };
  auto onOnlyIfTrue = [&](std::string_view key) { return value(key) == "True"; };

  if (session.settings.forumOddsEnabled()) c.forumOdds = onUnlessFalse(kKeyForumOdds);
  c.logs = onUnlessFalse(kKeyLogs);
  c.tolv = onUnlessFalse(kKeyTolv);
  c.wars = onUnlessFalse(kKeyWars);
  c.pirune = onUnlessFalse(kKeyPirune);
  c.autoClose = onOnlyIfTrue(kKeyAutoClose);
  c.pad = onOnlyIfTrue(kKeyPad);
  c.history = onOnlyIfTrue(kKeyHistory);
  c.reservation = parseStoredReservation(value(kKeyReservation)).value_or(kDefaultTime);
  return c;
}

BatchForm openBatchForm(Session& session, const BatchChoices& previous) {
  BatchForm form;
  form.choices = loadBatchSettings(session, previous);
  if (session.batchRunning == kBatchTimer) {
    form.timer = true;
  } else {
    session.batchRunning = kBatchAtOnce;
  }
  form.timeText = form.choices.reservation.text();
  return form;
}

BatchChoices SaveBatchSettings(Session& session, const BatchForm& form, bool* ok, std::string* error) {
  session.batchRunning = form.timer ? kBatchTimer : kBatchAtOnce;
  BatchChoices c = form.choices;
  c.reservation = parseReservationText(form.timeText).value_or(kDefaultTime);

  std::string why;
  bool saved = false;
  if (auto ini = ProfileFile::load(session.iniFilePath(), &why)) {
    ini->set(kBatchSection, kKeyForumOdds, flagText(c.forumOdds));
    ini->set(kBatchSection, kKeyLogs, flagText(c.logs));
    ini->set(kBatchSection, kKeyTolv, flagText(c.tolv));
    ini->set(kBatchSection, kKeyWars, flagText(c.wars));
    ini->set(kBatchSection, kKeyPirune, flagText(c.pirune));
    ini->set(kBatchSection, kKeyAutoClose, flagText(c.autoClose));
    ini->set(kBatchSection, kKeyPad, flagText(c.pad));
    // A newer key: written once it is on or already there, so that the
    // section of a file that never used it stays as it was.
    if (c.history || !ini->get(kBatchSection, kKeyHistory).empty()) {
      ini->set(kBatchSection, kKeyHistory, flagText(c.history));
    }
    ini->set(kBatchSection, kKeyReservation, c.reservation.digits());
    saved = ini->save(&why);
  }
  if (ok) *ok = saved;
  if (error && !saved) *error = why;
  return c;
}

ClockReading SystemBatchClock::now() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  ClockReading r;
  r.date = Date{std::chrono::year{tm.tm_year + 1900}, std::chrono::month{static_cast<unsigned>(tm.tm_mon + 1)},
                std::chrono::day{static_cast<unsigned>(tm.tm_mday)}};
  // A leap second (tm_sec 60) counts as the last second of its minute.
  r.secondsOfDay = tm.tm_hour * 3600 + tm.tm_min * 60 + (tm.tm_sec > 59 ? 59 : tm.tm_sec);
  return r;
}

bool SystemBatchClock::wait() {
  std::this_thread::sleep_for(tick_);
  return true;
}

bool waitForReservation(BatchClock& clock, const TimeOfDay& target, const BatchCountdown& countdown) {
  const int goal = target.secondsOfDay();
  const ClockReading start = clock.now();
  ClockReading now = start;
  bool waited = false;
  while (now.date == start.date && now.secondsOfDay < goal) {
    if (countdown) countdown(goal - now.secondsOfDay);
    waited = true;
    if (!clock.wait()) return false;
    now = clock.now();
  }
  if (waited && countdown) countdown(0);
  return true;
}

std::string_view batchStepKey(BatchStep step) {
  switch (step) {
    case BatchStep::ForumOdds:
      return kKeyForumOdds;
    case BatchStep::Logs:
      return kKeyLogs;
    case BatchStep::Tolv:
      return kKeyTolv;
    case BatchStep::Wars:
      return kKeyWars;
    case BatchStep::Pirune:
      return kKeyPirune;
    case BatchStep::History:
      return kKeyHistory;
    case BatchStep::Pad:
      break;
  }
  return kKeyPad;
}

BatchSteps standardBatchSteps(PadFileStep pad) {
  BatchSteps steps;
  steps.forumOdds = [](Session& s, UserInterface& ui) {
    BusyScope busy(ui);
    return convertForumOdds(s, ui);
  };
  // The extraction window opened in a batch starts by itself with its
  // controls as filled from the settings.
  steps.logs = [](Session& s, UserInterface& ui) {
    return startExtraction(s, ui, extractionFormFromSettings(s.settings));
  };
  steps.tolv = [](Session& s, UserInterface& ui) { return createTolv(s, ui); };
  steps.wars = [](Session& s, UserInterface& ui) { return outputWars(s, ui); };
  steps.pirune = [](Session& s, UserInterface& ui) { return createPirune(s, ui); };
  steps.pad = std::move(pad);
  return steps;
}

bool BatchOutcome::anyStepFailed() const {
  for (const auto& r : ran) {
    if (r.result == StepResult::Failed) return true;
  }
  return false;
}

namespace {

// Passes everything on to the front end and keeps the text of the last
// message shown, so that the run can say what a step stopped with.
class LastMessageKeeper : public ForwardingUserInterface {
 public:
  explicit LastMessageKeeper(UserInterface& ui) : ForwardingUserInterface(ui) {}
  std::string take() { return std::exchange(last_, {}); }

  void inform(std::string_view text, std::string_view title, Icon icon) override {
    last_ = text;
    base_.inform(text, title, icon);
  }

 private:
  std::string last_;
};

}  // namespace

BatchOutcome RunBatch(Session& session, UserInterface& frontEnd, const BatchChoices& choices,
                      const BatchSteps& steps) {
  BatchModeScope mode(session);
  BatchOutcome out;
  LastMessageKeeper ui(frontEnd);
  // False once the user stopped a step: the steps after it do not run.
  auto run = [&](BatchStep step, const BatchStepFunction& f) {
    StepResult r = f ? f(session, ui) : StepResult::Failed;
    out.ran.push_back({step, r, ui.take()});
    out.stopped = r == StepResult::Cancelled && ui.stopRequested();
    return !out.stopped;
  };

  if (choices.forumOdds && !run(BatchStep::ForumOdds, steps.forumOdds)) return out;
  if (choices.logs && !run(BatchStep::Logs, steps.logs)) return out;
  if (choices.tolv && !run(BatchStep::Tolv, steps.tolv)) return out;
  if (choices.wars) {
    if (findTolvDataFiles(session) == 0) {
      out.failed = true;
      out.message = std::string(kBatchNoMeetingMessage);
      return out;
    }
    if (!run(BatchStep::Wars, steps.wars)) return out;
  }
  if (choices.pirune && !run(BatchStep::Pirune, steps.pirune)) return out;
  if (choices.pad) {
    StepResult r = steps.pad ? steps.pad(session, ui, &out.padFile) : StepResult::Failed;
    out.ran.push_back({BatchStep::Pad, r, ui.take()});
  }
  if (choices.history) run(BatchStep::History, steps.history);
  return out;
}

StepResult startBatch(Session& session, UserInterface& ui, const BatchChoices& choices, const BatchStart& start,
                      BatchClock& clock, const BatchSteps& steps, const BatchCountdown& countdown,
                      BatchOutcome* outcome) {
  if (start.timer) {
    session.batchRunning = kBatchTimer;
    ReservationField bad = ReservationField::Hours;
    auto target = parseReservationText(start.timeText, &bad);
    if (!target) {
      ui.inform(reservationMessage(bad), kReservationErrorTitle, Icon::Critical);
      return StepResult::Failed;
    }
    if (!waitForReservation(clock, *target, countdown)) return StepResult::Cancelled;
  } else {
    session.batchRunning = kBatchAtOnce;
  }

  BatchOutcome out = RunBatch(session, ui, choices, steps);
  if (outcome) *outcome = out;
  if (out.stopped) {
    session.batchRunning = kBatchIdle;
    return StepResult::Cancelled;
  }
  if (out.failed) {
    ui.inform(out.message, kBatchErrorTitle, Icon::Critical);
    return StepResult::Failed;
  }
  session.batchRunning = kBatchIdle;
  return StepResult::Done;
}

}  // namespace tolv
