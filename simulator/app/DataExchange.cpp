#include "app/DataExchange.h"

#include <stdexcept>

#include <QLineEdit>
#include <QSignalBlocker>
#include <QWidget>

#include "reasoning/DialogNumbers.h"

namespace {

const QString kNumberPrompt = QStringLiteral("Veuillez entrer un nombre.");
const QString kIntegerPrompt = QStringLiteral("Veuillez entrer un nombre entier.");

}  // namespace

DataExchange::DataExchange(QWidget& dialog, Direction direction) : m_dialog(dialog), m_direction(direction) {}

const QString& DataExchange::NumberPrompt()
{
    return kNumberPrompt;
}

QLineEdit& DataExchange::Control(int controlId) const
{
    auto* control = m_dialog.findChild<QLineEdit*>(QString::number(controlId));
    if (!control) throw std::logic_error("no edit field " + std::to_string(controlId));
    return *control;
}

void DataExchange::Write(QLineEdit& control, const QString& text)
{
    // An unchanged text is left alone, so the caret of a field being edited stays put.
    if (control.text() == text) return;
    const QSignalBlocker blocker(control);
    control.setText(text);
    // Show the beginning of a number wider than its field: its sign and integer part.
    control.setCursorPosition(0);
}

template <typename Value, typename Parse>
void DataExchange::Exchange(int controlId, Value& value, const QString& formatted, Parse parse, const QString& prompt)
{
    if (Failed()) return;
    QLineEdit& control = Control(controlId);
    const auto parsed = parse(control.text());
    if (m_direction == Direction::Show) {
        // The field being typed into keeps the user's text while it means the member's
        // value or is still on its way to a number: rewriting an unfinished "1." as "1"
        // between two keystrokes would turn the "1.5" being typed into 15, and a "-"
        // as "0" would make "-30" impossible to type during a run.
        if (!control.hasFocus() || (parsed && *parsed != value)) Write(control, formatted);
        return;
    }
    if (parsed) {
        value = *parsed;
        return;
    }
    if (m_direction == Direction::Validate) {
        m_failedControl = &control;
        m_failurePrompt = prompt;
    }
}

void DataExchange::ShowNumberState(QLineEdit& control, double value)
{
    const bool isNumber = TypedNumber(control.text()).has_value();
    // Restyling costs a full polish of the field: only on a change of state, since a
    // run shows the fields on every pass.
    if (isNumber != control.styleSheet().isEmpty()) {
        control.setStyleSheet(isNumber ? QString() : QStringLiteral("QLineEdit { border: 2px solid #d00000; }"));
        // Qt hands a field whose style sheet is taken away the application's font,
        // not its dialog's: the field would grow its digits.
        if (isNumber && control.parentWidget()) control.setFont(control.parentWidget()->font());
    }
    const QString whole = ShownNumber(value);
    if (control.toolTip() != whole) control.setToolTip(whole);
}

void DataExchange::Text(int controlId, double& value)
{
    Exchange(controlId, value, ShownNumber(value), TypedNumber, kNumberPrompt);
    ShowNumberState(Control(controlId), value);
}

void DataExchange::Text(int controlId, int& value)
{
    Exchange(controlId, value, QString::number(value), TypedInteger, kIntegerPrompt);
}

void DataExchange::Text(int controlId, QString& value)
{
    Exchange(
        controlId, value, value, [](const QString& text) { return std::optional<QString>(text); }, QString());
}
