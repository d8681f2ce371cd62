#include "platform/LongOperation.h"

#include <QAction>
#include <QCoreApplication>
#include <QWidget>

LongOperation::LongOperation(QWidget& window, const QList<QAction*>& commands,
                             const QList<QWidget*>& controls)
    : m_window(&window)
    , m_hadCursor(window.testAttribute(Qt::WA_SetCursor))
    , m_cursorBefore(window.cursor()) {
    // None of the commands may work on the half-done state of this one.
    for (QAction* action : commands) {
        m_heldActions.append({action, action->isEnabled()});
        action->setEnabled(false);
    }
    for (QWidget* control : controls) {
        m_heldControls.append({control, control->isEnabled()});
        control->setEnabled(false);
    }
    showWaitCursor();
}

LongOperation::~LongOperation() {
    end();
}

bool LongOperation::eventsDue() const {
    return !m_sinceEvents.isValid() || m_sinceEvents.elapsed() >= kEventIntervalMs;
}

void LongOperation::letEventsRun() {
    if (!eventsDue())
        return;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_sinceEvents.start();
}

void LongOperation::releaseCommands() {
    for (const auto& [action, enabled] : std::as_const(m_heldActions)) {
        if (action)
            action->setEnabled(enabled);
    }
    for (const auto& [control, enabled] : std::as_const(m_heldControls)) {
        if (control)
            control->setEnabled(enabled);
    }
    m_heldActions.clear();
    m_heldControls.clear();
}

void LongOperation::end() {
    if (m_ended)
        return;
    m_ended = true;
    releaseCommands();
    restoreCursor();
}

void LongOperation::showWaitCursor() {
    if (m_window && !m_ended)
        m_window->setCursor(Qt::WaitCursor);
}

void LongOperation::restoreCursor() {
    if (!m_window)
        return;
    if (m_hadCursor)
        m_window->setCursor(m_cursorBefore);
    else
        m_window->unsetCursor();
}
