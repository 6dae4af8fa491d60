// Typing into the sixteen fields of the table as a user does: keystroke by keystroke,
// moving on with Tab, Enter or the mouse.
#include <QFocusEvent>

#include "DialogFixture.h"
#include "NumberText.h"

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
        QLineEdit* field = Field(1005);
        Retype(field, "7");
        field->selectAll();
        double last = 7.0;
        for (const QChar key : QString::fromLatin1(c.typed)) {
            QTest::keyClick(field, key.toLatin1());
            // Every text on the way holds a number or keeps the last one.
            const auto soFar = ParseNumber(field->text());
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
    EXPECT_EQ(QApplication::focusWidget(), Field(1005));
}

TEST_F(TableFieldTest, AClearedFieldKeepsItsValueUntilTheNextNumber)
{
    Retype(Field(1020), "2.5");
    Retype(Field(1020), "");
    EXPECT_EQ(dialog.m_table.speeds[4], 2.5);
    EXPECT_TRUE(LooksIncomplete(Field(1020)));
    QTest::keyClicks(Field(1020), "5");
    QApplication::processEvents();
    EXPECT_EQ(dialog.m_table.speeds[4], 5.0);
    EXPECT_FALSE(LooksIncomplete(Field(1020)));
    EXPECT_TRUE(prompts->messages.empty());
}

TEST_F(TableFieldTest, LeavingAFieldThatIsNotANumberReportsItOnceAndReturns)
{
    for (const char* bad : {"", "-", "1e", ".", "abc", "3,5", "1e999"}) {
        prompts->messages.clear();
        Retype(Field(1017), "4");
        // Pasted whole, so that no text along the way is a number.
        Field(1017)->selectAll();
        Field(1017)->insert(QString::fromLatin1(bad));
        QApplication::processEvents();
        EXPECT_TRUE(prompts->messages.empty()) << bad;

        QTest::keyClick(Field(1017), Qt::Key_Tab);
        QApplication::processEvents();
        ASSERT_EQ(prompts->messages.size(), 1u) << bad;
        EXPECT_EQ(prompts->messages.front(), "Veuillez entrer un nombre.");
        EXPECT_EQ(QApplication::focusWidget(), Field(1017)) << bad;
        EXPECT_EQ(Field(1017)->selectedText(), Field(1017)->text()) << bad;
        EXPECT_EQ(dialog.m_table.speeds[1], 4.0) << bad;
    }
}

TEST_F(TableFieldTest, TwoBadFieldsDoNotPassTheFocusToAndFro)
{
    Field(1000)->setText("-");
    Field(1002)->setText("-");
    Field(1002)->setFocus();
    Field(1000)->setFocus(Qt::MouseFocusReason);
    for (int k = 0; k < 5; ++k)
        QApplication::processEvents();
    EXPECT_EQ(prompts->messages.size(), 1u);
    EXPECT_EQ(QApplication::focusWidget(), Field(1002));
}

TEST_F(TableFieldTest, LosingTheKeyboardToAnotherWindowIsNotLeavingTheField)
{
    Retype(Field(1003), "-");
    QFocusEvent windowChange(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(Field(1003), &windowChange);
    QFocusEvent menu(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(Field(1003), &menu);
    QApplication::processEvents();
    EXPECT_TRUE(prompts->messages.empty());
}

TEST_F(TableFieldTest, EnterMovesToTheNextFieldAndTheDialogStays)
{
    Retype(Field(1000), "12");
    QTest::keyClick(Field(1000), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), Field(1002));
    QTest::keyClicks(Field(1002), "8");
    QTest::keyClick(Field(1002), Qt::Key_Enter);
    EXPECT_EQ(dialog.m_table.angles[0], 12.0);
    EXPECT_EQ(dialog.m_table.angles[1], 8.0);
    EXPECT_EQ(QApplication::focusWidget(), Field(1003));
    // The last angle leads to the first speed, the last speed back to the first angle.
    Field(1008)->setFocus();
    QTest::keyClick(Field(1008), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), Field(1016));
    Field(1023)->setFocus();
    QTest::keyClick(Field(1023), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), Field(1000));
    // Nor does Enter in a statistics field quit.
    Field(1012)->setFocus();
    QTest::keyClick(Field(1012), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(prompts->unsavedQuestions, 0);
    EXPECT_TRUE(prompts->messages.empty());
}

TEST_F(TableFieldTest, EnterOnAFieldThatIsNotANumberReportsItAndStays)
{
    Retype(Field(1004), "1e");
    QTest::keyClick(Field(1004), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(prompts->messages.size(), 1u);
    EXPECT_EQ(QApplication::focusWidget(), Field(1004));
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(TableFieldTest, CommandsRefuseToWorkFromAHalfTypedField)
{
    Retype(Field(1006), "-");
    prompts->paths = {QStringLiteral("/nonexistent/never.ifi")};
    dialog.OnSaveInferences();
    EXPECT_EQ(prompts->messages.size(), 1u);
    EXPECT_TRUE(prompts->asked.empty());  // no file dialog
    dialog.OnRunSimulation();
    EXPECT_EQ(prompts->messages.size(), 2u);
    EXPECT_EQ(dialog.TickCount(), 0);
    EXPECT_EQ(QApplication::focusWidget(), Field(1006));
}

TEST_F(TableFieldTest, EachFieldShowsItsWholeValueAsItsTooltip)
{
    dialog.m_angle[1] = -22.033517;
    dialog.m_speed[3] = 1.0 / 3.0;
    dialog.UpdateData(false);
    EXPECT_EQ(Field(1002)->toolTip(), "-22.033517");
    EXPECT_EQ(Field(1019)->toolTip(), "0.333333333333333");
    EXPECT_EQ(Field(1000)->toolTip(), "0");
    Retype(Field(1000), "123.456789");
    EXPECT_EQ(Field(1000)->toolTip(), "123.456789");
    // A field on its way to a number tells the value its entry still holds.
    Retype(Field(1000), "-");
    EXPECT_EQ(Field(1000)->toolTip(), "123.456789");
}

} // namespace
