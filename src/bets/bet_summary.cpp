#include "bets/bet_summary.h"

#include "core/numformat.h"
#include "core/pending_bet.h"
#include "core/text.h"

namespace tolv {

long PendingBetSummary::totalCount() const {
  long n = 0;
  for (const auto& b : buckets) n += b.count;
  return n;
}

long PendingBetSummary::totalSum() const {
  long n = 0;
  for (const auto& b : buckets) n += b.sum;
  return n;
}

std::string PendingBetSummary::countLabel(std::size_t i) const {
  return classicStr(i < buckets.size() ? buckets[i].count : totalCount());
}

std::string PendingBetSummary::sumLabel(std::size_t i) const {
  if (i < buckets.size()) return formatNumber(static_cast<double>(buckets[i].sum), "#,##0");
  return formatNumber(static_cast<double>(totalSum()), "#,##0") + "円";
}

StepResult SummarisePendingBets(const Session& s, UserInterface& ui, PendingBetSummary& out) {
  out = PendingBetSummary{};
  const fs::path path = pendingBetPath(s);
  if (!isRegularFile(path)) {
    ui.inform(kNoPendingBetsMessage);
    return StepResult::Failed;
  }
  BusyScope busy(ui);
  std::string error;
  auto lines = readTextLines(path, &error);
  if (!lines) {
    ui.inform("保留ＢＥＴファイルを読めません：" + path.string() + "\r\n" + error, "【トルブ】エラーメッセージ",
              Icon::Critical);
    return StepResult::Failed;
  }
  PendingBetSummary summary;
  for (const auto& line : *lines) {
    auto e = decodePendingBetLine(line);
    if (!e) continue;
    std::size_t bucket = 0;
    switch (betKindOf(e->type)) {
      case BetKind::Win: bucket = 0; break;
      case BetKind::Place: bucket = 1; break;
      case BetKind::Bracket: bucket = 2; break;
      case BetKind::Quinella: bucket = 3; break;
      case BetKind::QuinellaPlace: bucket = 4; break;
      case BetKind::Unknown:
        ui.inform(kBrokenPendingBetsMessage);
        return StepResult::Failed;
    }
    summary.buckets[bucket].count += 1;
    summary.buckets[bucket].sum += stakeYen(e->stake);
  }
  summary.heading = s.meetingYear() + "年" + classicStr(valInt(s.meetingMonth())) + "月" +
                    classicStr(valInt(s.meetingDay())) + "日 の保留ＢＥＴ内訳です…";
  out = std::move(summary);
  return StepResult::Done;
}

}  // namespace tolv
