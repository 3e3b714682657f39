#include "app/about_dlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/app_images.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About Vexa-T_Setup"));
  auto* icon = new QLabel(this);
  icon->setPixmap(AppIcon().pixmap(32, 32));
  icon->setAccessibleName(QStringLiteral("Vexa-T_Setup icon"));
  auto* text = new QLabel(QStringLiteral("Vexa-T_Setup Version 1.0.1"), this);
  text->setAccessibleName(text->text());
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("OK"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* row = new QHBoxLayout;
  row->addWidget(icon);
  row->addSpacing(12);
  row->addWidget(text, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(buttons);
  setFixedSize(sizeHint());
}
