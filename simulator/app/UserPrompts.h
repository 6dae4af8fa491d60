#pragma once
#include <QMessageBox>
#include <QString>

class QWidget;

// Everything the main dialog asks of the user in a window of its own. The desktop
// answers through real modal dialogs; tests answer without any.
class UserPrompts {
public:
    // Export: a table written as a fuzzylite engine (.fll, .fis, .fcl).
    enum class FileMode { Save, Load, Export };
    enum class UnsavedChoice { Save, Discard, Cancel };

    virtual ~UserPrompts() = default;
    // The full path of the chosen inference file, or an empty text when cancelled.
    virtual QString ChooseInferenceFile(QWidget* parent, FileMode mode) = 0;
    // A modal message with the application's name as caption and an OK button.
    virtual void ShowMessage(QWidget* parent, const QString& text, QMessageBox::Icon icon) = 0;
    // Asked before quitting with a table that no file holds yet.
    virtual UnsavedChoice AskToSaveChanges(QWidget* parent) = 0;
};
