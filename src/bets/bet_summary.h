#pragma once
// The pending-bet summary (保留ＢＥＴの内訳): how many bets of each type the
// day's file holds and what they cost.

#include <array>
#include <string>

#include "core/session.h"
#include "core/ui.h"

namespace tolv {

inline constexpr std::string_view kPendingBetSummaryCaption = "保留ＢＥＴの内訳";
inline constexpr std::string_view kBrokenPendingBetsMessage =
    "保留ＢＥＴの内容が変です(O.O;)(o｡o;)。処理を中止します！";

struct PendingBetSummary {
  struct Bucket {
    long count = 0;
    long sum = 0;  // whole yen
  };
  // 0 win, 1 place, 2 bracket quinella, 3 quinella, 4 quinella-place.
  std::array<Bucket, 5> buckets{};
  std::string heading;  // "2002年 5月 26日 の保留ＢＥＴ内訳です…"

  static constexpr std::array<std::string_view, 5> kRowCaptions = {"単　勝", "複　勝", "枠　連", "馬　連", "ワイド"};

  long totalCount() const;
  long totalSum() const;
  // The window's labels: a count as " 3" (index 5 the total), a sum as
  // "2,000" (index 5 the total with its "円": "2,500円").
  std::string countLabel(std::size_t i) const;
  std::string sumLabel(std::size_t i) const;
};

// Reads the day's pending-bet file into `out`. Failed (after its message)
// when the file is missing or unreadable, or a line has an unknown bet type.
StepResult SummarisePendingBets(const Session& s, UserInterface& ui, PendingBetSummary& out);

}  // namespace tolv
