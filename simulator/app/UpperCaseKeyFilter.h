#pragma once
#include <QObject>
#include <QString>

// Keeps upper-case letters from reaching one highgui window for as long as it lives.
//
// highgui reports a letter key by its lower-case code whatever the Shift or Caps Lock
// state, so 'G', 'P' and 'T' would act like 'g', 'p' and 't'. The run's keys are
// lower-case only: the upper-case ones are dropped before highgui sees them.
class UpperCaseKeyFilter : public QObject {
public:
    explicit UpperCaseKeyFilter(QString windowTitle);
    ~UpperCaseKeyFilter() override;
    UpperCaseKeyFilter(const UpperCaseKeyFilter&) = delete;
    UpperCaseKeyFilter& operator=(const UpperCaseKeyFilter&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString m_windowTitle;
};
