#include "cli/show_command.h"

#include <iostream>

#include "output/viewers.h"

namespace tolv::cli {

CLI::App* ShowCommand::setup(CLI::App& app) {
  CLI::App* show = app.add_subcommand(
      "show",
      "Print a file of the processing day as the viewer shows it, in UTF-8 with its CR LF line ends: tolv-wars and "
      "pirune-wars (after the hit check against DATA/Seiyyyymmdd.DAT), pirune-text, bets (the pending-bet file). "
      "A missing file: exit status 1.");
  show->add_option("kind", kind_, "tolv-wars, pirune-wars, pirune-text or bets")
      ->required()
      ->check(CLI::IsMember({"tolv-wars", "pirune-wars", "pirune-text", "bets"}));
  return show;
}

int ShowCommand::run(Context& ctx) {
  ViewerKind kind = ViewerKind::PendingBets;
  if (kind_ == "tolv-wars") kind = ViewerKind::TolvWars;
  if (kind_ == "pirune-wars") kind = ViewerKind::PiruneWars;
  if (kind_ == "pirune-text") kind = ViewerKind::PiruneText;
  std::optional<ViewerContent> content = LoadViewer(ctx.session, ctx.ui, kind);
  if (!content) return kExitFailed;
  std::cout << content->text << std::flush;
  return kExitDone;
}

}  // namespace tolv::cli
