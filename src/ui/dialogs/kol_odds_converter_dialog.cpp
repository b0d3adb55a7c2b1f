#include "ui/dialogs/kol_odds_converter_dialog.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/records.h"
#include "core/text.h"
#include "odds/csv_odds.h"
#include "ui/common/qt_text.h"
#include "ui/dialogs/folder_picker_dialog.h"
#include "ui/dialogs/pickers.h"

namespace tolv::ui {

QStringList kolArchiveFilters() {
  return {QStringLiteral("KOL予想オッズ圧縮ファイル (J*.LZH)"), QStringLiteral("圧縮ファイル (*.LZH)"),
          QStringLiteral("すべてのファイル (*.*)")};
}

QStringList csvOddsFilters() {
  return {QStringLiteral("TARGET標準ファイル (OD*.CSV)"), QStringLiteral("CSVファイル (*.CSV)"),
          QStringLiteral("すべてのファイル (*.*)")};
}

QString chooseOddsSourceFile(Session& session, const DialogServices& services, OddsConversionSource source,
                             QWidget* parent) {
  if (!services.openFile) return {};
  const bool kol = source == OddsConversionSource::Kol;
  const QString folder = toQ(kol ? lastKolArchiveFolder(session) : lastCsvOddsFolder(session));
  const QString chosen = services.openFile(parent, kol ? kolArchiveFilters() : csvOddsFilters(), folder);
  if (chosen.isEmpty()) return {};
  const fs::path path(fromQ(chosen));
  if (kol) rememberKolArchive(session, path);
  else rememberCsvOddsFile(session, path);
  return chosen;
}

KolOddsConverterDialog::KolOddsConverterDialog(Session& session, UserInterface& ui, OddsConversionSource source,
                               PatQuinellaLayout layout, fs::path input, QWidget* parent)
    : QDialog(parent), session_(session), ui_(ui), source_(source), layout_(layout), input_(std::move(input)) {
  setObjectName(QStringLiteral("frmConvKolOdds"));
  // The choosers take relative paths from the home folder.
  services = DialogServices::standard(toQ(session_.appFolder()));
  setWindowTitle(toQ(oddsConversionCaption(source, layout)));
  auto* layoutBox = new QVBoxLayout(this);

  top_ = new QLabel(this);
  top_->setObjectName(QStringLiteral("Label1"));
  if (source == OddsConversionSource::Kol) {
    if (auto first = readRecord(kolOddsPath(session_), kKolRecordLength, 1)) {
      top_->setText(toQ(kolConversionHeading(KolRaceRecord::decode(*first))));
    }
  } else if (auto date = csvOddsDate(input_)) {
    top_->setText(toQ(csvConversionHeading(*date)));
  }
  layoutBox->addWidget(top_);

  reading_ = new QLabel(toQ(oddsConversionReadingLabel(source)), this);
  reading_->setObjectName(QStringLiteral("Label2_0"));
  writing_ = new QLabel(toQ(oddsConversionWritingLabel(layout)), this);
  writing_->setObjectName(QStringLiteral("Label2_1"));
  reading_->setEnabled(false);
  writing_->setEnabled(false);
  layoutBox->addWidget(reading_);
  layoutBox->addWidget(writing_);

  auto* folderFrame = new QGroupBox(QStringLiteral("出力フォルダ"), this);
  folderFrame->setObjectName(QStringLiteral("Frame1"));
  auto* folderRow = new QHBoxLayout(folderFrame);
  folder_ = new QLineEdit(folderFrame);
  folder_->setObjectName(QStringLiteral("Text1"));
  auto* browse = new QPushButton(QStringLiteral("…"), folderFrame);
  browse->setObjectName(QStringLiteral("Command1"));
  browse->setAutoDefault(false);
  folderRow->addWidget(folder_, 1);
  folderRow->addWidget(browse);
  layoutBox->addWidget(folderFrame);
  connect(browse, &QPushButton::clicked, this, [this] {
    if (services.folderWindow) {
      services.folderWindow(this, folder_);
      return;
    }
    FolderPickerDialog window(ui_, folder_, toQ(session_.appFolder()), this);
    window.exec();
  });

  delete_ = new QCheckBox(QStringLiteral("変換時に既存オッズファイルを削除する"), this);
  delete_->setObjectName(QStringLiteral("Check1"));
  layoutBox->addWidget(delete_);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  start_ = new QPushButton(QStringLiteral("変換開始"), this);
  start_->setObjectName(QStringLiteral("Command2_0"));
  auto* close = new QPushButton(QStringLiteral("閉じる"), this);
  close->setObjectName(QStringLiteral("Command2_1"));
  start_->setAutoDefault(false);
  close->setAutoDefault(false);
  buttons->addWidget(start_);
  buttons->addWidget(close);
  layoutBox->addLayout(buttons);
  connect(start_, &QPushButton::clicked, this, [this] { convert(); });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  const OddsConversionSettings stored = loadOddsConversionSettings(session_);
  folder_->setText(toQ(stored.outputFolder));
  delete_->setChecked(stored.deleteExisting);
  resize(520, sizeHint().height());
}

OddsConversionSettings KolOddsConverterDialog::conversionSettings() const {
  OddsConversionSettings c;
  c.outputFolder = withSlash(trim(fromQ(folder_->text())));
  c.deleteExisting = delete_->isChecked();
  return c;
}

StepResult KolOddsConverterDialog::convert() {
  reading_->setEnabled(true);
  writing_->setEnabled(true);
  start_->setEnabled(false);
  OddsConversionResult result;
  const OddsConversionSettings c = conversionSettings();
  const StepResult r = source_ == OddsConversionSource::Kol
                           ? convertKolOdds(session_, ui_, layout_, c, &result)
                           : convertCsvOdds(session_, ui_, input_, layout_, c, &result);
  reading_->setEnabled(false);
  writing_->setEnabled(false);
  start_->setEnabled(true);
  if (r == StepResult::Done) top_->setText(toQ(result.topLabel));
  return r;
}

void KolOddsConverterDialog::done(int r) {
  // Closing the window keeps the output folder and the delete choice.
  std::string error;
  if (!storeOddsConversionSettings(session_, conversionSettings(), &error)) {
    ui_.inform("設定を保存できません：" + session_.iniFilePath().string() + "\r\n" + error, "【トルブ】エラーメッセージ",
               Icon::Critical);
  }
  QDialog::done(r);
}

}  // namespace tolv::ui
