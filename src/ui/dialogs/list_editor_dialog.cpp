#include "ui/dialogs/list_editor_dialog.h"

#include <QBoxLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>

#include "collect/software_list.h"
#include "core/profile.h"
#include "core/text.h"
#include "ui/common/qt_text.h"

namespace tolv::ui {

namespace {

const char* kErrorTitle = "【トルブ】エラーメッセージ";
constexpr int kColNumber = 0, kColMark = 1, kColCode = 2, kColName = 3, kColHidden = 4;

QPushButton* button(QWidget* parent, const QString& name, const QString& caption) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

QLabel* label(QWidget* parent, const QString& name, const QString& caption) {
  auto* l = new QLabel(caption, parent);
  l->setObjectName(name);
  return l;
}

QString cellText(const QTableWidget* grid, int row, int col) {
  const QTableWidgetItem* item = grid->item(row, col);
  return item ? item->text() : QString();
}

void setCell(QTableWidget* grid, int row, int col, const QString& text) {
  QTableWidgetItem* item = grid->item(row, col);
  if (!item) {
    item = new QTableWidgetItem;
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    grid->setItem(row, col, item);
  }
  item->setText(text);
  if (col == kColMark) item->setTextAlignment(Qt::AlignCenter);
}

}  // namespace

ListEditorDialog::ListEditorDialog(Session& session, UserInterface& ui, QWidget* parent)
    : QDialog(parent), session_(session), ui_(ui) {
  setObjectName(QStringLiteral("frmListHensyu"));
  // The choosers take relative paths from the home folder.
  services = DialogServices::standard(toQ(session_.appFolder()));
  setWindowTitle(QStringLiteral("リストの変更・編集"));

  auto* top = new QHBoxLayout(this);
  auto* left = new QVBoxLayout;
  top->addLayout(left);
  const std::array<const char*, 2> listHeads = {"【トルブ】ソフトリスト一覧", "『ぴるね』ソフトリスト一覧"};
  const std::array<const char*, 2> chosenHeads = {"選択されている【トルブ】ソフトリスト", "選択されている『ぴるね』ソフトリスト"};
  for (int i = 0; i < 2; ++i) {
    const auto k = static_cast<std::size_t>(i);
    auto* frame = new QGroupBox(QString::fromUtf8(listHeads[k]), this);
    frame->setObjectName(QStringLiteral("Frame1_%1").arg(i));
    auto* v = new QVBoxLayout(frame);
    lists_[k] = new QListWidget(frame);
    lists_[k]->setObjectName(QStringLiteral("List1_%1").arg(i));
    lists_[k]->setMaximumHeight(110);
    v->addWidget(lists_[k]);
    v->addWidget(label(frame, QStringLiteral("Label1_%1").arg(i), QString::fromUtf8(chosenHeads[k])));
    chosen_[k] = label(frame, QStringLiteral("Label2_%1").arg(i), {});
    chosen_[k]->setFrameShape(QFrame::Panel);
    chosen_[k]->setFrameShadow(QFrame::Sunken);
    v->addWidget(chosen_[k]);
    auto* row = new QHBoxLayout;
    auto* edit = button(frame, QStringLiteral("Command1_%1").arg(i), QStringLiteral("選択されたリストの編集"));
    const QString applyName = i == 0 ? QStringLiteral("Command3_%1") : QStringLiteral("Command4_%1");
    auto* ok = button(frame, applyName.arg(0), QStringLiteral("ＯＫ"));
    auto* update = button(frame, applyName.arg(1), QStringLiteral("更新"));
    row->addWidget(edit);
    row->addWidget(ok);
    row->addWidget(update);
    v->addLayout(row);
    left->addWidget(frame);
    connect(lists_[k], &QListWidget::itemClicked, this, [this, k](QListWidgetItem* item) { chosen_[k]->setText(item->text()); });
    connect(edit, &QPushButton::clicked, this, [this, i] { editList(i); });
    connect(ok, &QPushButton::clicked, this, [this, i] { applyList(i, true); });
    connect(update, &QPushButton::clicked, this, [this, i] { applyList(i, false); });
  }
  auto* cancel = button(this, QStringLiteral("Command5"), QStringLiteral("キャンセル"));
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  left->addWidget(cancel);
  left->addStretch();

  // The editing panel.
  panel_ = new QWidget(this);
  panel_->setObjectName(QStringLiteral("Picture1"));
  auto* p = new QVBoxLayout(panel_);
  heading_ = label(panel_, QStringLiteral("Label3"), {});
  p->addWidget(heading_);
  grid_ = new QTableWidget(0, 5, panel_);
  grid_->setObjectName(QStringLiteral("MSFlexGrid1"));
  grid_->setHorizontalHeaderLabels({QString(), QStringLiteral("採用"), QStringLiteral("CODE"), QStringLiteral("ソフト名"), QString()});
  grid_->verticalHeader()->hide();
  grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 8);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::NoSelection);
  // 500, 600, 800, 3000 and 10 twips.
  const std::array<int, 5> widths = {34, 40, 54, 200, 1};
  for (int c = 0; c < 5; ++c) grid_->setColumnWidth(c, widths[static_cast<std::size_t>(c)]);
  grid_->setMinimumWidth(360);
  p->addWidget(grid_, 1);
  codeEdit_ = new QLineEdit(grid_->viewport());
  codeEdit_->setObjectName(QStringLiteral("txtCodeEdit"));
  codeEdit_->hide();
  nameEdit_ = new QLineEdit(grid_->viewport());
  nameEdit_->setObjectName(QStringLiteral("txtSoftName"));
  nameEdit_->hide();
  connect(grid_, &QTableWidget::cellClicked, this, &ListEditorDialog::clickCell);
  // Enter in an edit box, or scrolling the grid away from it, writes it back.
  connect(codeEdit_, &QLineEdit::returnPressed, this, &ListEditorDialog::commitEditBox);
  connect(nameEdit_, &QLineEdit::returnPressed, this, &ListEditorDialog::commitEditBox);
  connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, this, &ListEditorDialog::commitEditBox);
  connect(grid_->horizontalScrollBar(), &QScrollBar::valueChanged, this, &ListEditorDialog::commitEditBox);

  label4_ = label(panel_, QStringLiteral("Label4"), {});
  p->addWidget(label4_);
  auto* baseRow = new QHBoxLayout;
  baseCode_ = new QLineEdit(panel_);
  baseCode_->setObjectName(QStringLiteral("Text1"));
  baseCode_->setMaximumWidth(70);
  baseName_ = new QLineEdit(panel_);
  baseName_->setObjectName(QStringLiteral("Text2"));
  command8_ = button(panel_, QStringLiteral("Command8"), QStringLiteral("基準ソフトの更新"));
  baseRow->addWidget(baseCode_);
  baseRow->addWidget(baseName_, 1);
  baseRow->addWidget(command8_);
  p->addLayout(baseRow);
  connect(command8_, &QPushButton::clicked, this, &ListEditorDialog::updateBaseProgram);

  auto* editRow = new QHBoxLayout;
  auto* add = button(panel_, QStringLiteral("Command6"), QStringLiteral("行を追加"));
  auto* sort = button(panel_, QStringLiteral("Command7"), QStringLiteral("コード順に並べ替え"));
  editRow->addWidget(add);
  editRow->addWidget(sort);
  p->addLayout(editRow);
  connect(add, &QPushButton::clicked, this, &ListEditorDialog::addRow);
  connect(sort, &QPushButton::clicked, this, &ListEditorDialog::sortByCode);
  auto* saveRow = new QHBoxLayout;
  const std::array<const char*, 3> saves = {"上書きで保存", "別名で保存", "閉じる"};
  for (int i = 0; i < 3; ++i) {
    auto* b = button(panel_, QStringLiteral("Command2_%1").arg(i), QString::fromUtf8(saves[static_cast<std::size_t>(i)]));
    saveRow->addWidget(b);
    connect(b, &QPushButton::clicked, this, [this, i] { save(i); });
  }
  p->addLayout(saveRow);
  top->addWidget(panel_, 1);
  panel_->hide();

  fillLists();
}

