#pragma once
#include <functional>
#include <memory>

#include <QDialog>
#include <QIcon>
#include <QString>
#include <QTimer>

#include "app/UserPrompts.h"
#include "world/InferenceTable.h"
#include "world/RobotSimulation.h"

#include "app/RunPace.h"

class DataExchange;
class InferenceView;
class QLineEdit;
class SimulationWindow;

// The main dialog: the inference table as sixteen fields, the commands that save,
// load and run it, and the statistics of the last run. It owns the simulated world.
class CMarluneDlg : public QDialog {
    Q_OBJECT
public:
    // Asks for the next key typed in the simulation window, waiting at most the given
    // milliseconds and serving the GUI's pending events meanwhile; -1 when none came.
    using KeyPoll = std::function<int(int delayMs)>;

    explicit CMarluneDlg(QWidget* parent = nullptr);
    ~CMarluneDlg() override;

    // Replaces the file dialogs and message boxes (tests answer them without windows).
    void SetPrompts(std::unique_ptr<UserPrompts> prompts);
    // Replaces highgui's key poll during runs (tests script the keys through it).
    void SetKeyPoll(KeyPoll poll);

    bool IsRunning() const { return m_running; }
    // The window "Inférence floue" of the runs; it lives as long as the dialog.
    InferenceView& Inference() const { return *m_inferenceView; }
    RunPace& Pace() { return m_runPace; }
    // Puts a table read from a file into the sixteen fields and the working table; like
    // any table just loaded, it counts as saved.
    void ShowTable(const InferenceTable& table);
    int TickCount() const { return m_tickCount; }
    // The simulation window's enlargement, kept from run to run; 0 before the first run,
    // which chooses it from the screen.
    int Zoom() const { return m_zoom; }
    // What the simulation window tells the user at the moment (its keys, the pause).
    const QString& WindowHint() const { return m_windowHint; }
    // True while m_table differs from the table last loaded or saved (a fresh dialog's
    // zeros count as saved: quitting at once loses nothing).
    bool HasUnsavedChanges() const;

    // Members exchanged with the fields, in the order the fields are bound.
    double m_angle[InferenceTable::kSituations];
    double m_speed[InferenceTable::kSituations];
    QString m_meanSpeed;
    int m_collisionCount;
    QString m_meanCollisions;
    QIcon m_hIcon;
    InferenceTable m_table;
    RobotSimulation m_sim;

    void DoDataExchange(DataExchange& dx);
    bool OnInitDialog();
    // "Quitter": closes the dialog once every field holds a number and the user has
    // said what becomes of unsaved changes; during a run the run ends first.
    void OnOK();
    // Reads the fields that hold numbers into the members and the members into
    // m_table, keystroke by keystroke. A field on its way to a number ("-", "1e") is
    // no error yet: its entry keeps its last value until the field is left.
    void ApplyTable();
    // Writes the members into the fields (false) or reads and validates them (true).
    bool UpdateData(bool saveAndValidate);

    // The About entry (16) of the window menu; the dialog offers it on a right click
    // and on F1.
    void OnSysCommand(unsigned id, long lParam);
    void OnSaveInferences();
    void OnLoadInferences();
    // "Exporter..." of the dialog's right-click menu: the table as a fuzzylite engine
    // (.fll, .fis or .fcl, by the file's extension).
    void OnExportInferences();
    void OnChangeTable();
    // Runs a whole simulation inside the handler; returns when the run ends.
    void OnRunSimulation();
    void OnTimer(unsigned timerId);
    static void OnSimulationMouse(int event, int x, int y, int flags, void* param);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void RunOnePass(SimulationWindow& window);
    // Moves the window of a colliding robot to one side or the other, by the tick.
    void ShakeWindow(SimulationWindow& window, bool oddTick);
    void ShowInferenceView();
    QLineEdit* TableField(int index) const;
    // Reports a field that is not a number and gives it the focus back, its text
    // selected for retyping.
    void ComplainAbout(QLineEdit& field, const QString& prompt);
    void CheckLeftField(QLineEdit* field);
    void MoveToNextTableField(QLineEdit& field);
    // False when the user chose to stay (or a save that was asked for failed).
    bool ConfirmLosingChanges();

    std::unique_ptr<UserPrompts> m_prompts;
    KeyPoll m_keyPoll;
    QTimer m_runTimer;               // timer 1: the 20 ms clock of a run's statistics
    InferenceView* m_inferenceView;  // a child window, deleted with the dialog
    RunPace m_runPace;               // kept from run to run, like the pause and the beams
    int m_zoom = 0;
    int m_tickCount = 0;
    bool m_tickPending = false;
    bool m_startClicked = false;
    bool m_running = false;
    bool m_quitAfterRun = false;
    InferenceTable m_savedTable;  // as last loaded or saved
    // Set while a field is being reported: the report's own focus moves are not the
    // user leaving a field.
    bool m_complaining = false;
    QString m_windowHint;
};
