#include <gtest/gtest.h>

#include "aggregate/tolv_creation.h"
#include "core/cut_record.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::readBytes;
using testing::RecordingUi;
using testing::sj;
using testing::TestHome;
using testing::writeBytes;

std::string cut(const std::string& course, const std::string& program, const std::string& race,
                std::array<std::string, 6> picks) {
  CutRecord r{course, program, race, "  ", picks};
  return r.encode();
}

// Expected Tolv record bytes with the fields of a freshly created record.
std::string tolvBytes(const std::string& raceKey, const std::string& pick, int count, std::vector<int> codes) {
  std::string b = sj(raceKey + pick) + std::string(12, ' ');
  b += static_cast<char>(count & 0xFF);
  b += static_cast<char>((count >> 8) & 0xFF);
  for (int i = 0; i < 64; ++i) {
    int c = i < static_cast<int>(codes.size()) ? codes[static_cast<std::size_t>(i)] : 0;
    b += static_cast<char>(c & 0xFF);
    b += static_cast<char>((c >> 8) & 0xFF);
  }
  b += std::string(2, '\0') + std::string(6, ' ') + std::string(2, '\0') + std::string(6, ' ');
  return b;
}

std::string indexBytes(int recordNo, int race, int count, const std::string& pick) {
  std::string b;
  for (int v : {recordNo, race, count}) {
    b += static_cast<char>(v & 0xFF);
    b += static_cast<char>((v >> 8) & 0xFF);
  }
  return b + sj(pick);
}

TEST(TolvCreation, CountsSortsAndSplitsByCourse) {
  TestHome h;
  writeBytes(h.session.cutIndexPath(),
             cut("08", "0870", "01", {"01-02", "03-04", "", "", "", ""}) +
                 cut("05", "0870", "11", {"01-02", "   36", "  -00", "", "", ""}) +  // blank slot: -00
                 cut("08", "0101", "01", {"01-02", "02-01", "", "", "", ""}) +     // 02-01 is a pick of its own
                 cut("09", "0202", "12", {"07-08", "", "", "", "", ""}) +
                 cut("08", "0101", "01", {"01-02", "", "", "", "", ""}) +           // the same post again counts
                 cut("08", "0303", "02", {"05-06", "", "", "", "", ""}) + cut("10", "0404", "01", {"01-02", "", "", "", "", ""}));
  RecordingUi ui;
  ASSERT_EQ(aggregatePicks(h.session, ui), StepResult::Done);
  EXPECT_TRUE(ui.messages.empty());
  // Courses 08, 05, 09 in order of appearance; 10 is a fourth and gets no file.
  EXPECT_EQ(h.session.courseCount, 3);
  EXPECT_EQ(h.session.courseCodes, (std::array<std::string, 3>{"05", "08", "09"}));
  const fs::path data = h.session.dataFolder();
  EXPECT_EQ(h.session.tolvFilePaths[2], (data / "W20020512_08.DAT").string());
  EXPECT_FALSE(fs::exists(data / "W20020512_10.DAT"));

  EXPECT_EQ(readBytes(data / "W20020512_08.DAT"),
            tolvBytes("0801", "01-02", 3, {101, 101, 870}) + tolvBytes("0801", "03-04", 1, {870}) +
                tolvBytes("0801", "02-01", 1, {101}) + tolvBytes("0802", "05-06", 1, {303}));
  EXPECT_EQ(readBytes(data / "W20020512_08.IDX"), indexBytes(1, 1, 3, "01-02") + indexBytes(2, 1, 1, "03-04") +
                                                      indexBytes(3, 1, 1, "02-01") + indexBytes(4, 2, 1, "05-06"));
  EXPECT_EQ(readBytes(data / "W20020512_05.DAT"),
            tolvBytes("0511", "01-02", 1, {870}) + tolvBytes("0511", "   36", 1, {870}));
  EXPECT_EQ(readBytes(data / "W20020512_09.DAT"), tolvBytes("0912", "07-08", 1, {202}));
  EXPECT_FALSE(fs::exists(data / "W20020512.DAT"));
  EXPECT_EQ(ui.captions.front(), "各ソフトの予想を集約中！…");
  EXPECT_EQ(ui.captions[1], "【東京】のトルブを制作中！…");
}

