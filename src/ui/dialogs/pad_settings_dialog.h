#pragma once
// frmStaff "【トルブ】ＰＡＤファイル作成の設定": the PAD file's settings
// (section STAFF of TOLV.INI).

#include <QDialog>
#include <array>

#include "core/session.h"
#include "core/ui.h"
#include "output/pad_file.h"
#include "ui/dialogs/dialog_services.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace tolv::ui {

class PadSettingsDialog : public QDialog {
  Q_OBJECT
 public:
  PadSettingsDialog(Session& session, UserInterface& ui, QWidget* parent = nullptr);

  DialogServices services = DialogServices::standard();

  PadSettings settings() const;
  // "ＯＫ": writes the settings and closes; false after a message when
  // TOLV.INI cannot be written.
  bool save();

 private:
  Session& session_;
  UserInterface& ui_;
  QLineEdit* text1_ = nullptr;
  std::array<QRadioButton*, 2> option1_{};
  std::array<QRadioButton*, 3> option2_{};
  QCheckBox* check1_ = nullptr;
};

}  // namespace tolv::ui
