#include "cli/settings_command.h"

#include <iostream>

#include "core/settings.h"

namespace tolv::cli {

CLI::App* SettingsCommand::setup(CLI::App& app) {
  return app.add_subcommand("settings",
                            "Print every setting of TOLV.INI as the program loads it (defaults and validation "
                            "applied), one \"[SECTION] KEY=value\" line each; keys kept in the saved defaults are "
                            "marked with *.");
}

int SettingsCommand::run(Context& ctx) {
  for (const auto& v : settingValues(ctx.session.settings)) {
    std::cout << "[" << v.section << "] " << v.key << "=" << v.value << (v.savedAsDefault ? " *" : "") << "\n";
  }
  return kExitDone;
}

CLI::App* DefaultsCommand::setup(CLI::App& app) {
  auto* sub = app.add_subcommand(
      "defaults",
      "save: keep the current settings as your defaults (この設定をデフォルトとして記録する); restore: read "
      "them back into TOLV.INI (デフォルトの設定を呼び出す). The defaults live in "
      "$XDG_CONFIG_HOME/tolv/defaults.ini.");
  sub->add_option("action", action_, "save or restore")->required()->check(CLI::IsMember({"save", "restore"}));
  return sub;
}

int DefaultsCommand::run(Context& ctx) {
  Session& s = ctx.session;
  std::string error;
  if (action_ == "save") {
    if (!saveDefaults(s.settings, s.defaultsPath(), &error)) {
      ctx.ui.inform("デフォルトの設定を記録できません：" + s.defaultsPath().string() + "\r\n" + error,
                    "【トルブ】エラーメッセージ", Icon::Critical);
      return kExitFailed;
    }
    if (!ctx.quiet) std::cout << "saved: " << s.defaultsPath().string() << "\n";
    return kExitDone;
  }
  if (!restoreDefaults(s.settings, s.defaultsPath(), s.iniFilePath(), s.settingsFolders(), &error)) {
    ctx.ui.inform("デフォルトの設定を呼び出せません：" + s.iniFilePath().string() + "\r\n" + error,
                  "【トルブ】エラーメッセージ", Icon::Critical);
    return kExitFailed;
  }
  if (!ctx.quiet) std::cout << "restored into: " << s.iniFilePath().string() << "\n";
  return kExitDone;
}

}  // namespace tolv::cli
