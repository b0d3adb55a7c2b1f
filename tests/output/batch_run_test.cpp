// The batch run: its section of TOLV.INI, the reserved time, the wait and the
// order of the steps.

#include "output/batch_run.h"

#include <gtest/gtest.h>

#include "core/profile.h"
#include "output/output_fixture.h"

namespace tolv {
namespace {

using testing::OutputDay;
using testing::pickRecord;
using testing::RecordingUi;

constexpr std::string_view kHoursMessage = "時間（hh）は ００～２３ の範囲で記載してください！";
constexpr std::string_view kMinutesMessage = "分（mm）は ００～５９ の範囲で記載してください！";
constexpr std::string_view kSecondsMessage = "秒（ss）は ００～５９ の範囲で記載してください！";

Date day(int y, unsigned m, unsigned d) {
  return Date{std::chrono::year{y}, std::chrono::month{m}, std::chrono::day{d}};
}

// A clock that moves `step` seconds at every wait and gives up after `limit`
// waits.
class FakeClock : public BatchClock {
 public:
  FakeClock(int hour, int minute, int second, int step = 1)
      : seconds_(hour * 3600 + minute * 60 + second), step_(step) {}
  ClockReading now() override { return {date_, seconds_}; }
  bool wait() override {
    ++waits;
    seconds_ += step_;
    if (seconds_ >= 86400) {
      seconds_ -= 86400;
      date_ = day(2002, 5, 13);
    }
    return waits <= limit;
  }
  int waits = 0;
  int limit = 1000000;

 private:
  Date date_ = day(2002, 5, 12);
  int seconds_;
  int step_;
};

// Stub steps that record their names and the batch mode they ran in.
struct StepLog {
  std::vector<std::string> calls;
  std::vector<int> modes;
  StepResult logsResult = StepResult::Done;

  BatchStepFunction step(std::string name, StepResult r = StepResult::Done) {
    return [this, name, r](Session& s, UserInterface&) {
      calls.push_back(name);
      modes.push_back(s.batchRunning);
      return r;
    };
  }
  BatchSteps steps() {
    BatchSteps st;
    st.forumOdds = step("forumOdds");
    st.logs = [this](Session& s, UserInterface&) {
      calls.push_back("logs");
      modes.push_back(s.batchRunning);
      return logsResult;
    };
    st.tolv = step("tolv");
    st.wars = step("wars");
    st.pirune = step("pirune");
    st.pad = [this](Session& s, UserInterface&, fs::path* written) {
      calls.push_back("pad");
      modes.push_back(s.batchRunning);
      if (written) *written = "PAD.PAD";
      return StepResult::Done;
    };
    return st;
  }
};

BatchChoices allSteps() {
  BatchChoices c;
  c.forumOdds = c.logs = c.tolv = c.wars = c.pirune = c.pad = true;
  return c;
}

BatchChoices noSteps() {
  BatchChoices c;
  c.forumOdds = c.logs = c.tolv = c.wars = c.pirune = c.pad = false;
  return c;
}

class Batch : public ::testing::Test {
 protected:
  void writeSection(const std::vector<std::pair<std::string, std::string>>& keys) {
    for (const auto& [k, v] : keys) ASSERT_TRUE(writeProfileString(ini(), kBatchSection, k, v));
  }
  fs::path ini() const { return day.session.iniFilePath(); }
  std::string stored(std::string_view key) const { return readProfileString(ini(), kBatchSection, key); }
  void addTolvFile() { day.addMeeting("05", {pickRecord("0501", "03-07", "  12.3", 3)}); }

