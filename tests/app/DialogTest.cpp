#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include "DialogFixture.h"
#include "app/AboutDlg.h"
#include "app/DialogBuilder.h"
#include "app/MarluneApp.h"

namespace {

using DialogTest = DialogFixture;

QStringList TextsOf(const QWidget& parent)
{
    QStringList texts;
    for (const QLabel* label : parent.findChildren<QLabel*>()) texts << label->text();
    for (const QGroupBox* group : parent.findChildren<QGroupBox*>()) texts << group->title();
    for (const QPushButton* button : parent.findChildren<QPushButton*>()) texts << button->text();
    return texts;
}

TEST_F(DialogTest, StartsWithZeroTableAndEmptyMeans)
{
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(Field(kAngleFields[k])->text(), "0") << k;
        EXPECT_EQ(Field(kSpeedFields[k])->text(), "0") << k;
        EXPECT_EQ(dialog.m_table.angles[k], 0.0);
        EXPECT_EQ(dialog.m_table.speeds[k], 0.0);
    }
    EXPECT_EQ(Field(kCollisionCountField)->text(), "0");
    EXPECT_EQ(Field(kMeanCollisionsField)->text(), "");
    EXPECT_EQ(Field(kMeanSpeedField)->text(), "");
    EXPECT_TRUE(Field(kCollisionCountField)->isReadOnly() && Field(kMeanCollisionsField)->isReadOnly() &&
                Field(kMeanSpeedField)->isReadOnly());
    EXPECT_EQ(dialog.windowTitle(), "Robot KALO : Evitement d'Obstacles");
    EXPECT_EQ(QCoreApplication::applicationName(), "Marlune");
    EXPECT_FALSE(dialog.windowIcon().isNull());
}

TEST_F(DialogTest, ShowsEveryTextExactly)
{
    const QStringList texts = TextsOf(dialog);
    for (const char* expected : {"Quitter",
                                 "Simulation",
                                 "Inférences",
                                 "Angle",
                                 "Vitesse",
                                 "S1",
                                 "S2",
                                 "S3",
                                 "S4",
                                 "S5",
                                 "S6",
                                 "S7",
                                 "S8",
                                 "Charger inférences",
                                 "Sauvegarder inférences",
                                 "Lancer la simulation",
                                 "Statistiques",
                                 "Nombre de collisions :",
                                 "     Collision moyenne          (collisions / 10s) :",
                                 "  Vitesse moyenne    (pix / s)"}) {
        EXPECT_TRUE(texts.contains(QString::fromUtf8(expected))) << expected;
    }
    // Eight situation pictures, each 24 x 24.
    int pictures = 0;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        if (!label->pixmap(Qt::ReturnByValue).isNull()) {
            ++pictures;
            EXPECT_EQ(label->pixmap(Qt::ReturnByValue).size(), QSize(24, 24));
        }
    }
    EXPECT_EQ(pictures, 8);
}

TEST_F(DialogTest, PlacesControlsInDialogUnitsOfItsFont)
{
    const DialogUnits units(dialog.font());
    EXPECT_GT(units.BaseWidth(), 3);
    EXPECT_GT(units.BaseHeight(), 8);
    EXPECT_EQ(dialog.size(), units.ToPixels(QSize(263, 259)));
    EXPECT_EQ(Button(kQuitButton)->geometry(), units.ToPixels(QRect(148, 219, 108, 33)));
    EXPECT_EQ(Button(kRunButton)->geometry(), units.ToPixels(QRect(165, 22, 71, 33)));
    EXPECT_EQ(Field(kAngleFields[4])->geometry(), units.ToPixels(QRect(56, 102, 30, 16)));
    EXPECT_EQ(Field(kSpeedFields[7])->geometry(), units.ToPixels(QRect(95, 159, 30, 16)));
    EXPECT_EQ(Field(kMeanCollisionsField)->geometry(), units.ToPixels(QRect(169, 138, 63, 16)));
}

TEST_F(DialogTest, TabsThroughControlsInTemplateOrderFromQuitter)
{
    ShowActive();
    ASSERT_EQ(QApplication::focusWidget(), Button(kQuitButton));
    QStringList order;
    QWidget* widget = Button(kQuitButton);
    do {
        if (widget->focusPolicy() & Qt::TabFocus) order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != Button(kQuitButton));
    // Quit, the angles, the speeds, load, save, run.
    QStringList expected{QString::number(kQuitButton)};
    for (const int id : kAngleFields) expected << QString::number(id);
    for (const int id : kSpeedFields) expected << QString::number(id);
    expected << QString::number(kLoadButton) << QString::number(kSaveButton) << QString::number(kRunButton);
    EXPECT_EQ(order, expected);
}

