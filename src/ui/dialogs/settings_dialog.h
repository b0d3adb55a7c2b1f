#pragma once
// frmOptions "【トルブ】環境設定": the settings on five tabs, applied by
// "更新" and "OK" (see options_form.h for the applying rules).

#include <QDialog>
#include <array>

#include "core/session.h"
#include "core/ui.h"
#include "ui/dialogs/dialog_services.h"
#include "ui/dialogs/options_form.h"

class QBoxLayout;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace tolv::ui {

class SettingsDialog : public QDialog {
  Q_OBJECT
 public:
  SettingsDialog(Session& session, UserInterface& ui, QWidget* parent = nullptr);

  DialogServices services = DialogServices::standard();

  // The controls as a form, and the form into the controls.
  OptionsForm form() const;
  void setForm(const OptionsForm& f);
  // "更新": applies the form; false after a message when TOLV.INI cannot be written.
  bool apply();

 private:
  struct OutputControls {
    QLineEdit* folder = nullptr;
    std::array<QRadioButton*, 3> naming{};
    QLineEdit* extension = nullptr;
    QSpinBox* output = nullptr;
    QLineEdit* code = nullptr;
    QCheckBox* ownHeader = nullptr;
    QLineEdit* header = nullptr;
    QCheckBox* sort = nullptr;
  };

  QWidget* buildFilePanel();
  QWidget* buildOddsPanel();
  QWidget* buildBetPanel();
  QWidget* buildOutputPanel(bool pirune);
  QLineEdit* folderRow(QWidget* parent, QBoxLayout* layout, const QString& box, const QString& button,
                       bool logFile);
  void updateEnabling();
  void showTab(int index);

  Session& session_;
  UserInterface& ui_;
  QTabWidget* tabs_ = nullptr;
  std::array<QLineEdit*, 3> text1_{};
  std::array<QRadioButton*, 4> option2_{};
  std::array<QRadioButton*, 5> option3_{};
  QGroupBox* oddsFolderFrame_ = nullptr;
  QGroupBox* logFrame_ = nullptr;
  QLineEdit* text2_ = nullptr;
  QLineEdit* text12_ = nullptr;
  QPushButton* command2_ = nullptr;
  QPushButton* command7_ = nullptr;
  std::array<QLineEdit*, 3> text3_{};
  std::array<QWidget*, 3> upDown1_{};
  std::array<QRadioButton*, 2> option1_{};
  QLineEdit* text4_ = nullptr;
  QLineEdit* text5_ = nullptr;
  OutputControls wars_, pirune_;
  // The export folders while the dialog is open (Option1 switches between them).
  std::string patBetFolder_, betAutoFolder_;
};

}  // namespace tolv::ui