  OutputDay day;
  Session& session = day.session;
  RecordingUi ui;
  StepLog log;
};

TEST_F(Batch, ReservationTextFollowsOneRule) {
  struct Case {
    std::string text;
    std::optional<TimeOfDay> time;
    ReservationField bad = ReservationField::Hours;
  };
  const std::vector<Case> cases = {
      {"09:45:00", TimeOfDay{9, 45, 0}},
      {"00:00:00", TimeOfDay{0, 0, 0}},
      {"23:59:59", TimeOfDay{23, 59, 59}},
      {"24:00:00", std::nullopt, ReservationField::Hours},
      {"99:00:00", std::nullopt, ReservationField::Hours},
      {"12:60:00", std::nullopt, ReservationField::Minutes},
      {"12:00:60", std::nullopt, ReservationField::Seconds},
      // Texts of another form fail where they break the layout.
      {"9:45:00", std::nullopt, ReservationField::Hours},
      {" 9:45:00", std::nullopt, ReservationField::Hours},
      {"ab:45:00", std::nullopt, ReservationField::Hours},
      {"", std::nullopt, ReservationField::Hours},
      {"09", std::nullopt, ReservationField::Minutes},
      {"09-45-00", std::nullopt, ReservationField::Minutes},
      {"09:4:500", std::nullopt, ReservationField::Minutes},
      {"09:45", std::nullopt, ReservationField::Seconds},
      {"09:45:0", std::nullopt, ReservationField::Seconds},
      {"09:45:000", std::nullopt, ReservationField::Seconds},
      {"094500", std::nullopt, ReservationField::Minutes},
  };
  for (const Case& c : cases) {
    // Start from another field than the expected one, so the result is seen.
    ReservationField bad = c.bad == ReservationField::Seconds ? ReservationField::Hours : ReservationField::Seconds;
    auto t = parseReservationText(c.text, &bad);
    EXPECT_EQ(t, c.time) << '"' << c.text << '"';
    if (!c.time) {
      EXPECT_EQ(bad, c.bad) << '"' << c.text << '"';
    }
  }
  EXPECT_EQ(reservationMessage(ReservationField::Hours), kHoursMessage);
  EXPECT_EQ(reservationMessage(ReservationField::Minutes), kMinutesMessage);
  EXPECT_EQ(reservationMessage(ReservationField::Seconds), kSecondsMessage);

  TimeOfDay t{7, 5, 9};
  EXPECT_EQ(t.digits(), "070509");
  EXPECT_EQ(t.text(), "07:05:09");
}

TEST_F(Batch, StoredReservationOutOfRangeReadsAsDefault) {
  EXPECT_EQ(parseStoredReservation("094500"), (TimeOfDay{9, 45, 0}));
  EXPECT_EQ(parseStoredReservation("235959"), (TimeOfDay{23, 59, 59}));
  for (const char* bad : {"254500", "240000", "126000", "120060", "09450", "0945000", "ab0000", "09:45:00", ""}) {
    EXPECT_FALSE(parseStoredReservation(bad)) << bad;
  }

  writeSection({{"予約時間", "254500"}});
  BatchForm form = openBatchForm(session);
  EXPECT_EQ(form.choices.reservation, (TimeOfDay{9, 45, 0}));
  EXPECT_EQ(form.timeText, "09:45:00");

  writeSection({{"予約時間", "103005"}});
  EXPECT_EQ(openBatchForm(session).timeText, "10:30:05");
}

TEST_F(Batch, SectionFlagsAndTheirDefaults) {
  // No section: the steps on, automatic end and PAD off.
  session.settings.oddsSource = "2";
  BatchChoices c = loadBatchSettings(session);
  EXPECT_TRUE(c.forumOdds && c.logs && c.tolv && c.wars && c.pirune);
  EXPECT_FALSE(c.autoClose || c.pad);

  // Anything but "False" turns a step on; only "True" turns the last two on.
  writeSection({{"WARSオッズ変換", "False"},
                {"ログ読み込み", "false"},
                {"トルブ作成", "False"},
                {"WARS出力", "0"},
                {"ぴるね作成", "False"},
                {"自動終了", "true"},
                {"PAD作成", "True"}});
  c = loadBatchSettings(session);
  EXPECT_FALSE(c.forumOdds);
  EXPECT_TRUE(c.logs);
  EXPECT_FALSE(c.tolv);
  EXPECT_TRUE(c.wars);
  EXPECT_FALSE(c.pirune);
  EXPECT_FALSE(c.autoClose);
  EXPECT_TRUE(c.pad);
}

TEST_F(Batch, ForumOddsFlagIsReadOnlyForForumOdds) {
  writeSection({{"WARSオッズ変換", "True"}});
  session.settings.oddsSource = "1";
  EXPECT_FALSE(loadBatchSettings(session).forumOdds);  // a fresh program's flag
  BatchChoices previous;
  previous.forumOdds = true;
  EXPECT_TRUE(loadBatchSettings(session, previous).forumOdds);  // kept as it was

  writeSection({{"WARSオッズ変換", "False"}});
  EXPECT_TRUE(loadBatchSettings(session, previous).forumOdds);
  session.settings.oddsSource = "2";
  EXPECT_FALSE(loadBatchSettings(session, previous).forumOdds);
}

TEST_F(Batch, OpeningAndSavingTheWindow) {
  session.batchRunning = kBatchIdle;
  EXPECT_FALSE(openBatchForm(session).timer);
  EXPECT_EQ(session.batchRunning, kBatchAtOnce);
  session.batchRunning = kBatchTimer;
  EXPECT_TRUE(openBatchForm(session).timer);
  EXPECT_EQ(session.batchRunning, kBatchTimer);

  BatchForm form;
  form.choices = allSteps();
  form.choices.wars = false;
  form.choices.autoClose = true;
  form.timer = true;
  form.timeText = "10:30:05";
  session.batchRunning = kBatchAtOnce;
  bool ok = false;
  BatchChoices saved = SaveBatchSettings(session, form, &ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(session.batchRunning, kBatchTimer);
  EXPECT_EQ(stored("予約時間"), "103005");
  EXPECT_EQ(stored("WARS出力"), "False");
  EXPECT_EQ(stored("ログ読み込み"), "True");
  EXPECT_EQ(stored("自動終了"), "True");
  EXPECT_EQ(stored("PAD作成"), "True");
  EXPECT_EQ(stored("WARSオッズ変換"), "True");
  session.settings.oddsSource = "2";
  EXPECT_EQ(loadBatchSettings(session), saved);

  // A time the start button refuses is not stored either.
  form.timer = false;
  for (const char* bad : {"24:00:00", "12:60:00", "12:00:60", "9:45:00", "09:45:0", "09.45.00"}) {
    writeProfileString(ini(), kBatchSection, "予約時間", "103005");
    form.timeText = bad;
    EXPECT_EQ(SaveBatchSettings(session, form).reservation, (TimeOfDay{9, 45, 0})) << bad;
    EXPECT_EQ(stored("予約時間"), "094500") << bad;
    EXPECT_EQ(session.batchRunning, kBatchAtOnce);
  }
}

TEST_F(Batch, RunsTheChosenStepsInOrderWithBatchModeSet) {
  addTolvFile();
  session.batchRunning = kBatchIdle;
  BatchOutcome out = RunBatch(session, ui, allSteps(), log.steps());
  EXPECT_FALSE(out.failed);
  EXPECT_EQ(out.message, "");
  EXPECT_EQ(log.calls, (std::vector<std::string>{"forumOdds", "logs", "tolv", "wars", "pirune", "pad"}));
  for (int mode : log.modes) EXPECT_EQ(mode, kBatchAtOnce);
  EXPECT_EQ(session.batchRunning, kBatchIdle);  // restored after the run
  EXPECT_EQ(out.padFile, fs::path("PAD.PAD"));
  ASSERT_EQ(out.ran.size(), 6u);
  EXPECT_EQ(out.ran[3].step, BatchStep::Wars);
  EXPECT_EQ(batchStepKey(out.ran[3].step), "WARS出力");
  EXPECT_TRUE(ui.messages.empty());

  // Only the chosen steps; a step that fails lets the run go on; the timer
  // mode is left as it is.
  StepLog second;
  second.logsResult = StepResult::Failed;
  BatchChoices some = noSteps();
  some.logs = some.pirune = some.pad = true;
  session.batchRunning = kBatchTimer;
  out = RunBatch(session, ui, some, second.steps());
  EXPECT_FALSE(out.failed);
  EXPECT_TRUE(out.anyStepFailed());
  EXPECT_EQ(second.calls, (std::vector<std::string>{"logs", "pirune", "pad"}));
  for (int mode : second.modes) EXPECT_EQ(mode, kBatchTimer);
  EXPECT_EQ(session.batchRunning, kBatchTimer);
}

// Each step run keeps the last message it showed, so that a step that stopped
// is reported with its message; the messages still reach the front end.
TEST_F(Batch, AStepThatStoppedKeepsItsMessage) {
  addTolvFile();
  BatchSteps steps = log.steps();
  steps.tolv = [](Session&, UserInterface& ui) {
    ui.inform("first", "t", Icon::Critical);
    ui.inform("「Target」用ＣＳＶ形式オッズファイルが見つかりません！");
    return StepResult::Failed;
  };
  BatchChoices c = noSteps();
  c.logs = c.tolv = c.wars = true;
  BatchOutcome out = RunBatch(session, ui, c, steps);
  EXPECT_FALSE(out.failed);
  EXPECT_TRUE(out.anyStepFailed());
  ASSERT_EQ(out.ran.size(), 3u);
  EXPECT_EQ(out.ran[0].message, "");
  EXPECT_EQ(out.ran[1].step, BatchStep::Tolv);
  EXPECT_EQ(out.ran[1].result, StepResult::Failed);
  EXPECT_EQ(out.ran[1].message, "「Target」用ＣＳＶ形式オッズファイルが見つかりません！");
  EXPECT_EQ(out.ran[2].result, StepResult::Done);
  EXPECT_EQ(out.ran[2].message, "");  // not carried over to the next step
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].title, "t");
  EXPECT_EQ(ui.messages[0].icon, Icon::Critical);
}

TEST_F(Batch, StopsAtTheWarsStepWhenNoMeetingIsFound) {
  session.batchRunning = kBatchAtOnce;
  FakeClock clock(10, 0, 0);
  BatchOutcome out;
  EXPECT_EQ(startBatch(session, ui, allSteps(), {}, clock, log.steps(), {}, &out), StepResult::Failed);
  EXPECT_TRUE(out.failed);
  EXPECT_EQ(out.message, kBatchNoMeetingMessage);
  EXPECT_EQ(log.calls, (std::vector<std::string>{"forumOdds", "logs", "tolv"}));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "開催場所が把握出来なかったため一括処理を中止しました！");
  EXPECT_EQ(ui.messages[0].title, "【トルブ】一括処理エラー");
  EXPECT_EQ(ui.messages[0].icon, Icon::Critical);
  EXPECT_EQ(session.batchRunning, kBatchAtOnce);  // a failed run leaves the mode

