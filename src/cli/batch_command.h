#pragma once

#include <string>

#include "cli/command.h"
#include "output/batch_run.h"

namespace tolv::cli {

// batch [--at HH:MM:SS]: the batch run with the steps chosen in the section
// "一括処理" of TOLV.INI, at once or when the clock reaches the given time
// (a time already passed starts at once). The forum-odds step runs only when
// the odds source is "2"; "自動終了" has no meaning without a window.
class BatchCommand : public Command {
 public:
  // `pad` writes the PAD file when "PAD作成" is on.
  explicit BatchCommand(PadFileStep pad);
  CLI::App* setup(CLI::App& app) override;
  int run(Context& ctx) override;

 private:
  PadFileStep pad_;
  std::string at_;
};

}  // namespace tolv::cli
