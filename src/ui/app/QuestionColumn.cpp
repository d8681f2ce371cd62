#include "ui/app/QuestionColumn.h"

#include "core/app/MainLayout.h"
#include "core/quiz/QuizPlacement.h"

#include <QMainWindow>
#include <QScreen>

void QuestionColumn::take(QWidget& column) {
    column.setParent(m_window.centralWidget(), Qt::Widget);
    m_column = &column;
    m_taken = true;
    m_widenedBy = 0;
    if (m_window.isMaximized() || m_window.isFullScreen() || !m_window.screen())
        return;
    const QRect frame = m_window.frameGeometry();
    const QRect available = m_window.screen()->availableGeometry();
    const QuizPlacement::Span wider = QuizPlacement::widenedFrame(
        {frame.left(), frame.width()}, column.width() + Twips::toPixels(MainLayout::kColumnGap),
        {available.left(), available.width()});
    m_widenedBy = wider.width - frame.width();
    if (wider.left != frame.left())
        m_window.move(wider.left, m_window.y()); // a window's position is its frame's
    m_window.resize(m_window.width() + m_widenedBy, m_window.height());
}

bool QuestionColumn::giveBack() {
    if (!m_taken)
        return false;
    m_taken = false;
    m_column = nullptr;
    if (m_widenedBy > 0 && !m_window.isMaximized() && !m_window.isFullScreen())
        m_window.resize(m_window.width() - m_widenedBy, m_window.height());
    m_widenedBy = 0;
    return true;
}
