#include "app/UpperCaseKeyFilter.h"

#include <utility>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

UpperCaseKeyFilter::UpperCaseKeyFilter(QString windowTitle) : m_windowTitle(std::move(windowTitle))
{
    qApp->installEventFilter(this);
}

UpperCaseKeyFilter::~UpperCaseKeyFilter()
{
    qApp->removeEventFilter(this);
}

bool UpperCaseKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window()->windowTitle() != m_windowTitle) return false;
    const QString text = static_cast<QKeyEvent*>(event)->text();
    return text.size() == 1 && text.front().isUpper();
}
