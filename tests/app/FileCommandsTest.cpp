#include <clocale>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <QFileDialog>
#include <QLabel>
#include <QTemporaryDir>

#include "DialogFixture.h"
#include "app/DesktopPrompts.h"

namespace {

class FileCommandsTest : public DialogFixture {
protected:
    QString PathOf(const char* name) const { return directory.filePath(QString::fromUtf8(name)); }

    static std::string Contents(const QString& path)
    {
        std::ifstream file(path.toStdString());
        std::stringstream contents;
        contents << file.rdbuf();
        return contents.str();
    }

    static void Write(const QString& path, const std::string& text) { std::ofstream(path.toStdString()) << text; }

    void SetTable(const InferenceTable& table)
    {
        for (int k = 0; k < 8; ++k) {
            dialog.m_angle[k] = table.angles[k];
            dialog.m_speed[k] = table.speeds[k];
        }
        dialog.UpdateData(false);
        dialog.ApplyTable();
    }

    void SaveThenLoadRoundTrip()
    {
        InferenceTable table;
        for (int k = 0; k < 8; ++k) {
            table.angles[k] = -30.0 + 7.5 * k;
            table.speeds[k] = 1.23456789 * k;
        }
        SetTable(table);
        prompts->paths = {PathOf("round.ifi"), PathOf("round.ifi")};
        dialog.OnSaveInferences();
        EXPECT_EQ(Contents(PathOf("round.ifi")).substr(0, 40), "-30.000000 0.000000\n-22.500000 1.234568\n");

        SetTable(InferenceTable{});
        dialog.OnLoadInferences();
        EXPECT_TRUE(prompts->messages.empty());
        for (int k = 0; k < 8; ++k) {
            EXPECT_EQ(dialog.m_table.angles[k], table.angles[k]);
            EXPECT_NEAR(dialog.m_table.speeds[k], table.speeds[k], 5e-7);
        }
        EXPECT_EQ(Field(kSpeedFields[1])->text(), "1.234568");
        EXPECT_EQ(Field(kAngleFields[1])->text(), "-22.5");
    }

