#pragma once
#include <deque>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/DialogControlIds.h"
#include "app/MarluneDlg.h"
#include "app/UserPrompts.h"

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

// Answers the dialog's file questions from a queue (an empty queue cancels), its
// unsaved-changes questions from another (an empty queue quits without saving), and
// records the messages it would have shown.
class FakePrompts : public UserPrompts {
public:
    std::deque<QString> paths;
    std::vector<FileMode> asked;
    std::vector<QString> messages;
    std::deque<UnsavedChoice> unsavedChoices;
    int unsavedQuestions = 0;

    QString ChooseInferenceFile(QWidget*, FileMode mode) override
    {
        asked.push_back(mode);
        if (paths.empty()) return QString();
        QString path = paths.front();
        paths.pop_front();
        return path;
    }
    void ShowMessage(QWidget*, const QString& text, QMessageBox::Icon) override { messages.push_back(text); }
    UnsavedChoice AskToSaveChanges(QWidget*) override
    {
        ++unsavedQuestions;
        if (unsavedChoices.empty()) return UnsavedChoice::Discard;
        const UnsavedChoice choice = unsavedChoices.front();
        unsavedChoices.pop_front();
        return choice;
    }
};

class DialogFixture : public ::testing::Test {
protected:
    DialogFixture()
    {
        auto fake = std::make_unique<FakePrompts>();
        prompts = fake.get();
        dialog.SetPrompts(std::move(fake));
    }

    QLineEdit* Field(int id) { return dialog.findChild<QLineEdit*>(QString::number(id)); }
    QPushButton* Button(int id) { return dialog.findChild<QPushButton*>(QString::number(id)); }

    // Replaces a field's whole text by typing, as a user would.
    static void Retype(QLineEdit* field, const QString& text)
    {
        field->setFocus();
        field->selectAll();
        if (text.isEmpty())
            QTest::keyClick(field, Qt::Key_Backspace);
        else
            QTest::keyClicks(field, text);
    }

    // Shows the dialog and makes it the active window, so focus changes are real.
    void ShowActive()
    {
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QApplication::processEvents();
    }

    CMarluneDlg dialog;
    FakePrompts* prompts = nullptr;
};
