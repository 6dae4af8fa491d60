#include "app/AboutDlg.h"

#include <QPushButton>

#include "app/DialogBuilder.h"

namespace {
constexpr int kAboutTemplate = 100;
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    BuildDialog(*this, LoadDialogTemplate(kAboutTemplate));
    auto* ok = findChild<QPushButton*>(QStringLiteral("1"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    ok->setFocus();
}
