#pragma once
// frmListHensyu "リストの変更・編集": chooses the Tolv list (LIST1) and the
// Pirune list (LIST2) and edits a list's programs in a grid.

#include <QDialog>
#include <array>

#include "core/session.h"
#include "core/ui.h"
#include "ui/dialogs/dialog_services.h"
#include "collect/list_rules.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace tolv::ui {

class ListEditorDialog : public QDialog {
  Q_OBJECT
 public:
  ListEditorDialog(Session& session, UserInterface& ui, QWidget* parent = nullptr);

  DialogServices services = DialogServices::standard();

  // Command1(i): opens the chosen list of kind i (0 Tolv, 1 Pirune) in the grid.
  void editList(int kind);
  // The grid's rows as the editor holds them.
  std::vector<ListRow> rows() const;
  // The list being edited ("" while the panel is closed).
  const fs::path& editedPath() const { return editedPath_; }
  // A click on a grid cell (row counted from 0 under the header).
  void clickCell(int row, int column);

 private:
  void fillLists();
  void applyList(int kind, bool close);
  void loadGrid(const std::vector<std::string>& lines);
  void commitEditBox();
  void hideEditBoxes();
  void addRow();
  void sortByCode();
  void save(int how);
  void updateBaseProgram();
  void setRows(const std::vector<ListRow>& rows);
  void closePanel();
  bool isCommentRow(int row) const;

  Session& session_;
  UserInterface& ui_;
  std::array<QListWidget*, 2> lists_{};
  std::array<QLabel*, 2> chosen_{};
  QWidget* panel_ = nullptr;
  QLabel* heading_ = nullptr;
  QTableWidget* grid_ = nullptr;
  QLineEdit* codeEdit_ = nullptr;
  QLineEdit* nameEdit_ = nullptr;
  QLabel* label4_ = nullptr;
  QLineEdit* baseCode_ = nullptr;
  QLineEdit* baseName_ = nullptr;
  QPushButton* command8_ = nullptr;
  int editKind_ = -1;
  fs::path editedPath_;
  int editRow_ = -1, editColumn_ = -1;
};

}  // namespace tolv::ui