void ListEditorDialog::fillLists() {
  std::vector<fs::path> files = listFiles(session_.appFolder(), "*.LST");
  if (files.size() > kMaxListFiles) files.resize(kMaxListFiles);
  const std::array<std::string, 2> settings = {session_.settings.list1, session_.settings.list2};
  for (std::size_t k = 0; k < 2; ++k) {
    lists_[k]->clear();
    QString pick;
    for (const auto& f : files) {
      const QString name = toQ(f.filename().string());
      lists_[k]->addItem(name);
      if (pick.isEmpty() && equalsIgnoreCase(f.filename().string(), trim(settings[k]))) pick = name;
    }
    // A list setting naming no list file shows the first file found.
    if (pick.isEmpty() && !files.empty()) pick = toQ(files.front().filename().string());
    chosen_[k]->setText(pick);
  }
}

void ListEditorDialog::applyList(int kind, bool close) {
  const std::string name = trim(fromQ(chosen_[static_cast<std::size_t>(kind)]->text()));
  const char* key = kind == 0 ? "LIST1" : "LIST2";
  std::string error;
  if (!writeProfileString(session_.iniFilePath(), "OTHER", key, name, &error)) {
    ui_.inform("設定を保存できません：" + session_.iniFilePath().string() + "\r\n" + error, kErrorTitle, Icon::Critical);
    return;
  }
  // The record takes the value as loading would read it.
  if (kind == 0) {
    session_.settings.list1 = name.empty() ? "TOLVSOFT.LST" : name;
    // The program-name table follows the Tolv list.
    session_.programNames = loadProgramNames(session_);
  } else {
    session_.settings.list2 = name.empty() ? "PIRUNE.LST" : name;
  }
  if (close) accept();
}

