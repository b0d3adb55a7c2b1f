#pragma once
// frm馬券塾: the pending bets as 馬券塾 voting lines, editable, counted again
// with 再計算 and put on the clipboard or into a file.

#include <QDialog>
#include <array>

#include "bets/bet_export.h"
#include "core/session.h"
#include "core/ui.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;

namespace tolv::ui {

class BakenjukuExportDialog : public QDialog {
  Q_OBJECT
 public:
  BakenjukuExportDialog(Session& session, UserInterface& ui, BakenjukuSheet sheet, QWidget* parent = nullptr);

  // The editor's text with CR LF line ends.
  std::string editedText() const;
  void recount();
  // The output lines (title, bets, summary, signature).
  std::vector<std::string> outputLines();
  void copyToClipboard();
  StepResult writeFile();

 private:
  void showLabels();

  Session& session_;
  UserInterface& ui_;
  BakenjukuSheet sheet_;
  QPlainTextEdit* text_ = nullptr;
  std::array<QLabel*, 2> labels_{};
  QCheckBox* wide_ = nullptr;
};

}  // namespace tolv::ui
