#pragma once
#include <memory>

#include <QFileDialog>

#include "UserPrompts.h"

// The file dialog for inference files: one filter, the "ifi" suffix added to a bare
// name, and no question before an existing file is replaced.
std::unique_ptr<QFileDialog> MakeInferenceFileDialog(QWidget* parent, UserPrompts::FileMode mode);
std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, const QString& text, QMessageBox::Icon icon);

class DesktopPrompts : public UserPrompts {
public:
    QString ChooseInferenceFile(QWidget* parent, FileMode mode) override;
    void ShowMessage(QWidget* parent, const QString& text, QMessageBox::Icon icon) override;
};
