#pragma once
// The batch run: the day's routine unattended, at once or at a reserved time
// of day. The chosen steps run in a fixed order - forum odds conversion, log
// extraction, Tolv creation, WARS-format output, Pirune creation, PAD file -
// each only when its flag is on. The choices and the reserved time are kept in
// TOLV.INI, section "一括処理", as "True"/"False" and six digits "hhmmss".
//
// The batch window of the desktop program and tolv-cli's `batch` share all of
// it: loading and saving the section (with one rule for the reserved time:
// "hh:mm:ss", hh 00-23, mm and ss 00-59, the same when saving and when
// starting), the wait for the reserved time through an injectable clock, and
// RunBatch itself.

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dates.h"
#include "core/files.h"
#include "core/session.h"
#include "core/ui.h"

namespace tolv {

// Session::batchRunning: no batch window in use, run at once, timer reservation.
inline constexpr int kBatchIdle = 0;
inline constexpr int kBatchAtOnce = 1;
inline constexpr int kBatchTimer = 2;

inline constexpr std::string_view kBatchSection = "一括処理";
inline constexpr std::string_view kBatchErrorTitle = "【トルブ】一括処理エラー";
inline constexpr std::string_view kBatchNoMeetingMessage = "開催場所が把握出来なかったため一括処理を中止しました！";
inline constexpr std::string_view kReservationErrorTitle = "タイマー予約の時刻設定不正！";
// The reserved time when none (or no valid one) is stored.
inline constexpr std::string_view kDefaultReservation = "094500";

// A time of day.
struct TimeOfDay {
  int hour = 0, minute = 0, second = 0;
  int secondsOfDay() const { return hour * 3600 + minute * 60 + second; }
  std::string digits() const;  // "094500", as stored
  std::string text() const;    // "09:45:00", as the window shows it
  friend bool operator==(const TimeOfDay&, const TimeOfDay&) = default;
};

// A stored "予約時間": exactly six digits with hours 00-23, minutes and
// seconds 00-59. nullopt otherwise (the caller then uses 09:45:00).
std::optional<TimeOfDay> parseStoredReservation(std::string_view six);

// The field of a reservation text that is wrong.
enum class ReservationField { Hours, Minutes, Seconds };

// The window's time text: exactly "hh:mm:ss", each part two digits, hh
// 00-23, mm and ss 00-59. On failure `bad` receives the first part that is
// not two digits in range at its place (a text of another length or with
// other separators fails at the first part whose place it breaks: "9:45:00"
// at the hours, "09:45:0" at the seconds).
std::optional<TimeOfDay> parseReservationText(std::string_view text, ReservationField* bad = nullptr);

// The message for a wrong field, shown under kReservationErrorTitle.
std::string_view reservationMessage(ReservationField field);

// The choices of the batch window.
struct BatchChoices {
  bool forumOdds = false;           // "WARSオッズ変換": off in a fresh program, see loadBatchSettings
  bool logs = true;                 // "ログ読み込み"
  bool tolv = true;                 // "トルブ作成"
  bool wars = true;                 // "WARS出力"
  bool pirune = true;               // "ぴるね作成"
  bool autoClose = false;           // "自動終了": close the program after a successful run
  bool pad = false;                 // "PAD作成"
  bool history = false;             // "履歴取り込み": import the day into the history database at the end
  TimeOfDay reservation{9, 45, 0};  // "予約時間"
  friend bool operator==(const BatchChoices&, const BatchChoices&) = default;
};

// Reads the section as the window does when it opens. Missing keys give the
// table's values: the steps on (anything but "False" is on), "自動終了" and
// "PAD作成" off (only "True" is on), the time 09:45:00 (also for a stored time
// that is not valid). The forum-odds flag is read only while the odds source
// is "2"; otherwise it keeps `previous.forumOdds`, the flag as it was.
BatchChoices loadBatchSettings(const Session& session, const BatchChoices& previous = {});

// What the batch window holds: the check boxes, the option buttons and the
// time text.
struct BatchForm {
  BatchChoices choices;
  bool timer = false;    // "タイマー予約" selected, else "すぐに実行"
  std::string timeText;  // Text1, "hh:mm:ss"
};

// Opening the window: the choices from the section (see loadBatchSettings);
// "タイマー予約" selected when BatchRunning is 2, otherwise BatchRunning
// becomes 1 and "すぐに実行" is selected; the time as "hh:mm:ss".
BatchForm openBatchForm(Session& session, const BatchChoices& previous = {});

// SaveBatchSettings: BatchRunning becomes 2 with "タイマー予約" selected, else
// 1; the flags and the time text go to the section ("094500" when the text is
// not a valid reservation, see parseReservationText). Returns the choices as
// saved; false in *ok (with *error) when TOLV.INI cannot be written.
BatchChoices SaveBatchSettings(Session& session, const BatchForm& form, bool* ok = nullptr,
                               std::string* error = nullptr);

// --- the wait ---------------------------------------------------------------

struct ClockReading {
  Date date;
  int secondsOfDay = 0;
};

// The clock the wait reads, and the pause between two readings. The desktop
// program lets its event loop run in wait(); tolv-cli sleeps; tests advance a
// fake time.
class BatchClock {
 public:
  virtual ~BatchClock() = default;
  virtual ClockReading now() = 0;
  // Lets a moment pass. False gives the wait up.
  virtual bool wait() = 0;
};

// The local wall clock, pausing `tick` in wait().
class SystemBatchClock : public BatchClock {
 public:
  explicit SystemBatchClock(std::chrono::milliseconds tick = std::chrono::milliseconds(200)) : tick_(tick) {}
  ClockReading now() override;
  bool wait() override;