void ListEditorDialog::editList(int kind) {
  const std::string name = trim(fromQ(chosen_[static_cast<std::size_t>(kind)]->text()));
  if (name.empty()) return;
  const auto found = findCaseless(session_.appFolder(), name);
  if (!found || !isRegularFile(*found)) return;
  std::string error;
  const auto lines = readListFile(*found, &error);
  if (!lines) {
    ui_.inform("リストを読み込めません：" + found->string() + "\r\n" + error, kErrorTitle, Icon::Critical);
    return;
  }
  if (lines->empty()) return;
  editKind_ = kind;
  editedPath_ = *found;
  chosen_[static_cast<std::size_t>(kind)]->setText(toQ(found->filename().string()));
  const bool pirune = kind == 1;
  heading_->setText(pirune ? QStringLiteral("『ぴるね』ソフトリストの編集…") : QStringLiteral("【トルブ】ソフトリストの編集…"));
  label4_->setText(pirune ? QStringLiteral("※１番目のソフトが基準ソフトになります。") : QString());
  label4_->setVisible(pirune);
  baseCode_->setVisible(pirune);
  baseName_->setVisible(pirune);
  command8_->setVisible(pirune);
  loadGrid(*lines);
  panel_->show();
  grid_->show();
}

void ListEditorDialog::loadGrid(const std::vector<std::string>& lines) {
  std::vector<ListRow> rows;
  rows.reserve(lines.size());
  for (const auto& l : lines) rows.push_back(readListLine(l));
  setRows(rows);
  // The base program is the first program row, never a comment.
  if (editKind_ == 1) {
    const auto base = baseProgramRow(rows);
    baseCode_->setText(base ? toQ(rows[*base].code) : QString());
    baseName_->setText(base ? toQ(trim(rows[*base].name)) : QString());
  }
}

bool ListEditorDialog::isCommentRow(int row) const {
  const QTableWidgetItem* item = grid_->item(row, kColHidden);
  return item && item->data(Qt::UserRole).toBool();
}

void ListEditorDialog::setRows(const std::vector<ListRow>& rows) {
  hideEditBoxes();
  grid_->clearSpans();
  grid_->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const ListRow& row = rows[static_cast<std::size_t>(r)];
    setCell(grid_, r, kColNumber, QString::number(r + 1));
    setCell(grid_, r, kColMark, toQ(row.mark));
    setCell(grid_, r, kColCode, toQ(row.comment ? row.name : row.code));
    setCell(grid_, r, kColName, row.comment ? QString() : toQ(row.name));
    setCell(grid_, r, kColHidden, {});
    grid_->item(r, kColHidden)->setData(Qt::UserRole, row.comment);
    // A comment row: its line across the code and name columns, greyed.
    const QBrush text = row.comment ? palette().brush(QPalette::Disabled, QPalette::Text) : palette().brush(QPalette::Text);
    for (int c = kColNumber; c <= kColName; ++c) grid_->item(r, c)->setForeground(text);
    if (row.comment) grid_->setSpan(r, kColCode, 1, 2);
  }
}

std::vector<ListRow> ListEditorDialog::rows() const {
  std::vector<ListRow> out;
  for (int r = 0; r < grid_->rowCount(); ++r) {
    if (isCommentRow(r)) {
      ListRow comment;
      comment.comment = true;
      comment.name = fromQ(cellText(grid_, r, kColCode));
      out.push_back(std::move(comment));
      continue;
    }
    out.push_back({fromQ(cellText(grid_, r, kColMark)), fromQ(cellText(grid_, r, kColCode)),
                   fromQ(cellText(grid_, r, kColName))});
  }
  return out;
}

void ListEditorDialog::clickCell(int row, int column) {
  if (row < 0 || row >= grid_->rowCount()) return;
  // A comment is kept as it stands: it is neither marked nor edited.
  if (isCommentRow(row)) {
    commitEditBox();
    return;
  }
  if (column == kColMark) {
    setCell(grid_, row, kColMark, toQ(nextMark(fromQ(cellText(grid_, row, kColMark)))));
    return;
  }
  if (column != kColCode && column != kColName) return;
  commitEditBox();
  QLineEdit* box = column == kColCode ? codeEdit_ : nameEdit_;
  const QRect rect = grid_->visualRect(grid_->model()->index(row, column));
  box->setGeometry(rect);
  box->setText(cellText(grid_, row, column));
  editRow_ = row;
  editColumn_ = column;
  box->show();
  box->setFocus();
}

