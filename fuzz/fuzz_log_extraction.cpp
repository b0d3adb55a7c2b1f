// Forum log extraction: the input is a forum log read for the day 2026-12-06
// (the day of the seed logs), with and without a cut file.
#include "collect/extraction.h"
#include "collect/wars_post.h"
#include "fuzz_support.h"

using namespace tolv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Session session = fuzz::makeSession("20261206");
  fuzz::QuietUi ui;
  const auto bytes = fuzz::bytesOf(data, size);
  const fs::path log = fuzz::writeInput("FORUM.LOG", bytes);

  ExtractionForm form;
  form.logPaths[0] = log.string();
  form.ticked[0] = true;
  // The first byte picks the cut-file style, so both paths are covered.
  form.style = size > 0 && (data[0] & 1) ? CutFileStyle::Dated : CutFileStyle::None;
  form.cutFolder = "OutPut/";
  startExtraction(session, ui, form);

  // The header and race-line readers on every line, as UTF-8.
  const MeetingDay day{"2026", "12", "06"};
  for (const auto& line : fuzz::textLines(bytes)) {
    if (auto h = parseHeader(line, day)) {
      cutRecordOf(*h, line);
    }
    isRaceLine(line);
  }
  return 0;
}
