// The viewer's loaders: paths, status, hit check, missing files.

#include <gtest/gtest.h>

#include "core/pending_bet.h"
#include "output/race_results.h"
#include "output/viewers.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::readBytes;
using testing::RecordingUi;
using testing::sj;
using testing::sjLines;
using testing::TestHome;
using testing::writeBytes;

class Viewers : public ::testing::Test {
 protected:
  TestHome h{"20020512"};
  RecordingUi ui;
  fs::path put(ViewerKind kind, const std::vector<std::string>& lines) {
    const fs::path p = viewerSourcePath(h.session, kind);
    fs::create_directories(p.parent_path());
    writeBytes(p, sjLines(lines));
    return p;
  }
  static std::vector<std::string> wars() {
    return {"東京 2002年  3回  8日目  5月 12日(日) [7777]", "--------", " 1R     03-05 02-07"};
  }
  void writeResults() {
    RaceResultRecord r;
    r.raceKey = "0501";
    r.courseCode = "05";
    r.raceNumber = "01";
    r.quinella[0] = {"02", "07", "  3450"};
    writeBytes(resultsFilePath(h.session), r.encode());
  }
};

TEST_F(Viewers, MissingFilesShowTheirMessages) {
  for (ViewerKind kind : {ViewerKind::TolvWars, ViewerKind::PiruneWars, ViewerKind::PiruneText}) {
    ui.messages.clear();
    EXPECT_FALSE(LoadViewer(h.session, ui, kind));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "指定された「" + viewerSourcePath(h.session, kind).string() + "」は存在しません！ ");
  }
  ui.messages.clear();
  EXPECT_FALSE(LoadViewer(h.session, ui, ViewerKind::PendingBets));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "指定された日付の「保留ＢＥＴ」ファイルは存在しません！");
}

TEST_F(Viewers, TextKindsLoadAsTheyAreInUtf8) {
  const fs::path text = put(ViewerKind::PiruneText, {"ぴるね 1R", "02-05"});
  writeResults();  // no hit check for the text file
  auto v = LoadViewer(h.session, ui, ViewerKind::PiruneText);
  ASSERT_TRUE(v);
  EXPECT_EQ(v->text, "ぴるね 1R\r\n02-05\r\n");
  EXPECT_EQ(v->path, text);
  EXPECT_EQ(v->status, "ぴるねテキスト形式を表示中…");

  const fs::path bets = put(ViewerKind::PendingBets, {"東京, 1R,馬連  ,02-05,  12.3,  1000円"});
  v = LoadViewer(h.session, ui, ViewerKind::PendingBets);
  ASSERT_TRUE(v);
  EXPECT_EQ(v->path, bets);
  EXPECT_EQ(v->status, "保留ＢＥＴを表示中…");
  EXPECT_EQ(v->text, "東京, 1R,馬連  ,02-05,  12.3,  1000円\r\n");
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Viewers, WarsKindsShowTheAnnotatedCopy) {
  for (ViewerKind kind : {ViewerKind::TolvWars, ViewerKind::PiruneWars}) {
    const fs::path p = put(kind, wars());
    writeResults();
    auto v = LoadViewer(h.session, ui, kind);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->path, fs::path(p.string() + "S"));
    EXPECT_NE(v->text.find("02-07*"), std::string::npos);
    EXPECT_NE(v->text.find("馬連的中！"), std::string::npos);
    EXPECT_EQ(readBytes(p), sjLines(wars()));  // the original is kept
  }
  EXPECT_EQ(LoadViewer(h.session, ui, ViewerKind::TolvWars)->status, "トルブWARS形式を表示中…");
  EXPECT_EQ(LoadViewer(h.session, ui, ViewerKind::PiruneWars)->status, "ぴるねWARS形式を表示中…");
}

TEST_F(Viewers, WithoutResultsTheWarsFileIsShownUnmarked) {
  const fs::path p = put(ViewerKind::TolvWars, wars());
  auto v = LoadViewer(h.session, ui, ViewerKind::TolvWars);
  ASSERT_TRUE(v);
  EXPECT_EQ(v->path, p);
  EXPECT_EQ(v->text.find("的中"), std::string::npos);

  // An empty results file is deleted; a short one is left alone.
  writeBytes(resultsFilePath(h.session), "");
  v = LoadViewer(h.session, ui, ViewerKind::TolvWars);
  ASSERT_TRUE(v);
  EXPECT_EQ(v->path, p);
  EXPECT_FALSE(fs::exists(resultsFilePath(h.session)));
  writeBytes(resultsFilePath(h.session), "0501");
  v = LoadViewer(h.session, ui, ViewerKind::TolvWars);
  ASSERT_TRUE(v);
  EXPECT_EQ(v->path, p);
  EXPECT_TRUE(fs::exists(resultsFilePath(h.session)));
  EXPECT_FALSE(fs::exists(p.string() + "S"));
}

}  // namespace
}  // namespace tolv
