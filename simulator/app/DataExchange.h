#pragma once
#include <QString>

class QLineEdit;
class QWidget;

// One transfer between a dialog's members and its edit fields, in one direction.
//
// Writing rewrites each field whose text differs from its member's, with the field's
// signals blocked: showing values must never look like the user editing them. The
// field that has the keyboard focus is left alone while its text reads as its member.
// Reading goes field by field and stops at the first text that is not a number: the
// members before it take the fields' values, that member and the ones after keep
// theirs, and the failing field is remembered together with the prompt to show.
class DataExchange {
public:
    DataExchange(QWidget& dialog, bool saveAndValidate);

    void Text(int controlId, double& value);
    void Text(int controlId, int& value);
    void Text(int controlId, QString& value);

    bool Failed() const { return m_failedControl != nullptr; }
    QLineEdit* FailedControl() const { return m_failedControl; }
    const QString& FailurePrompt() const { return m_failurePrompt; }

private:
    QLineEdit& Control(int controlId) const;
    void Write(QLineEdit& control, const QString& text);
    template <typename Value, typename Parse>
    void Exchange(int controlId, Value& value, const QString& formatted, Parse parse, const QString& prompt);

    QWidget& m_dialog;
    bool m_saveAndValidate;
    QLineEdit* m_failedControl = nullptr;
    QString m_failurePrompt;
};