  // The day's files are looked for after Tolv creation has written them.
  StepLog second;
  BatchSteps steps = second.steps();
  steps.tolv = [&](Session&, UserInterface&) {
    second.calls.push_back("tolv");
    addTolvFile();
    return StepResult::Done;
  };
  EXPECT_EQ(startBatch(session, ui, allSteps(), {}, clock, steps), StepResult::Done);
  EXPECT_EQ(second.calls, (std::vector<std::string>{"forumOdds", "logs", "tolv", "wars", "pirune", "pad"}));
  EXPECT_EQ(session.batchRunning, kBatchIdle);
  EXPECT_EQ(clock.waits, 0);
}

TEST_F(Batch, WaitsForTheReservedTime) {
  FakeClock clock(9, 44, 57);
  std::vector<int> countdown;
  EXPECT_TRUE(waitForReservation(clock, {9, 45, 0}, [&](int left) { countdown.push_back(left); }));
  EXPECT_EQ(clock.waits, 3);
  // The last report, 0, says the time has come.
  EXPECT_EQ(countdown, (std::vector<int>{3, 2, 1, 0}));

  // The time itself and a time already passed start at once.
  for (TimeOfDay target : {TimeOfDay{9, 45, 0}, TimeOfDay{9, 44, 59}, TimeOfDay{0, 0, 0}}) {
    FakeClock at(9, 45, 0);
    EXPECT_TRUE(waitForReservation(at, target));
    EXPECT_EQ(at.waits, 0);
  }

  // A clock that skips the target second still ends the wait, also across
  // midnight.
  FakeClock coarse(9, 44, 58, 5);
  EXPECT_TRUE(waitForReservation(coarse, {9, 45, 0}));
  EXPECT_EQ(coarse.waits, 1);
  FakeClock late(23, 59, 57, 5);
  EXPECT_TRUE(waitForReservation(late, {23, 59, 59}));
  EXPECT_EQ(late.waits, 1);

  FakeClock givesUp(9, 0, 0);
  givesUp.limit = 2;
  EXPECT_FALSE(waitForReservation(givesUp, {9, 45, 0}));
  EXPECT_EQ(givesUp.waits, 3);
}

