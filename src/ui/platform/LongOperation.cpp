#include "ui/platform/LongOperation.h"

#include <QCoreApplication>
#include <QWidget>

LongOperation::LongOperation(QWidget& window, HoldCommands holdCommands)
    : m_window(&window)
    , m_holdCommands(std::move(holdCommands))
    , m_hadCursor(window.testAttribute(Qt::WA_SetCursor))
    , m_cursorBefore(window.cursor()) {
    // None of the commands may work on the half-done state of this one.
    m_holdCommands(true);
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
    if (!m_held)
        return;
    m_held = false;
    m_holdCommands(false);
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