    QTemporaryDir directory;
};

TEST_F(FileCommandsTest, SavesAFreshTableAsEightZeroLines)
{
    prompts->paths = {PathOf("fresh.ifi")};
    dialog.OnSaveInferences();
    std::string expected;
    for (int k = 0; k < 8; ++k) expected += "0.000000 0.000000\n";
    EXPECT_EQ(Contents(PathOf("fresh.ifi")), expected);
    EXPECT_TRUE(prompts->messages.empty());
    ASSERT_EQ(prompts->asked.size(), 1u);
    EXPECT_EQ(prompts->asked.front(), UserPrompts::FileMode::Save);
}

TEST_F(FileCommandsTest, LoadsBackWhatItSaved)
{
    SaveThenLoadRoundTrip();
}

TEST_F(FileCommandsTest, LoadsBackWhatItSavedUnderACommaDecimalLocale)
{
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string restore = previous ? previous : "C";
    ASSERT_NE(std::setlocale(LC_ALL, "fr_FR.UTF-8"), nullptr) << "the fr_FR.UTF-8 locale is not installed";
    SaveThenLoadRoundTrip();
    std::setlocale(LC_ALL, restore.c_str());
}

TEST_F(FileCommandsTest, CancellingEitherFileDialogChangesNothing)
{
    Field(kAngleFields[2])->setText("5");
    dialog.OnSaveInferences();
    dialog.OnLoadInferences();
    EXPECT_TRUE(prompts->messages.empty());
    EXPECT_EQ(dialog.m_table.angles[2], 5.0);
    EXPECT_EQ(prompts->asked.size(), 2u);
    EXPECT_TRUE(QDir(directory.path()).isEmpty());
}

TEST_F(FileCommandsTest, ReportsAFileThatCannotBeRead)
{
    Field(kAngleFields[0])->setText("9");
    prompts->paths = {PathOf("missing.ifi")};
    dialog.OnLoadInferences();
    ASSERT_EQ(prompts->messages.size(), 1u);
    EXPECT_EQ(prompts->messages.front(), "Impossible d'ouvrir le fichier en lecture !");
    EXPECT_EQ(dialog.m_table.angles[0], 9.0);
    EXPECT_EQ(Field(kAngleFields[0])->text(), "9");
}

TEST_F(FileCommandsTest, ReportsAFileThatCannotBeWritten)
{
    prompts->paths = {directory.path()};  // a folder
    dialog.OnSaveInferences();
    ASSERT_EQ(prompts->messages.size(), 1u);
    EXPECT_EQ(prompts->messages.front(), "Impossible d'ouvrir le fichier en écriture !");

    // Opens fine, but no byte reaches the disk: that is no success either.
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    prompts->paths = {QStringLiteral("/dev/full")};
    dialog.OnSaveInferences();
    ASSERT_EQ(prompts->messages.size(), 2u);
    EXPECT_EQ(prompts->messages.back(), "Impossible d'ouvrir le fichier en écriture !");
}

TEST_F(FileCommandsTest, AShortFileLoadsWhatItHasAndSaysHowMuch)
{
    for (int k = 0; k < 8; ++k) Field(kSpeedFields[k])->setText("4");
    Write(PathOf("short.ifi"), "10\t20\r\n30 oops 40\n");
    prompts->paths = {PathOf("short.ifi")};
    dialog.OnLoadInferences();
    EXPECT_EQ(dialog.m_table.angles[0], 10.0);
    EXPECT_EQ(dialog.m_table.speeds[0], 20.0);
    EXPECT_EQ(dialog.m_table.angles[1], 30.0);
    EXPECT_EQ(dialog.m_table.speeds[1], 4.0);
    EXPECT_EQ(dialog.m_table.angles[2], 0.0);
    EXPECT_EQ(Field(kAngleFields[1])->text(), "30");
    EXPECT_EQ(Field(kSpeedFields[1])->text(), "4");
    ASSERT_EQ(prompts->messages.size(), 1u);
    EXPECT_TRUE(prompts->messages.front().contains("valeurs lues : 3 sur 16"))
        << prompts->messages.front().toStdString();
}

TEST_F(FileCommandsTest, ReadsSixteenNumbersOnOneLineAndIgnoresTheRest)
{
    Write(PathOf("line.ifi"), "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 trailing words\n");
    prompts->paths = {PathOf("line.ifi")};
    dialog.OnLoadInferences();
    EXPECT_TRUE(prompts->messages.empty());
    EXPECT_EQ(dialog.m_table.angles[7], 15.0);
    EXPECT_EQ(dialog.m_table.speeds[7], 16.0);
    EXPECT_EQ(Field(kSpeedFields[7])->text(), "16");
}

TEST(DesktopPromptsTest, FileDialogOffersInferenceFilesOnlyAndNeverAsksToReplace)
{
    for (const auto mode : {UserPrompts::FileMode::Save, UserPrompts::FileMode::Load}) {
        const auto dialog = MakeInferenceFileDialog(nullptr, mode);
        EXPECT_EQ(dialog->nameFilters(),
                  QStringList({mode == UserPrompts::FileMode::Save
                                   ? QStringLiteral("Fichiers d'inférences (*.ifi)")
                                   : QStringLiteral("Fichiers d'inférences (*.ifi *.fll *.fis)")}));
        EXPECT_EQ(dialog->defaultSuffix(), "ifi");
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(dialog->acceptMode(),
                  mode == UserPrompts::FileMode::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    }
    EXPECT_EQ(MakeInferenceFileDialog(nullptr, UserPrompts::FileMode::Load)->fileMode(), QFileDialog::ExistingFile);
}

TEST_F(FileCommandsTest, QuitsAtOnceWhenNoChangeWouldBeLost)
{
    ShowActive();
    // Typed and typed back: the same table, bit for bit.
    Retype(Field(kAngleFields[0]), "5");
    Retype(Field(kAngleFields[0]), "0");
    Button(kQuitButton)->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(prompts->unsavedQuestions, 0);

    // Saved, then loaded: nothing left to save either time.
    ShowActive();
    Retype(Field(kAngleFields[0]), "5");
    prompts->paths = {PathOf("kept.ifi")};
    dialog.OnSaveInferences();
    Button(kQuitButton)->click();
    EXPECT_FALSE(dialog.isVisible());
    ShowActive();
    Write(PathOf("other.ifi"), "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16\n");
    prompts->paths = {PathOf("other.ifi")};
    dialog.OnLoadInferences();
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(prompts->unsavedQuestions, 0);
}

TEST_F(FileCommandsTest, AsksBeforeQuittingWithAnEditedTable)
{
    ShowActive();
    Retype(Field(kSpeedFields[3]), "-3");
    prompts->unsavedChoices = {UserPrompts::UnsavedChoice::Cancel, UserPrompts::UnsavedChoice::Discard};
    QTest::mouseClick(Button(kQuitButton), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(prompts->unsavedQuestions, 1);
    EXPECT_EQ(dialog.m_table.speeds[3], -3.0);
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(prompts->unsavedQuestions, 2);
    EXPECT_TRUE(QDir(directory.path()).isEmpty());
}

TEST_F(FileCommandsTest, SavingFromTheQuestionQuitsOnlyOnceTheTableIsSaved)
{
    ShowActive();
    Retype(Field(kSpeedFields[3]), "-3");
    prompts->unsavedChoices = {UserPrompts::UnsavedChoice::Save, UserPrompts::UnsavedChoice::Save};
    // The file dialog cancelled: nothing saved, the program stays.
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());
    prompts->paths = {PathOf("quit.ifi")};
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(Contents(PathOf("quit.ifi")).substr(0, 38), "0.000000 0.000000\n0.000000 0.000000\n0.");
    EXPECT_NE(Contents(PathOf("quit.ifi")).find("0.000000 -3.000000\n"), std::string::npos);
}

TEST_F(FileCommandsTest, AFailedSaveFromTheQuestionKeepsTheProgramOpen)
{
    ShowActive();
    Retype(Field(kSpeedFields[3]), "-3");
    prompts->unsavedChoices = {UserPrompts::UnsavedChoice::Save};
    prompts->paths = {directory.path()};  // a folder
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(prompts->messages, std::vector<QString>{"Impossible d'ouvrir le fichier en écriture !"});
}

TEST(DesktopPromptsTest, FileDialogsSpeakFrenchAndStartWithStarDotIfi)
{
    for (const auto mode : {UserPrompts::FileMode::Save, UserPrompts::FileMode::Load}) {
        const auto dialog = MakeInferenceFileDialog(nullptr, mode);
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
        dialog->show();
        QApplication::processEvents();
        QStringList texts;
        for (const QPushButton* button : dialog->findChildren<QPushButton*>()) texts << button->text();
        for (const QLabel* label : dialog->findChildren<QLabel*>()) texts << label->text();
        const char* confirm = mode == UserPrompts::FileMode::Save ? "&Enregistrer" : "&Ouvrir";
        for (const char* expected : {confirm, "Annuler", "Voir dans :", "&Nom de fichier :", "Fichiers de type :"})
            EXPECT_TRUE(texts.contains(QString::fromUtf8(expected)))
                << expected << " in " << texts.join('|').toStdString();
        const auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->text(), "*.ifi");
        dialog->reject();
    }
}

TEST(DesktopPromptsTest, UnsavedChangesQuestionOffersSaveQuitOrStay)
{
    const auto box = MakeUnsavedChangesBox(nullptr);
    EXPECT_EQ(box->windowTitle(), "Marlune");
    EXPECT_TRUE(box->text().contains(QString::fromUtf8("sauvegarder avant de quitter")));
    QStringList texts;
    for (QAbstractButton* button : box->buttons()) {
        texts << button->text();
        const auto expected = button->text() == "Sauvegarder"                ? UserPrompts::UnsavedChoice::Save
                              : button->text() == "Quitter sans sauvegarder" ? UserPrompts::UnsavedChoice::Discard
                                                                             : UserPrompts::UnsavedChoice::Cancel;
        EXPECT_EQ(ChoiceOf(box->buttonRole(button)), expected) << button->text().toStdString();
    }
    texts.sort();
    EXPECT_EQ(texts, QStringList({"Annuler", "Quitter sans sauvegarder", "Sauvegarder"}));
    EXPECT_EQ(box->escapeButton()->text(), "Annuler");
    EXPECT_EQ(box->defaultButton()->text(), "Sauvegarder");
    // Closed without a button: the program stays.
    EXPECT_EQ(ChoiceOf(QMessageBox::InvalidRole), UserPrompts::UnsavedChoice::Cancel);
}

TEST(DesktopPromptsTest, MessageBoxIsCaptionedWithTheProgramAndOffersOkOnly)
{
    const auto box =
        MakeMessageBox(nullptr, QStringLiteral("Impossible d'ouvrir le fichier en lecture !"), QMessageBox::NoIcon);
    EXPECT_EQ(box->windowTitle(), "Marlune");
    EXPECT_EQ(box->text(), "Impossible d'ouvrir le fichier en lecture !");
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
}

}  // namespace
