#include "MarluneDlg.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <opencv2/highgui.hpp>

#include "AboutDlg.h"
#include "DataExchange.h"
#include "DesktopPrompts.h"
#include "DialogBuilder.h"
#include "InferenceView.h"
#include "Resources.h"

namespace {

constexpr int kMainTemplate = 102;
constexpr int kAppIcon = 128;
constexpr int kAboutMenuString = 101;
constexpr unsigned kAboutCommand = 0x0010;

constexpr int kQuitButton = 1;
constexpr int kRunButton = 2;
constexpr int kLoadButton = 1001;
constexpr int kSaveButton = 1024;
constexpr int kAngleFields[InferenceTable::kSituations] = {1000, 1002, 1003, 1004, 1005, 1006, 1007, 1008};
constexpr int kSpeedFields[InferenceTable::kSituations] = {1016, 1017, 1018, 1019, 1020, 1021, 1022, 1023};
constexpr int kMeanSpeedField = 1013;
constexpr int kCollisionCountField = 1011;
constexpr int kMeanCollisionsField = 1012;

} // namespace

CMarluneDlg::CMarluneDlg(QWidget* parent)
    : QDialog(parent),
      m_angle{},
      m_speed{},
      m_collisionCount(0),
      m_hIcon(LoadIcon(kAppIcon)),
      m_sim(256, 256),
      m_prompts(std::make_unique<DesktopPrompts>()),
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
    for (int k = 0; k < InferenceTable::kSituations; ++k) {
        for (int id : {kAngleFields[k], kSpeedFields[k]})
            connect(findChild<QLineEdit*>(QString::number(id)), &QLineEdit::textChanged, this, &CMarluneDlg::OnChangeTable);
    }

    auto* about = new QAction(LoadResourceString(kAboutMenuString), this);
    about->setShortcut(QKeySequence::HelpContents);
    connect(about, &QAction::triggered, this, [this] { OnSysCommand(kAboutCommand, 0); });
    addAction(about);

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

bool CMarluneDlg::UpdateData(bool saveAndValidate)
{
    DataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    if (!dx.Failed())
        return true;
    m_prompts->ShowMessage(this, dx.FailurePrompt(), QMessageBox::Warning);
    dx.FailedControl()->setFocus();
    dx.FailedControl()->selectAll();
    return false;
}

void CMarluneDlg::ApplyTable()
{
    UpdateData(true);
    for (int k = 0; k < InferenceTable::kSituations; ++k) {
        m_table.angles[k] = m_angle[k];
        m_table.speeds[k] = m_speed[k];
    }
}

void CMarluneDlg::OnChangeTable()
{
    ApplyTable();
}

void CMarluneDlg::OnOK()
{
    if (!UpdateData(true))
        return;
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

void CMarluneDlg::keyPressEvent(QKeyEvent* event)
{
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