TEST(TolvCreation, SeventyProgramsAndTheIndexIsRewrittenWhole) {
  TestHome h;
  std::string cuts;
  for (int p = 70; p >= 1; --p) cuts += cut("05", std::to_string(1000 + p), "03", {"01-02", "", "", "", "", ""});
  writeBytes(h.session.cutIndexPath(), cuts);
  // An index of an earlier, longer run is replaced, not overwritten in place.
  writeBytes(h.session.dataFolder() + "W20020512_05.IDX", std::string(11 * 5, 'x'));
  RecordingUi ui;
  ASSERT_EQ(aggregatePicks(h.session, ui), StepResult::Done);
  std::vector<int> codes;
  // The first 63 posts are listed (1070 down to 1008), ascending.
  for (int p = 8; p <= 70; ++p) codes.push_back(1000 + p);
  EXPECT_EQ(readBytes(h.session.dataFolder() + "W20020512_05.DAT"), tolvBytes("0503", "01-02", 70, codes));
  EXPECT_EQ(readBytes(h.session.dataFolder() + "W20020512_05.IDX"), indexBytes(1, 3, 70, "01-02"));
}

TEST(TolvCreation, RacesAscendAndLargerCountsComeFirst) {
  TestHome h;
  std::string cuts;
  // Race 2 first in the index; in race 1 a pick of count 2 after one of count 1.
  cuts += cut("06", "0001", "02", {"01-02", "", "", "", "", ""});
  cuts += cut("06", "0001", "01", {"03-04", "05-06", "", "", "", ""});
  cuts += cut("06", "0002", "01", {"05-06", "07-08", "", "", "", ""});
  writeBytes(h.session.cutIndexPath(), cuts);
  RecordingUi ui;
  ASSERT_EQ(aggregatePicks(h.session, ui), StepResult::Done);
  auto records = readTolvFile(h.session.dataFolder() + "W20020512_06.DAT");
  ASSERT_TRUE(records);
  std::vector<std::string> keys;
  for (const auto& r : *records) keys.push_back(r.raceKey + r.pick + std::to_string(r.shareCount));
  // Ties (count 1 in race 1) keep the order the exchange sort leaves them in.
  EXPECT_EQ(keys, (std::vector<std::string>{"060105-062", "060103-041", "060107-081", "060201-021"}));
}

TEST(TolvCreation, ExchangeSortTieOrder) {
  // Worked by hand through the passes of the exchange sort.
  EXPECT_EQ(exchangeSortOrder({5, 3, 5, 3, 1}), (std::vector<std::size_t>{4, 3, 1, 0, 2}));
  EXPECT_EQ(exchangeSortOrder({2, 2, 2}), (std::vector<std::size_t>{0, 1, 2}));
  EXPECT_EQ(exchangeSortOrder({}), (std::vector<std::size_t>{}));
  // Far beyond real days: sorted by value, ties in order, no quadratic stall.
  std::vector<long> big(200000);
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<long>(i % 7);
  auto order = exchangeSortOrder(big);
  EXPECT_EQ(order[0], 0u);
  EXPECT_EQ(order[1], 7u);
  EXPECT_EQ(big[order.back()], 6);
}

TEST(TolvCreation, FailureMessages) {
  TestHome h;
  RecordingUi ui;
  EXPECT_EQ(aggregatePicks(h.session, ui), StepResult::Failed);
  writeBytes(h.session.cutIndexPath(), "");
  EXPECT_EQ(aggregatePicks(h.session, ui), StepResult::Failed);
  writeBytes(h.session.cutIndexPath(), cut("05", "0870", "01", {"01-02", "", "", "", "", ""}) + "partial");
  EXPECT_EQ(aggregatePicks(h.session, ui), StepResult::Failed);
  writeBytes(h.session.cutIndexPath(), cut("05", "0870", "01", {"", "  -00", "", "", "", ""}) +
                                           cut("05", "0871", "01", {"", "", "", "", "", "01-00"}));
  EXPECT_EQ(aggregatePicks(h.session, ui), StepResult::Failed);
  ASSERT_EQ(ui.messages.size(), 4u);
  EXPECT_EQ(ui.messages[0].text, "『ログの読み込み』が実行されていません！");
  EXPECT_EQ(ui.messages[0].title, "【トルブ】エラーメッセージ");
  EXPECT_EQ(ui.messages[0].icon, Icon::Critical);
  EXPECT_EQ(ui.messages[1].text, "予想がありません…");
  EXPECT_EQ(ui.messages[2].text, "予想数が足りません…");  // a trailing partial record is not a record
  EXPECT_EQ(ui.messages[3].text, "「トルブ」の作成に失敗しました…");
  EXPECT_FALSE(fs::exists(h.session.dataFolder() + "W20020512_05.DAT"));
  EXPECT_FALSE(ui.progressOpen);
}

}  // namespace
}  // namespace tolv
