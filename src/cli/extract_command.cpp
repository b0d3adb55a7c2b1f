#include "cli/extract_command.h"

#include <iostream>

#include "collect/extraction.h"

namespace tolv::cli {

CLI::App* ExtractCommand::setup(CLI::App& app) {
  return app.add_subcommand("extract",
                            "Log extraction (ログ読込み): cut the processing day's WARS posts out of the forum logs "
                            "ticked in TOLV.INI (FILE LogFile1-3, LogFflag1-3) into the day's cut index "
                            "DATA/yyyymmdd.DAT and, by CutFileSty, the cut file.");
}

int ExtractCommand::run(Context& ctx) {
  ExtractionForm form = extractionFormFromSettings(ctx.session.settings);
  ExtractionStats stats;
  StepResult r = startExtraction(ctx.session, ctx.ui, form, &stats);
  if (r == StepResult::Done && !ctx.quiet) {
    std::cout << "cut index: " << stats.cutIndex.string() << " (" << stats.records << " records, " << stats.posts
              << " posts)\n";
    if (!stats.cutFile.empty()) std::cout << "cut file:  " << stats.cutFile.string() << "\n";
  }
  return exitStatus(r);
}

}  // namespace tolv::cli