TEST_F(Batch, TimerStartsAtTheReservedTimeOrAtOnce) {
  addTolvFile();
  // Reserving 09:45:00 at 10:00:00 runs at once.
  FakeClock past(10, 0, 0);
  EXPECT_EQ(startBatch(session, ui, allSteps(), {true, "09:45:00"}, past, log.steps()), StepResult::Done);
  EXPECT_EQ(past.waits, 0);
  EXPECT_EQ(log.calls.size(), 6u);
  for (int mode : log.modes) EXPECT_EQ(mode, kBatchTimer);
  EXPECT_EQ(session.batchRunning, kBatchIdle);

  StepLog later;
  FakeClock before(9, 44, 50);
  EXPECT_EQ(startBatch(session, ui, allSteps(), {true, "09:45:00"}, before, later.steps()), StepResult::Done);
  EXPECT_EQ(before.waits, 10);
  EXPECT_EQ(later.calls.size(), 6u);

  // A wait given up runs nothing.
  StepLog none;
  FakeClock givesUp(9, 0, 0);
  givesUp.limit = 0;
  EXPECT_EQ(startBatch(session, ui, allSteps(), {true, "09:45:00"}, givesUp, none.steps()), StepResult::Cancelled);
  EXPECT_TRUE(none.calls.empty());
  EXPECT_TRUE(ui.messages.empty());

  // Every step off: nothing runs and the run counts as done.
  EXPECT_EQ(startBatch(session, ui, noSteps(), {}, past, none.steps()), StepResult::Done);
  EXPECT_TRUE(none.calls.empty());
}

