#pragma once
#include <memory>

#include <QFileDialog>

#include "app/UserPrompts.h"

// The file dialog for inference files: Qt's own widgets (so they speak the program's
// French), one filter ("*.ifi", or for loading also the fuzzylite engines "*.fll" and
// "*.fis"), "*.ifi" in the name field, the "ifi" suffix added to a bare name, and no
// question before an existing file is replaced. For an export, one filter per
// fuzzylite format, the suffix of the chosen one added to a bare name.
std::unique_ptr<QFileDialog> MakeInferenceFileDialog(QWidget* parent, UserPrompts::FileMode mode);
std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, const QString& text, QMessageBox::Icon icon);
// The question asked before the program quits with unsaved changes; each button's
// role tells its choice.
std::unique_ptr<QMessageBox> MakeUnsavedChangesBox(QWidget* parent);
UserPrompts::UnsavedChoice ChoiceOf(QMessageBox::ButtonRole role);

class DesktopPrompts : public UserPrompts {
public:
    QString ChooseInferenceFile(QWidget* parent, FileMode mode) override;
    void ShowMessage(QWidget* parent, const QString& text, QMessageBox::Icon icon) override;
    UnsavedChoice AskToSaveChanges(QWidget* parent) override;
};