void ListEditorDialog::commitEditBox() {
  // A visible edit box writes its text back into the cell it covers.
  if (editRow_ < 0 || editRow_ >= grid_->rowCount()) {
    hideEditBoxes();
    return;
  }
  QLineEdit* box = editColumn_ == kColCode ? codeEdit_ : nameEdit_;
  if (box->isVisible()) setCell(grid_, editRow_, editColumn_, box->text());
  hideEditBoxes();
}

void ListEditorDialog::hideEditBoxes() {
  codeEdit_->hide();
  nameEdit_->hide();
  editRow_ = editColumn_ = -1;
}

void ListEditorDialog::addRow() {
  commitEditBox();
  const int r = grid_->rowCount();
  grid_->setRowCount(r + 1);
  setCell(grid_, r, kColNumber, QString::number(r + 1));
  setCell(grid_, r, kColMark, QString::fromUtf8(kAdoptedMark));
  setCell(grid_, r, kColCode, {});
  setCell(grid_, r, kColName, {});
  setCell(grid_, r, kColHidden, {});
  grid_->scrollToBottom();
}

void ListEditorDialog::sortByCode() {
  commitEditBox();
  // Comment rows keep their places (sortRowsByCode).
  std::vector<ListRow> all = rows();
  sortRowsByCode(all);
  setRows(all);
}

void ListEditorDialog::save(int how) {
  // What is typed in an open edit box belongs to the list.
  commitEditBox();
  std::string error;
  if (how == 0 && !editedPath_.empty()) {
    if (!writeListFile(editedPath_, rows(), &error)) {
      ui_.inform("リストを保存できません：" + editedPath_.string() + "\r\n" + error, kErrorTitle, Icon::Critical);
      return;
    }
  } else if (how == 1) {
    const bool pirune = editKind_ == 1;
    const QString prompt = pirune ? QStringLiteral("『ぴるね』の新しいリスト名を入力してください…")
                                  : QStringLiteral("【トルブ】の新しいソフトリスト名を入力してください…");
    const QString title = pirune ? QStringLiteral("『ぴるね』リスト名の入力") : QStringLiteral("【トルブ】ソフトリスト名の入力");
    const std::optional<QString> answer = services.inputText ? services.inputText(this, prompt, title) : std::nullopt;
    if (!answer) return;
    if (!trim(fromQ(*answer)).empty()) {
      const auto path = saveAsPath(session_.appFolder(), fromQ(*answer));
      if (!path) {
        ui_.inform("リスト名にフォルダは指定できません：" + trim(fromQ(*answer)), kErrorTitle, Icon::Exclamation);
        return;
      }
      if (!writeListFile(*path, rows(), &error)) {
        ui_.inform("リストを保存できません：" + path->string() + "\r\n" + error, kErrorTitle, Icon::Critical);
        return;
      }
      editedPath_ = *path;
      fillLists();
      if (editKind_ >= 0) chosen_[static_cast<std::size_t>(editKind_)]->setText(toQ(path->filename().string()));
    }
  }
  closePanel();
}

void ListEditorDialog::closePanel() {
  hideEditBoxes();
  grid_->clearSpans();
  grid_->setRowCount(0);
  grid_->hide();
  panel_->hide();
  editedPath_.clear();
  // Back to the size of the list choice alone.
  adjustSize();
}

void ListEditorDialog::updateBaseProgram() {
  const long code = valInt(fromQ(baseCode_->text()));
  if (code < 1 || code > 9999) {
    ui_.inform("基準ソフトに変更したソフトの\r\nWARSコード(0001～9999)を記載してください！\r\n", {}, Icon::None);
    baseCode_->setFocus();
    return;
  }
  const auto found = findCaseless(session_.appFolder(), trim(fromQ(chosen_[1]->text())));
  if (!found || !isRegularFile(*found)) return;
  std::string error;
  const auto lines = readListFile(*found, &error);
  const auto updated = lines ? std::optional(withBaseProgram(fromQ(baseCode_->text()), fromQ(baseName_->text()), *lines))
                             : std::nullopt;
  if (!updated || !writeFileAtomic(*found, encodeTextLines(*updated), &error)) {
    ui_.inform("リストを保存できません：" + found->string() + "\r\n" + error, kErrorTitle, Icon::Critical);
    return;
  }
  loadGrid(*updated);
}

}  // namespace tolv::ui
