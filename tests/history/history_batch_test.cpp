// The batch run's 履歴取り込み: off by default, read from the section 一括処理,
// run last, importing the processing day.

#include <gtest/gtest.h>

#include "core/profile.h"
#include "history_fixture.h"
#include "output/batch_run.h"

namespace tolv {
namespace {

using testing::HistoryHome;

TEST(HistoryBatch, ImportsTheDayLastWhenChosen) {
  HistoryHome h;
  EXPECT_FALSE(loadBatchSettings(h.session).history);
  ASSERT_TRUE(writeProfileString(h.session.iniFilePath(), "一括処理", "履歴取り込み", "True"));
  BatchChoices choices = loadBatchSettings(h.session);
  ASSERT_TRUE(choices.history);
  choices.forumOdds = choices.logs = choices.tolv = choices.wars = choices.pirune = false;

  BatchSteps steps;
  steps.history = importProcessingDay;
  h.writeDay(h.session.meetingDate(), {{"0100", "0501", {"01-02"}}}, {});
  const BatchOutcome out = RunBatch(h.session, h.ui, choices, steps);
  ASSERT_EQ(out.ran.size(), 1u);
  EXPECT_EQ(out.ran[0].step, BatchStep::History);
  EXPECT_EQ(out.ran[0].result, StepResult::Done);
  EXPECT_EQ(batchStepKey(BatchStep::History), "履歴取り込み");
  auto db = HistoryDb::open(historyDbPath(h.session), HistoryDb::Mode::ReadOnly);
  ASSERT_TRUE(db);
  ASSERT_EQ(db->days().size(), 1u);
  EXPECT_FALSE(db->days()[0].hasResults());

  // A day without a cut index fails the step with its message.
  fs::remove(h.data(h.session.meetingDate() + ".DAT"));
  EXPECT_EQ(RunBatch(h.session, h.ui, choices, steps).ran[0].result, StepResult::Failed);
}

TEST(HistoryBatch, SavingLeavesTheKeyOutUntilUsed) {
  HistoryHome h;
  BatchForm form = openBatchForm(h.session);
  SaveBatchSettings(h.session, form);
  EXPECT_EQ(readProfileString(h.session.iniFilePath(), "一括処理", "履歴取り込み"), "");
  form.choices.history = true;
  SaveBatchSettings(h.session, form);
  EXPECT_TRUE(loadBatchSettings(h.session).history);
  form.choices.history = false;
  SaveBatchSettings(h.session, form);
  EXPECT_EQ(readProfileString(h.session.iniFilePath(), "一括処理", "履歴取り込み"), "False");
}

}  // namespace
}  // namespace tolv
