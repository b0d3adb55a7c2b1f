#include "cli/schedule_command.h"

#include <iostream>

#include "core/files.h"
#include "core/schedule.h"
#include "core/text.h"
#include "odds/mjh.h"

namespace tolv::cli {

namespace {

const char* sourceName(int denFlag) {
  switch (denFlag) {
    case 0: return "MJH形式(RXyymmdd.TXT)";
    case 1: return "TARGET出馬表(yymmdd全.DEN)";
    case 2: return "ＫＯＬ(H?yymmdd.LZH)";
    default: return "新JRAVAN(D?yymmdd.LZH)";
  }
}

}  // namespace

CLI::App* ScheduleCommand::setup(CLI::App& app) {
  return app.add_subcommand(
      "schedule",
      "Build the processing day's meeting schedule DATA/yyyymmdd開催.DAT from the race card chosen by FILE DenFlag "
      "(0 MJH text RXyymmdd.TXT in ODDS PATFolder; 1 TARGET yymmdd全.DEN, 2 KOL H?yymmdd.LZH, 3 JRA-VAN "
      "D?yymmdd.LZH in FILE DenFileFolder). Exit status 1 when no source could be read.");
}

int ScheduleCommand::run(Context& ctx) {
  Session& s = ctx.session;
  const bool built = buildMeetingSchedule(s, [](Session& session) { ConvertMjhData(session); });
  // The MJH text (DenFlag 0) is read from PATFolder, the other cards from DenFileFolder.
  const std::string folder =
      s.resolvePath(s.settings.denFlag == 0 ? s.settings.patFolder : s.settings.denFileFolder).string();
  if (!built) {
    ctx.ui.inform("開催データを作成できませんでした。\r\n" + std::string(sourceName(s.settings.denFlag)) + " の" +
                      s.meetingDate() + "のファイルが " + folder + " に見つからないか、読み込めません。",
                  "【トルブ】エラーメッセージ", Icon::Exclamation);
    return kExitFailed;
  }
  s.scheduleReady = isRegularFile(s.scheduleFilePath());
  const long long size = fileSize(s.scheduleFilePath());
  if (!ctx.quiet) {
    std::cout << "meeting schedule: " << s.scheduleFilePath().string() << " (" << size / 67 << " races, "
              << sourceName(s.settings.denFlag) << ")\n";
    if (s.courseCount > 0) {
      std::cout << "courses:";
      for (int i = 0; i < s.courseCount; ++i) std::cout << " " << s.courseCodes[static_cast<std::size_t>(i)];
      std::cout << "\n";
    }
  }
  if (size < kMinUsableScheduleBytes) {
    ctx.ui.inform("開催データのレース数が 2 に満たないため、トルブ作成時に削除されます：" +
                      s.scheduleFilePath().string(),
                  "", Icon::Exclamation);
  }
  return kExitDone;
}

}  // namespace tolv::cli
