#include "cli/pirune_command.h"

#include <iostream>

#include "output/pirune_output.h"

namespace tolv::cli {

CLI::App* PiruneCommand::setup(CLI::App& app) {
  return app.add_subcommand(
      "pirune",
      "ぴるね作成: build the Pirune selection from the day's cut index (the base program and the voting programs "
      "of the list OTHER LIST2, default PIRUNE.LST), attach odds from the odds source of TOLV.INI, write "
      "DATA/HAyyyymmdd.DAT and, with the --odds range, the text listing HTyyyymmdd.txt and the WARS-format file "
      "HWyyyymmdd... in ぴるね OUTFOLDER. Prints the paths written, one per line.");
}

int PiruneCommand::run(Context& ctx) {
  std::vector<fs::path> written;
  const StepResult r = createPirune(ctx.session, ctx.ui, &written);
  if (!ctx.quiet) {
    for (const auto& p : written) std::cout << p.string() << "\n";
  }
  return exitStatus(r);
}

}  // namespace tolv::cli
