// Forum odds posts: the input is the forum log FHwars for the day
// 2026-12-06, converted into PAT98 files of the scratch home's WarsOdds folder.
#include "fuzz_support.h"
#include "odds/forum_odds.h"

using namespace tolv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Session session = fuzz::makeSession("20261206");
  fuzz::QuietUi ui;
  const auto bytes = fuzz::bytesOf(data, size);
  session.settings.fhWars = fuzz::writeInput("ODDS.LOG", bytes).string();
  convertForumOdds(session, ui);

  for (const auto& line : fuzz::textLines(bytes)) {
    ForumOddsHeader::parse(line, "20261206");
  }
  return 0;
}
