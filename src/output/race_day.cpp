#include "output/race_day.h"

#include "aggregate/tolv_creation.h"
#include "core/schedule.h"
#include "core/startup.h"
#include "odds/mjh.h"
#include "odds/odds_import.h"
#include "output/tolv_text.h"
#include "output/tolv_wars.h"

namespace tolv {

bool checkMeetingSchedule(Session& s) {
  return ensureMeetingSchedule(s, [](Session& session) { ConvertMjhData(session); });
}

namespace {

// Odds import, then the listing, which is written even when the import
// stopped with one of its messages; the step then reports that stop.
StepResult importOddsAndWriteListing(Session& s, UserInterface& ui, RaceDayOutputs* out) {
  StepResult odds = importOdds(s, ui);
  // A step the user stopped writes nothing more.
  if (odds == StepResult::Cancelled && ui.stopRequested()) return odds;
  StepResult text = writeTolvText(s, ui, out ? &out->listings : nullptr);
  return odds == StepResult::Done ? text : odds;
}

}  // namespace

StepResult createTolv(Session& s, UserInterface& ui, RaceDayOutputs* out) {
  if (!isRegularFile(s.cutIndexPath())) {
    ui.inform("『ログの読み込み』が実行されていません！", "【トルブ】エラーメッセージ", Icon::Critical);
    return StepResult::Failed;
  }
  checkMeetingSchedule(s);
  StepResult r = aggregatePicks(s, ui);
  if (r != StepResult::Done) return r;
  return importOddsAndWriteListing(s, ui, out);
}

StepResult reloadOdds(Session& s, UserInterface& ui, RaceDayOutputs* out) {
  if (findTolvDataFiles(s) == 0) return StepResult::Cancelled;
  return importOddsAndWriteListing(s, ui, out);
}

StepResult rebuildListing(Session& s, UserInterface& ui, RaceDayOutputs* out) {
  if (findTolvDataFiles(s) == 0) return StepResult::Cancelled;
  checkMeetingSchedule(s);
  return writeTolvText(s, ui, out ? &out->listings : nullptr);
}

StepResult outputWars(Session& s, UserInterface& ui, RaceDayOutputs* out) {
  if (findTolvDataFiles(s) == 0) {
    ui.inform("「トルブ」ファイルが見つかりません！\r\n先に［トルブ作成］を実行してください…", "【トルブ】WARS形式出力エラー",
              Icon::Critical);
    return StepResult::Failed;
  }
  checkMeetingSchedule(s);
  return writeTolvWars(s, ui, out ? &out->wars : nullptr);
}

}  // namespace tolv
