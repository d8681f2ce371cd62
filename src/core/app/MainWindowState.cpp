#include "core/app/MainWindowState.h"

MainCommandLooks MainWindowState::looks(const Values& v) {
    MainCommandLooks looks;
    const auto set = [&](MainCommand command, bool enabled, bool checked = false) {
        // A long command holds them all, whatever they would be.
        looks[static_cast<int>(command)] = {enabled && !v.commandsHeld, checked};
    };
    const bool idle = !v.quizRunning;
    set(MainCommand::Open, idle);
    set(MainCommand::OpenSample, idle); // it opens a file as 開く does
    // Exploring shows every answer: a quiz waits until it is left.
    set(MainCommand::Start, idle && !v.exploring);
    set(MainCommand::Stop, v.quizRunning);
    set(MainCommand::Review, v.reviewReady && idle);
    // A worksheet needs the points of a file read in full, and never shows a running quiz.
    const bool worksheet = v.fileOpen && v.hasPoints && idle && !v.busy;
    set(MainCommand::Print, worksheet);
    set(MainCommand::ExportPdf, worksheet);
    set(MainCommand::End, true);
    // The mode, the answer method and the judging hold for a whole quiz.
    set(MainCommand::ModeMenu, idle);
    set(MainCommand::PracticeMode, true, v.mode == QuizMode::Practice);
    set(MainCommand::NormalMode, true, v.mode == QuizMode::Normal);
    set(MainCommand::WeakFirstMode, true, v.mode == QuizMode::WeakFirst);
    set(MainCommand::ReviewMode, true, v.mode == QuizMode::Review);
    set(MainCommand::Editor, idle);
    set(MainCommand::Options, true);
    set(MainCommand::StudyOptions, true);
    set(MainCommand::MethodMenu, idle);
    set(MainCommand::TypingMethod, true, v.answerMethod == AnswerMethod::Typing);
    set(MainCommand::LocateMethod, true, v.answerMethod == AnswerMethod::Locate);
    set(MainCommand::ChoiceMethod, true, v.answerMethod == AnswerMethod::Choice);
    set(MainCommand::Judging, idle);
    set(MainCommand::Zoom, true);
    // The dots would tell the answers' places apart during a quiz.
    set(MainCommand::Mastery, idle, v.masteryShown);
    set(MainCommand::Explore, (v.fileOpen && v.hasPoints && idle && !v.busy) || v.exploring,
        v.exploring);
    // The record of the file read in full; a quiz adds to it.
    set(MainCommand::Progress, v.fileOpen && idle);
    set(MainCommand::Help, true);
    set(MainCommand::Version, true);
    return looks;
}
