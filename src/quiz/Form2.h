#pragma once

#include "quiz/QuizSession.h"

#include <QDialog>

#include <array>
#include <memory>

class Form1;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class RandomSource;
class Services;

// The answer window "解答欄": asks the points of the main window's table one by one, judges
// the typed answers and keeps the clock. It reads the table and writes the main window's
// marker, status panels and menu states; the rules themselves live in QuizSession.
//
// Controls keep their established names as members and objectNames; a control array member
// is named "Name_index" (Label1 (0) is "Label1_0").
class Form2 : public QDialog {
    Q_OBJECT
public:
    // Built hidden; the main window shows it and then runs Form_Load.
    Form2(Form1& form1, Services& services, RandomSource& random);
    ~Form2() override;

    // Controls.
    QFrame* Picture2 = nullptr;
    std::array<QLabel*, 3> Label1{};
    QLineEdit* Text1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Command1 = nullptr;
    QLabel* Label3 = nullptr;
    QTimer* Timer1 = nullptr;

    // Handlers and procedures.
    void Form_Load();
    void Command1_Click();
    void Timer1_Timer();
    void QuestionLoop();
    void CheckAnswer();
    void Ending();
    void ForStop();

    // Quiz state.
    // Null before Form_Load.
    const QuizSession* session() const { return m_session.get(); }
    bool closeAllowed() const { return m_closeAllowed; }
    // True from Form_Load until Ending or ForStop.
    bool isRunning() const { return m_running; }

    static QString okCaption() { return QStringLiteral("&OK"); }
    static QString nextCaption() { return QStringLiteral("&Next"); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void createControls();
    void moveOffMarker(const QPointF& markerTopLeft);
    void restoreMainWindow();
    void closeWindow();

    Form1& m_form1;
    Services& m_services;
    RandomSource& m_random;
    std::unique_ptr<QuizSession> m_session;
    bool m_closeAllowed = false;
    bool m_running = false;
};
