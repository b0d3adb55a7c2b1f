#pragma once
// frmConvKolOdds: KOL predicted odds or TARGET CSV odds to PAT files, with
// the output folder and the delete-before-converting choice. The input file
// is chosen before the window opens (see chooseOddsSourceFile).

#include <QDialog>

#include "core/session.h"
#include "core/ui.h"
#include "odds/kol_odds.h"
#include "ui/dialogs/dialog_services.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace tolv::ui {

// The filters of the archive and CSV choosers, the first selected.
QStringList kolArchiveFilters();
QStringList csvOddsFilters();

// ChooseKolArchive / ChooseCsvFile: the open-file dialog starting in the
// folder of the last choice; stores the chosen file's folder. "" when
// cancelled.
QString chooseOddsSourceFile(Session& session, const DialogServices& services, OddsConversionSource source,
                             QWidget* parent);

class KolOddsConverterDialog : public QDialog {
  Q_OBJECT
 public:
  // `input` is the CSV file (for the KOL source the archive is unpacked already).
  KolOddsConverterDialog(Session& session, UserInterface& ui, OddsConversionSource source, PatQuinellaLayout layout,
                 fs::path input, QWidget* parent = nullptr);

  DialogServices services = DialogServices::standard();

  // The start button; the result of the conversion.
  StepResult convert();
  OddsConversionSettings conversionSettings() const;

 protected:
  void done(int r) override;

 private:
  Session& session_;
  UserInterface& ui_;
  OddsConversionSource source_;
  PatQuinellaLayout layout_;
  fs::path input_;
  QLabel* top_ = nullptr;
  QLabel* reading_ = nullptr;
  QLabel* writing_ = nullptr;
  QLineEdit* folder_ = nullptr;
  QCheckBox* delete_ = nullptr;
  QPushButton* start_ = nullptr;
};

}  // namespace tolv::ui
