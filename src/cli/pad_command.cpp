#include "cli/pad_command.h"

#include <iostream>

#include "output/pad_file.h"

namespace tolv::cli {

CLI::App* PadCommand::setup(CLI::App& app) {
  return app.add_subcommand(
      "pad",
      "PAD作成: gather the day's Tolv listings (OutPut/Wyyyymmdd_??.TXT, at most three), the Tolv WARS-format "
      "file and the Pirune listing and WARS-format file into forum messages in the PAD file of section STAFF: "
      "PADOUTDIR/PAD.PAD, appended to, when TERM is 1, else PADOUTDIR/wPAD.TXT, replaced. RaceOutFlag 1 posts "
      "races 1-3, 2 the races from 4. A listing message of more than 298 lines asks whether to go on (OK goes "
      "on, Cancel stops after it). Prints the path written.");
}

int PadCommand::run(Context& ctx) {
  fs::path written;
  const StepResult r = writePadFile(ctx.session, ctx.ui, &written);
  if (!ctx.quiet && !written.empty()) std::cout << written.string() << "\n";
  return exitStatus(r);
}

}  // namespace tolv::cli