TEST_F(DialogTest, TypingInAnyFieldUpdatesOnlyItsTableEntry)
{
    ShowActive();
    for (int k = 0; k < 8; ++k) {
        for (const bool angle : {true, false}) {
            const InferenceTable before = dialog.m_table;
            const double value = angle ? 10.25 + k : 12.5 + k;
            Retype(Field(angle ? kAngleFields[k] : kSpeedFields[k]), QString::number(value));
            for (int j = 0; j < 8; ++j) {
                EXPECT_EQ(dialog.m_table.angles[j], angle && j == k ? value : before.angles[j]) << k << angle << j;
                EXPECT_EQ(dialog.m_table.speeds[j], !angle && j == k ? value : before.speeds[j]) << k << angle << j;
            }
        }
    }
    EXPECT_TRUE(prompts->messages.empty());
}

TEST_F(DialogTest, QuitterWithABadFieldKeepsTheDialogOpen)
{
    ShowActive();
    Retype(Field(kAngleFields[3]), "abc");
    prompts->messages.clear();
    // The click both leaves the field and asks to quit: one report, not two.
    QTest::mouseClick(Button(kQuitButton), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(prompts->messages.size(), 1u);
    EXPECT_EQ(QApplication::focusWidget(), Field(kAngleFields[3]));
    dialog.close();  // the close box is "Quitter" too
    EXPECT_TRUE(dialog.isVisible());

    Retype(Field(kAngleFields[3]), "2");
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(DialogTest, EscapeNeitherClosesNorRuns)
{
    ShowActive();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.IsRunning());
}

TEST_F(DialogTest, ShowingValuesDoesNotCountAsEditingThem)
{
    dialog.m_angle[3] = 1.0 / 3.0;
    dialog.m_speed[7] = 1e20;
    dialog.UpdateData(false);
    EXPECT_EQ(Field(kAngleFields[3])->text(), "0.333333333333333");
    // Wider than its field, a number shows its beginning, not its last decimals.
    EXPECT_EQ(Field(kAngleFields[3])->cursorPosition(), 0);
    EXPECT_EQ(Field(kSpeedFields[7])->text(), "1e+20");
    EXPECT_EQ(dialog.m_table.angles[3], 0.0);
    EXPECT_EQ(dialog.m_table.speeds[7], 0.0);
}

TEST_F(DialogTest, RewritesTypedNumbersInTheirShortForm)
{
    ShowActive();
    Retype(Field(kSpeedFields[2]), "1.50");
    EXPECT_EQ(Field(kSpeedFields[2])->text(), "1.50");
    EXPECT_EQ(dialog.m_table.speeds[2], 1.5);
    // Still being typed into: the user's text stays.
    dialog.UpdateData(false);
    EXPECT_EQ(Field(kSpeedFields[2])->text(), "1.50");
    Button(kLoadButton)->setFocus();
    dialog.UpdateData(false);
    EXPECT_EQ(Field(kSpeedFields[2])->text(), "1.5");
}

TEST_F(DialogTest, OffersTheAboutBoxOnF1AndInTheContextMenu)
{
    ShowActive();
    QString title;
    QTimer::singleShot(0, [&title] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(qobject_cast<CAboutDlg*>(modal), nullptr);
        title = modal->windowTitle();
        EXPECT_TRUE(TextsOf(*modal).contains("Marlune version 1.0"));
        qobject_cast<QDialog*>(modal)->accept();
    });
    QTest::keyClick(&dialog, Qt::Key_F1);
    EXPECT_EQ(title, "A propos de Marlune");

    ASSERT_EQ(dialog.actions().size(), 2);
    EXPECT_EQ(dialog.actions().front()->text(), "&A propos de Marlune...");
    EXPECT_EQ(dialog.actions().back()->text(), "Exporter...");
    // Other window commands do nothing here.
    dialog.OnSysCommand(0xF120, 0);
    EXPECT_EQ(qobject_cast<CAboutDlg*>(QApplication::activeModalWidget()), nullptr);
}

TEST_F(DialogTest, AboutBoxFollowsItsTemplate)
{
    CAboutDlg about;
    const DialogUnits units(about.font());
    EXPECT_EQ(about.size(), units.ToPixels(QSize(235, 55)));
    const QStringList texts = TextsOf(about);
    EXPECT_TRUE(texts.contains("Marlune version 1.0"));
    EXPECT_TRUE(texts.contains("OK"));
    EXPECT_EQ(texts.size(), 4);  // the second line, and the icon's empty text
}

}  // namespace

namespace {

TEST(MarluneAppTest, TheProgramEndsWhenItsDialogIsClosed)
{
    bool sawDialog = false;
    QTimer::singleShot(0, [&sawDialog] {
        auto* dialog = qobject_cast<CMarluneDlg*>(QApplication::activeModalWidget());
        sawDialog = dialog != nullptr;
        if (dialog) dialog->close();
    });
    CMarluneApp app;
    EXPECT_FALSE(app.InitInstance());
    EXPECT_TRUE(sawDialog);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
