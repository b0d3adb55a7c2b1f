#pragma once
// `frmWARShyouji`: the file viewer for the day's WARS-format files (with the
// hit marks once the results are in), the Pirune listing and the pending-bet
// file. Copies to the clipboard, saves edits back, and sends the picks of a
// WARS-format file to the pending bets.

#include <QWidget>
#include <optional>

#include "core/session.h"
#include "core/ui.h"
#include "output/viewers.h"

class QLabel;
class QPushButton;

namespace tolv::ui {

class TextViewer;

class WarsViewer : public QWidget {
  Q_OBJECT
 public:
  WarsViewer(Session& session, UserInterface& ui, QWidget* parent = nullptr);

  // The loaders (ShowTolvWars, ShowPiruneWars, ShowPiruneText,
  // ShowPendingBets): false, with the loader's message, when there is no file.
  bool load(ViewerKind kind);
  std::optional<ViewerKind> kind() const { return kind_; }
  // After a command that may have changed the shown file: loads it again
  // unless the text has unsaved edits (saving asks then); a file that is
  // gone closes the viewer. No message either way.
  void refresh();
  // The shown file differs from what was loaded or last saved.
  bool changedOnDisk() const;

  QLabel* statusLabel() const { return status_; }
  QLabel* pathLabel() const { return path_; }
  TextViewer* text() const { return text_; }
  QPushButton* sendButton() const { return send_; }

  void copyToClipboard();
  void saveToFile();
  void sendPicks();

 signals:
  void closeRequested();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  Session& session_;
  UserInterface& ui_;
  std::optional<ViewerKind> kind_;
  std::string loadedBytes_;  // the shown file as loaded or last saved
  QLabel* status_;
  QLabel* path_;
  QPushButton* close_;
  QPushButton* copy_;
  QPushButton* save_;
  QPushButton* send_;
  TextViewer* text_;
};

}  // namespace tolv::ui
