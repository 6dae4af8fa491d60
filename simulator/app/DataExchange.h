#pragma once
#include <QString>

class QLineEdit;
class QWidget;

// One transfer between a dialog's members and its edit fields, in one direction.
//
// Showing rewrites each field whose text differs from its member's, with the field's
// signals blocked: showing values must never look like the user editing them. The
// field that has the keyboard focus is left alone while its text reads as its member
// or is not a number yet: the user is still typing it.
// Validating goes field by field and stops at the first text that is not a number:
// the members before it take the fields' values, that member and the ones after keep
// theirs, and the failing field is remembered together with the prompt to show.
// Reading while typing takes every field that holds a number and quietly leaves the
// member of every other field as it was: "-" on the way to "-30" is no mistake.
// Every number field ends up showing its state: a red frame while its text is not a
// number, and its member's whole value as its tooltip (the field may be too narrow).
class DataExchange {
public:
    enum class Direction { Show, Validate, ReadWhileTyping };

    DataExchange(QWidget& dialog, Direction direction);

    void Text(int controlId, double& value);
    void Text(int controlId, int& value);
    void Text(int controlId, QString& value);

    bool Failed() const { return m_failedControl != nullptr; }
    QLineEdit* FailedControl() const { return m_failedControl; }
    const QString& FailurePrompt() const { return m_failurePrompt; }
    // What a number field that is not a number is told.
    static const QString& NumberPrompt();

private:
    QLineEdit& Control(int controlId) const;
    void Write(QLineEdit& control, const QString& text);
    static void ShowNumberState(QLineEdit& control, double value);
    template <typename Value, typename Parse>
    void Exchange(int controlId, Value& value, const QString& formatted, Parse parse, const QString& prompt);

    QWidget& m_dialog;
    Direction m_direction;
    QLineEdit* m_failedControl = nullptr;
    QString m_failurePrompt;
};
