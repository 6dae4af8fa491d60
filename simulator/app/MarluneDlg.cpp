#include "app/MarluneDlg.h"

#include <cstring>

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <opencv2/highgui.hpp>

#include "app/AboutDlg.h"
#include "app/DataExchange.h"
#include "app/DesktopPrompts.h"
#include "app/DialogBuilder.h"
#include "app/DialogControlIds.h"
#include "app/InferenceView.h"
#include "reasoning/DialogNumbers.h"
#include "res/Resources.h"

namespace {

constexpr int kAppIcon = 128;
constexpr int kAboutMenuString = 101;
constexpr unsigned kAboutCommand = 0x0010;

constexpr int kTableFieldCount = 2 * InferenceTable::kSituations;

// The user moving on from a field, as opposed to the window losing the keyboard to
// another window, a menu or a message box: only the user moving on is asked for a
// number.
bool IsLeavingByUser(Qt::FocusReason reason)
{
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

}  // namespace

CMarluneDlg::CMarluneDlg(QWidget* parent)
    : QDialog(parent), m_angle{}, m_speed{}, m_collisionCount(0), m_hIcon(LoadIcon(kAppIcon)),
      m_sim(kWorldSize, kWorldSize), m_prompts(std::make_unique<DesktopPrompts>()),
      m_keyPoll([](int delayMs) { return cv::waitKey(delayMs); })
{
    BuildDialog(*this, LoadDialogTemplate(kMainTemplate));
    // Shown modally, the dialog must block its parent only: an application-modal
    // dialog would also swallow every key and click meant for the simulation window,
    // and a run could then neither start nor end from there.
    setWindowModality(Qt::WindowModal);
    m_inferenceView = new InferenceView(this);
    m_runTimer.setInterval(20);
    connect(&m_runTimer, &QTimer::timeout, this, [this] { OnTimer(1); });
    OnInitDialog();
}

CMarluneDlg::~CMarluneDlg() = default;

void CMarluneDlg::SetPrompts(std::unique_ptr<UserPrompts> prompts)
{
    m_prompts = std::move(prompts);
}

void CMarluneDlg::SetKeyPoll(KeyPoll poll)
{
    m_keyPoll = std::move(poll);
}

bool CMarluneDlg::OnInitDialog()
{
    UpdateData(false);
    setWindowIcon(m_hIcon);

    auto button = [this](int id) { return findChild<QPushButton*>(QString::number(id)); };
    connect(button(kQuitButton), &QPushButton::clicked, this, &CMarluneDlg::OnOK);
    connect(button(kRunButton), &QPushButton::clicked, this, &CMarluneDlg::OnRunSimulation);
    connect(button(kLoadButton), &QPushButton::clicked, this, &CMarluneDlg::OnLoadInferences);
    connect(button(kSaveButton), &QPushButton::clicked, this, &CMarluneDlg::OnSaveInferences);
    for (int index = 0; index < kTableFieldCount; ++index) {
        QLineEdit* field = TableField(index);
        connect(field, &QLineEdit::textChanged, this, &CMarluneDlg::OnChangeTable);
        field->installEventFilter(this);
    }

    auto* about = new QAction(LoadResourceString(kAboutMenuString), this);
    about->setShortcut(QKeySequence::HelpContents);
    connect(about, &QAction::triggered, this, [this] { OnSysCommand(kAboutCommand, 0); });
    addAction(about);
    auto* exportTable = new QAction(QStringLiteral("Exporter..."), this);
    connect(exportTable, &QAction::triggered, this, &CMarluneDlg::OnExportInferences);
    addAction(exportTable);

    button(kQuitButton)->setFocus();
    return true;
}

void CMarluneDlg::DoDataExchange(DataExchange& dx)
{
    for (int k = 0; k < InferenceTable::kSituations; ++k) {
        dx.Text(kAngleFields[k], m_angle[k]);
        dx.Text(kSpeedFields[k], m_speed[k]);
    }
    dx.Text(kMeanSpeedField, m_meanSpeed);
    dx.Text(kCollisionCountField, m_collisionCount);
    dx.Text(kMeanCollisionsField, m_meanCollisions);
}

QLineEdit* CMarluneDlg::TableField(int index) const
{
    // The tab order: the eight angles, then the eight speeds.
    const int id =
        index < InferenceTable::kSituations ? kAngleFields[index] : kSpeedFields[index - InferenceTable::kSituations];
    return findChild<QLineEdit*>(QString::number(id));
}

bool CMarluneDlg::UpdateData(bool saveAndValidate)
{
    DataExchange dx(*this, saveAndValidate ? DataExchange::Direction::Validate : DataExchange::Direction::Show);
    DoDataExchange(dx);
    if (!dx.Failed()) return true;
    ComplainAbout(*dx.FailedControl(), dx.FailurePrompt());
    return false;
}

void CMarluneDlg::ComplainAbout(QLineEdit& field, const QString& prompt)
{
    m_complaining = true;
    m_prompts->ShowMessage(this, prompt, QMessageBox::Warning);
    field.setFocus();
    field.selectAll();
    m_complaining = false;
}

void CMarluneDlg::CheckLeftField(QLineEdit* field)
{
    // By now the user may be back in the field, or a command may already have
    // reported it (a click on "Quitter" both leaves the field and validates).
    if (m_complaining || field->hasFocus() || TypedNumber(field->text())) return;
    ComplainAbout(*field, DataExchange::NumberPrompt());
}

bool CMarluneDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && !m_complaining &&
        IsLeavingByUser(static_cast<QFocusEvent*>(event)->reason())) {
        // Checked once the focus has landed: reporting from inside the focus change
        // would open the message box in the middle of the click that moved the focus.
        QPointer<QLineEdit> field = qobject_cast<QLineEdit*>(watched);
        QTimer::singleShot(0, this, [this, field] {
            if (field) CheckLeftField(field);
        });
    }
    return QDialog::eventFilter(watched, event);
}