TEST_F(Batch, TimerRefusesAWrongTimeBeforeWaiting) {
  addTolvFile();
  const std::vector<std::pair<std::string, std::string_view>> cases = {
      {"24:00:00", kHoursMessage}, {"12:60:00", kMinutesMessage}, {"12:00:60", kSecondsMessage},
      {"9:45:00", kHoursMessage},  {"09:45:0", kSecondsMessage},
  };
  for (const auto& [text, message] : cases) {
    RecordingUi refusing;
    FakeClock clock(9, 0, 0);
    session.batchRunning = kBatchAtOnce;
    EXPECT_EQ(startBatch(session, refusing, allSteps(), {true, text}, clock, log.steps()), StepResult::Failed);
    ASSERT_EQ(refusing.messages.size(), 1u) << text;
    EXPECT_EQ(refusing.messages[0].text, message);
    EXPECT_EQ(refusing.messages[0].title, "タイマー予約の時刻設定不正！");
    EXPECT_EQ(refusing.messages[0].icon, Icon::Critical);
    EXPECT_EQ(clock.waits, 0);
    EXPECT_EQ(session.batchRunning, kBatchTimer);
  }
  EXPECT_TRUE(log.calls.empty());
  // The same text runs at once from the other button: it is not read there.
  FakeClock clock(9, 0, 0);
  EXPECT_EQ(startBatch(session, ui, noSteps(), {false, "24:00:00"}, clock, log.steps()), StepResult::Done);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Batch, StandardStepsOnADayWithoutLogs) {
  // The program's own steps on an empty home: extraction and Tolv creation
  // report their failures and the run stops at the WARS step.
  int padCalls = 0;
  BatchSteps steps = standardBatchSteps([&](Session&, UserInterface&, fs::path*) {
    ++padCalls;
    return StepResult::Done;
  });
  BatchChoices c = allSteps();
  c.forumOdds = false;
  FakeClock clock(10, 0, 0);
  BatchOutcome out;
  EXPECT_EQ(startBatch(session, ui, c, {}, clock, steps, {}, &out), StepResult::Failed);
  ASSERT_EQ(out.ran.size(), 2u);
  EXPECT_EQ(out.ran[0].step, BatchStep::Logs);
  EXPECT_EQ(out.ran[1].step, BatchStep::Tolv);
  EXPECT_EQ(out.ran[1].result, StepResult::Failed);
  ASSERT_FALSE(ui.messages.empty());
  EXPECT_EQ(ui.messages.back().text, kBatchNoMeetingMessage);
  EXPECT_EQ(ui.messages.back().title, kBatchErrorTitle);
  EXPECT_EQ(padCalls, 0);
  EXPECT_EQ(ui.busyDepth, 0);
}

}  // namespace
}  // namespace tolv
