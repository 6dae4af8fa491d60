// The inference file commands of the main dialog.
#include "app/MarluneDlg.h"

#include "app/InferenceView.h"
#include "interop/TableFiles.h"
#include "world/InferenceFile.h"

namespace {

const QString kWriteFailed = QStringLiteral("Impossible d'ouvrir le fichier en écriture !");
const QString kReadFailed = QStringLiteral("Impossible d'ouvrir le fichier en lecture !");

}  // namespace

void CMarluneDlg::OnSaveInferences()
{
    // A field left half-typed would be saved with its previous value, unseen.
    if (!UpdateData(true)) return;
    const QString path = m_prompts->ChooseInferenceFile(this, UserPrompts::FileMode::Save);
    if (path.isEmpty()) return;
    // A file that could be opened but not written or closed is as lost as one that
    // could not be opened: the user hears about it the same way.
    if (!SaveInferenceFile(path.toStdString(), m_table)) {
        m_prompts->ShowMessage(this, kWriteFailed, QMessageBox::NoIcon);
        return;
    }
    m_savedTable = m_table;
}

void CMarluneDlg::ShowTable(const InferenceTable& table)
{
    m_table = table;
    m_savedTable = table;
    for (int k = 0; k < InferenceTable::kSituations; ++k) {
        m_angle[k] = m_table.angles[k];
        m_speed[k] = m_table.speeds[k];
    }
    UpdateData(false);
    m_inferenceView->ShowTable(m_table);
}

void CMarluneDlg::OnLoadInferences()
{
    const QString path = m_prompts->ChooseInferenceFile(this, UserPrompts::FileMode::Load);
    if (path.isEmpty()) return;
    const TableFileFormat format = TableFileFormatOf(path.toStdString());
    if (format == TableFileFormat::Fll || format == TableFileFormat::Fis || format == TableFileFormat::Fcl) {
        // An engine is taken whole or not at all: a refused one changes nothing.
        InferenceTable table = m_table;
        TableRefusal refusal;
        if (!LoadTableFile(path.toStdString(), table, refusal)) {
            m_prompts->ShowMessage(this, QString::fromStdString(refusal.french), QMessageBox::Warning);
            return;
        }
        ShowTable(table);
        return;
    }
    const int valuesRead = LoadInferenceFile(path.toStdString(), m_table);
    if (valuesRead < 0) {
        m_prompts->ShowMessage(this, kReadFailed, QMessageBox::NoIcon);
        return;
    }
    ShowTable(m_table);
    constexpr int kTableValues = 2 * InferenceTable::kSituations;
    if (valuesRead < kTableValues) {
        m_prompts->ShowMessage(this,
                               QStringLiteral("Fichier incomplet : valeurs lues : %1 sur %2 ; "
                                              "les autres n'ont pas changé.")
                                   .arg(valuesRead)
                                   .arg(kTableValues),
                               QMessageBox::NoIcon);
    }
}

void CMarluneDlg::OnExportInferences()
{
    // A field left half-typed would be exported with its previous value, unseen.
    if (!UpdateData(true)) return;
    const QString path = m_prompts->ChooseInferenceFile(this, UserPrompts::FileMode::Export);
    if (path.isEmpty()) return;
    TableRefusal refusal;
    if (!ExportTableFile(path.toStdString(), m_table, refusal))
        m_prompts->ShowMessage(this, QString::fromStdString(refusal.french), QMessageBox::Warning);
}