void CMarluneDlg::ApplyTable()
{
    DataExchange dx(*this, DataExchange::Direction::ReadWhileTyping);
    DoDataExchange(dx);
    for (int k = 0; k < InferenceTable::kSituations; ++k) {
        m_table.angles[k] = m_angle[k];
        m_table.speeds[k] = m_speed[k];
    }
}

void CMarluneDlg::OnChangeTable()
{
    ApplyTable();
    m_inferenceView->ShowTable(m_table);
}

bool CMarluneDlg::HasUnsavedChanges() const
{
    // Bit for bit: a table saved with -0 is not the table of zeros.
    return std::memcmp(&m_table, &m_savedTable, sizeof m_table) != 0;
}

bool CMarluneDlg::ConfirmLosingChanges()
{
    if (!HasUnsavedChanges()) return true;
    switch (m_prompts->AskToSaveChanges(this)) {
    case UserPrompts::UnsavedChoice::Save:
        OnSaveInferences();
        return !HasUnsavedChanges();
    case UserPrompts::UnsavedChoice::Discard:
        return true;
    case UserPrompts::UnsavedChoice::Cancel:
        break;
    }
    return false;
}

void CMarluneDlg::OnOK()
{
    if (!UpdateData(true) || !ConfirmLosingChanges()) return;
    if (m_running) {
        // The run loop notices at the end of its pass and closes the dialog once its
        // window is gone.
        m_quitAfterRun = true;
        return;
    }
    accept();
}

void CMarluneDlg::OnSysCommand(unsigned id, long lParam)
{
    (void)lParam;
    if ((id & 0xFFF0u) == kAboutCommand) {
        CAboutDlg about(this);
        about.exec();
    }
}

void CMarluneDlg::closeEvent(QCloseEvent* event)
{
    // Closing the window is "Quitter": it may refuse (a field that is not a number) or
    // have to wait for a run to end.
    event->ignore();
    OnOK();
}

void CMarluneDlg::MoveToNextTableField(QLineEdit& field)
{
    for (int index = 0; index < kTableFieldCount; ++index) {
        if (TableField(index) == &field) {
            // After S8's speed comes S1's angle again: Enter keeps to the table.
            QLineEdit* next = TableField((index + 1) % kTableFieldCount);
            next->setFocus(Qt::TabFocusReason);
            next->selectAll();
            return;
        }
    }
}

void CMarluneDlg::keyPressEvent(QKeyEvent* event)
{
    // Enter in a field would press the default button, "Quitter", and throw the table
    // away: in a field of the table it means "done with this one, next", and in the
    // statistics fields nothing.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* field = qobject_cast<QLineEdit*>(focusWidget())) {
            event->accept();
            MoveToNextTableField(*field);
            return;
        }
    }
    // Escape would dismiss the dialog without the checks of "Quitter"; it only means
    // something in the simulation window.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CMarluneDlg::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.addActions(actions());
    menu.exec(event->globalPos());
}
