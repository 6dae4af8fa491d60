// Typing into the sixteen fields of the table as a user does: keystroke by keystroke,
// moving on with Tab, Enter or the mouse.
#include <QFocusEvent>

#include "DialogFixture.h"
#include "reasoning/DialogNumbers.h"

namespace {

class TableFieldTest : public DialogFixture {
protected:
    void SetUp() override { ShowActive(); }

    static bool LooksIncomplete(const QLineEdit* field) { return !field->styleSheet().isEmpty(); }
};

TEST_F(TableFieldTest, NumbersTypedKeyByKeyArriveWithoutAMessage)
{
    struct Case {
        const char* typed;
        double value;
    };
    for (const Case& c : {Case{"-30", -30.0}, Case{"1e-3", 1e-3}, Case{"+.5", 0.5}, Case{"-1e+2", -100.0}}) {
        QLineEdit* field = Field(kAngleFields[4]);
        Retype(field, "7");
        field->selectAll();
        double last = 7.0;
        for (const QChar key : QString::fromLatin1(c.typed)) {
            QTest::keyClick(field, key.toLatin1());
            // Every text on the way holds a number or keeps the last one.
            const auto soFar = TypedNumber(field->text());
            last = soFar.value_or(last);
            EXPECT_EQ(dialog.m_table.angles[4], last) << c.typed << " at " << field->text().toStdString();
            EXPECT_EQ(LooksIncomplete(field), !soFar.has_value()) << c.typed << " at " << field->text().toStdString();
        }
        EXPECT_EQ(dialog.m_table.angles[4], c.value) << c.typed;
        EXPECT_EQ(field->text(), QString::fromLatin1(c.typed));
        // Back from its red frame, the field keeps the font of its dialog.
        EXPECT_EQ(field->font().toString(), dialog.font().toString());
    }
    EXPECT_TRUE(prompts->messages.empty());
    EXPECT_EQ(QApplication::focusWidget(), Field(kAngleFields[4]));
}

TEST_F(TableFieldTest, AClearedFieldKeepsItsValueUntilTheNextNumber)
{
    Retype(Field(kSpeedFields[4]), "2.5");
    Retype(Field(kSpeedFields[4]), "");
    EXPECT_EQ(dialog.m_table.speeds[4], 2.5);
    EXPECT_TRUE(LooksIncomplete(Field(kSpeedFields[4])));
    QTest::keyClicks(Field(kSpeedFields[4]), "5");
    QApplication::processEvents();
    EXPECT_EQ(dialog.m_table.speeds[4], 5.0);
    EXPECT_FALSE(LooksIncomplete(Field(kSpeedFields[4])));
    EXPECT_TRUE(prompts->messages.empty());
}

TEST_F(TableFieldTest, LeavingAFieldThatIsNotANumberReportsItOnceAndReturns)
{
    for (const char* bad : {"", "-", "1e", ".", "abc", "3,5", "1e999"}) {
        prompts->messages.clear();
        Retype(Field(kSpeedFields[1]), "4");
        // Pasted whole, so that no text along the way is a number.
        Field(kSpeedFields[1])->selectAll();
        Field(kSpeedFields[1])->insert(QString::fromLatin1(bad));
        QApplication::processEvents();
        EXPECT_TRUE(prompts->messages.empty()) << bad;

        QTest::keyClick(Field(kSpeedFields[1]), Qt::Key_Tab);
        QApplication::processEvents();
        ASSERT_EQ(prompts->messages.size(), 1u) << bad;
        EXPECT_EQ(prompts->messages.front(), "Veuillez entrer un nombre.");
        EXPECT_EQ(QApplication::focusWidget(), Field(kSpeedFields[1])) << bad;
        EXPECT_EQ(Field(kSpeedFields[1])->selectedText(), Field(kSpeedFields[1])->text()) << bad;
        EXPECT_EQ(dialog.m_table.speeds[1], 4.0) << bad;
    }
}

TEST_F(TableFieldTest, TwoBadFieldsDoNotPassTheFocusToAndFro)
{
    Field(kAngleFields[0])->setText("-");
    Field(kAngleFields[1])->setText("-");
    Field(kAngleFields[1])->setFocus();
    Field(kAngleFields[0])->setFocus(Qt::MouseFocusReason);
    for (int k = 0; k < 5; ++k) QApplication::processEvents();
    EXPECT_EQ(prompts->messages.size(), 1u);
    EXPECT_EQ(QApplication::focusWidget(), Field(kAngleFields[1]));
}

TEST_F(TableFieldTest, LosingTheKeyboardToAnotherWindowIsNotLeavingTheField)
{
    Retype(Field(kAngleFields[2]), "-");
    QFocusEvent windowChange(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(Field(kAngleFields[2]), &windowChange);
    QFocusEvent menu(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(Field(kAngleFields[2]), &menu);
    QApplication::processEvents();
    EXPECT_TRUE(prompts->messages.empty());
}

TEST_F(TableFieldTest, EnterMovesToTheNextFieldAndTheDialogStays)
{
    Retype(Field(kAngleFields[0]), "12");
    QTest::keyClick(Field(kAngleFields[0]), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), Field(kAngleFields[1]));
    QTest::keyClicks(Field(kAngleFields[1]), "8");
    QTest::keyClick(Field(kAngleFields[1]), Qt::Key_Enter);
    EXPECT_EQ(dialog.m_table.angles[0], 12.0);
    EXPECT_EQ(dialog.m_table.angles[1], 8.0);
    EXPECT_EQ(QApplication::focusWidget(), Field(kAngleFields[2]));
    // The last angle leads to the first speed, the last speed back to the first angle.
    Field(kAngleFields[7])->setFocus();
    QTest::keyClick(Field(kAngleFields[7]), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), Field(kSpeedFields[0]));
    Field(kSpeedFields[7])->setFocus();
    QTest::keyClick(Field(kSpeedFields[7]), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), Field(kAngleFields[0]));
    // Nor does Enter in a statistics field quit.
    Field(kMeanCollisionsField)->setFocus();
    QTest::keyClick(Field(kMeanCollisionsField), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(prompts->unsavedQuestions, 0);
    EXPECT_TRUE(prompts->messages.empty());
}

TEST_F(TableFieldTest, EnterOnAFieldThatIsNotANumberReportsItAndStays)
{
    Retype(Field(kAngleFields[3]), "1e");
    QTest::keyClick(Field(kAngleFields[3]), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(prompts->messages.size(), 1u);
    EXPECT_EQ(QApplication::focusWidget(), Field(kAngleFields[3]));
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(TableFieldTest, CommandsRefuseToWorkFromAHalfTypedField)
{
    Retype(Field(kAngleFields[5]), "-");
    prompts->paths = {QStringLiteral("/nonexistent/never.ifi")};
    dialog.OnSaveInferences();
    EXPECT_EQ(prompts->messages.size(), 1u);
    EXPECT_TRUE(prompts->asked.empty());  // no file dialog
    dialog.OnRunSimulation();
    EXPECT_EQ(prompts->messages.size(), 2u);
    EXPECT_EQ(dialog.TickCount(), 0);
    EXPECT_EQ(QApplication::focusWidget(), Field(kAngleFields[5]));
}

TEST_F(TableFieldTest, EachFieldShowsItsWholeValueAsItsTooltip)
{
    dialog.m_angle[1] = -22.033517;
    dialog.m_speed[3] = 1.0 / 3.0;
    dialog.UpdateData(false);
    EXPECT_EQ(Field(kAngleFields[1])->toolTip(), "-22.033517");
    EXPECT_EQ(Field(kSpeedFields[3])->toolTip(), "0.333333333333333");
    EXPECT_EQ(Field(kAngleFields[0])->toolTip(), "0");
    Retype(Field(kAngleFields[0]), "123.456789");
    EXPECT_EQ(Field(kAngleFields[0])->toolTip(), "123.456789");
    // A field on its way to a number tells the value its entry still holds.
    Retype(Field(kAngleFields[0]), "-");
    EXPECT_EQ(Field(kAngleFields[0])->toolTip(), "123.456789");
}

}  // namespace