 private:
  std::chrono::milliseconds tick_;
};

// Called while waiting with the seconds still to wait, and once with 0 when
// a wait has reached its time (just before the run).
using BatchCountdown = std::function<void(int secondsLeft)>;

// Waits until the clock reaches `target` on the day the wait began. A target
// not later than the current time starts at once (there is no waiting into
// the next day), and a wait that passes midnight ends there. True when the
// time has come; false when clock.wait() gave the wait up.
bool waitForReservation(BatchClock& clock, const TimeOfDay& target, const BatchCountdown& countdown = {});

// --- the run ------------------------------------------------------------------

// The steps, in the order they run.
enum class BatchStep { ForumOdds, Logs, Tolv, Wars, Pirune, Pad, History };
// The step's key in the section ("WARSオッズ変換", ...).
std::string_view batchStepKey(BatchStep step);

using BatchStepFunction = std::function<StepResult(Session&, UserInterface&)>;
// The PAD file writer: writes the day's PAD file, its path into the last
// argument when not null.
using PadFileStep = std::function<StepResult(Session&, UserInterface&, fs::path*)>;

// What each step does; tests replace them.
struct BatchSteps {
  BatchStepFunction forumOdds;  // forum odds text to PAT98 odds files
  BatchStepFunction logs;       // log extraction with the window's controls from the settings
  BatchStepFunction tolv;       // Tolv creation with its odds import and listing
  BatchStepFunction wars;       // the WARS-format file (run only when the day has Tolv files)
  BatchStepFunction pirune;     // Pirune creation and its files
  PadFileStep pad;              // the PAD file
  BatchStepFunction history;    // the day into the history database (the front ends set it)
};

// The program's steps, with the given PAD file writer.
BatchSteps standardBatchSteps(PadFileStep pad);

struct BatchStepRun {
  BatchStep step;
  StepResult result;
  // The last message the step showed (its text), kept to report a step that
  // stopped with one of its messages.
  std::string message;
};

struct BatchOutcome {
  bool failed = false;
  std::string message;            // empty on success
  std::vector<BatchStepRun> ran;  // the steps run, in order, with their results
  fs::path padFile;               // the PAD file written, if any
  bool stopped = false;           // the user stopped a step; the rest did not run
  // Some step stopped with one of its own messages (the run went on).
  bool anyStepFailed() const;
};

// RunBatch: runs the steps whose flags are on, in order, with BatchRunning set
// (to 1 for the run when it is 0), so that log extraction runs by itself. A
// step that fails reports through its own messages and the run goes on, except
// at the WARS step: when the processing day has no Tolv data file the run stops
// there, failed, with kBatchNoMeetingMessage (earlier steps are not undone).
// RunBatch shows no message of its own; see startBatch.
BatchOutcome RunBatch(Session& session, UserInterface& ui, const BatchChoices& choices, const BatchSteps& steps);

// How a start button starts.
struct BatchStart {
  bool timer = false;    // "タイマー予約" (Command1(0)), else "一括処理開始"
  std::string timeText;  // the time text, for the timer
};

// A start button after the settings are taken and saved: BatchRunning = 1 for
// "一括処理開始"; for "タイマー予約" BatchRunning = 2, the time text is checked
// (its message under kReservationErrorTitle with a critical icon, Failed and
// nothing run when it is wrong) and the clock waited on. Then RunBatch: its
// message is shown under kBatchErrorTitle with a critical icon and BatchRunning
// stays as it is (Failed); on success BatchRunning becomes 0 (Done), and the
// caller closes the program when choices.autoClose is on. Cancelled when the
// wait was given up (nothing run).
StepResult startBatch(Session& session, UserInterface& ui, const BatchChoices& choices, const BatchStart& start,
                      BatchClock& clock, const BatchSteps& steps, const BatchCountdown& countdown = {},
                      BatchOutcome* outcome = nullptr);

}  // namespace tolv
