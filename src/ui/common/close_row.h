#pragma once
// The row of a read-only window: its "閉じる" button (Command1) at the right.

#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>

namespace tolv::ui {

inline QPushButton* addCloseRow(QDialog* dialog, QBoxLayout* layout) {
  auto* close = new QPushButton(QStringLiteral("閉じる"), dialog);
  close->setObjectName(QStringLiteral("Command1"));
  close->setAutoDefault(false);
  QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::accept);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(close);
  layout->addLayout(row);
  return close;
}

}  // namespace tolv::ui
