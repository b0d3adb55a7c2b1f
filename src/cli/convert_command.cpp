#include "cli/convert_command.h"

#include <iostream>

#include "core/records.h"
#include "core/text.h"
#include "odds/csv_odds.h"
#include "odds/kol_odds.h"

namespace tolv::cli {

CLI::App* ConvertCommand::setup(CLI::App& app) {
  CLI::App* sub = app.add_subcommand(
      "convert",
      "Convert KOL predicted odds (an LZH archive holding kol_ods.KD2: kol95, kol98) or TARGET CSV odds "
      "(ODyymmdd.CSV: csv95, csv98) into PAT95 or PAT98 odds files UO-???.JRA and ZO-???.JRA. The output folder "
      "and the delete choice are stored as ODDS ConvOddsFolder and DelOddsFile of TOLV.INI.");
  sub->add_option("kind", kind_, "kol95, kol98, csv95 or csv98")
      ->required()
      ->check(CLI::IsMember({"kol95", "kol98", "csv95", "csv98"}, CLI::ignore_case));
  sub->add_option("file", file_, "The archive or CSV file (a relative path is taken from the home folder)")
      ->required();
  sub->add_option("--out", out_,
                  "Output folder (default: ODDS ConvOddsFolder, else the home folder; a relative path is taken "
                  "from the home folder)");
  sub->add_flag("--delete", delete_, "Delete the output folder's ZO*.JRA and UO*.JRA files first");
  return sub;
}

int ConvertCommand::run(Context& ctx) {
  Session& s = ctx.session;
  const std::string kind = upperAscii(kind_);
  const bool kol = kind.rfind("KOL", 0) == 0;
  const PatQuinellaLayout layout = kind.back() == '5' ? PatQuinellaLayout::Pat95 : PatQuinellaLayout::Pat98;
  const fs::path file = s.resolvePath(file_);

  OddsConversionSettings settings = loadOddsConversionSettings(s);
  if (!out_.empty()) settings.outputFolder = withSlash(out_);
  settings.deleteExisting = delete_;

  OddsConversionResult result;
  StepResult r;
  if (kol) {
    rememberKolArchive(s, file);
    // Without predicted odds in it the conversion window is never opened.
    if (!CheckKolArchive(s, ctx.ui, file)) return kExitFailed;
    if (!ctx.quiet) {
      if (auto first = readRecord(kolOddsPath(s), kKolRecordLength, 1)) {
        std::cout << kolConversionHeading(KolRaceRecord::decode(*first)) << "\n";
      }
    }
    r = convertKolOdds(s, ctx.ui, layout, settings, &result);
  } else {
    rememberCsvOddsFile(s, file);
    if (!ctx.quiet) {
      if (auto date = csvOddsDate(file)) std::cout << csvConversionHeading(*date) << "\n";
    }
    r = convertCsvOdds(s, ctx.ui, file, layout, settings, &result);
  }
  // Both settings are kept as closing the conversion window keeps them.
  storeOddsConversionSettings(s, settings);

  if (r == StepResult::Done && !ctx.quiet) {
    if (!result.deleted.empty()) std::cout << "deleted: " << result.deleted.size() << " odds files\n";
    std::cout << "written: " << result.written.size() << " odds files in " << result.outputFolder.string() << " ("
              << result.records << " records)\n";
    std::cout << result.topLabel << "\n";
  }
  return exitStatus(r);
}

}  // namespace tolv::cli
