#include "ui/app/MainMenus.h"

#include "ui/platform/MapZoomMenu.h"

#include <QActionGroup>
#include <QMenuBar>

namespace {

template <class Owner> QMenu* addMenu(Owner* owner, const char* name, const QString& caption) {
    QMenu* menu = owner->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
}

QAction* addItem(QMenu* menu, const char* name, const QString& caption,
                 const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    return action;
}

} // namespace

MainMenus::MainMenus(QMenuBar* bar, MapView* mapView) {
    QMenu* file = addMenu(bar, "Menu1_File", QStringLiteral("ﾌｧｲﾙ(&F)"));
    open = addItem(file, "Menu2_Open", QStringLiteral("開く(&O)"), Qt::CTRL | Qt::Key_O);
    openSample = addItem(file, "Menu2_OpenSample", QStringLiteral("ｻﾝﾌﾟﾙを開く(&A)..."));
    start = addItem(file, "Menu2_Start", QStringLiteral("ｽﾀｰﾄ(&S)"), Qt::CTRL | Qt::Key_S);
    stop = addItem(file, "Menu2_Stop", QStringLiteral("中止(&T)"));
    review = addItem(file, "Menu2_Review", QStringLiteral("結果(&R)"));
    file->addSeparator();
    print = addItem(file, "Menu2_Print", QStringLiteral("印刷(&P)..."));
    exportPdf = addItem(file, "Menu2_ExportPdf", QStringLiteral("PDFに書き出し(&D)..."));
    file->addSeparator();
    end = addItem(file, "Menu2_End", QStringLiteral("終了(&X)"));

    QMenu* edit = addMenu(bar, "Menu1_Edit", QStringLiteral("編集(&E)"));
    mode = addMenu(edit, "Menu2_Mode", QStringLiteral("ﾓｰﾄﾞ(&M)"));
    practiceMode = addItem(mode, "Menu3_PMode", QStringLiteral("練習ﾓｰﾄﾞ(&P)"));
    normalMode = addItem(mode, "Menu3_NMode", QStringLiteral("通常ﾓｰﾄﾞ(&N)"));
    weakFirstMode = addItem(mode, "Menu3_WMode", QStringLiteral("苦手優先ﾓｰﾄﾞ(&W)"));
    reviewMode = addItem(mode, "Menu3_RMode", QStringLiteral("今日の復習ﾓｰﾄﾞ(&R)"));
    for (QAction* item : {practiceMode, normalMode, weakFirstMode, reviewMode})
        item->setCheckable(true);
    editor = addItem(edit, "Menu2_FileEdit", QStringLiteral("ﾌｧｲﾙ編集(&F)"));
    options = addItem(edit, "Menu2_Option", QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
    studyOptions = addItem(edit, "Menu2_StudyOption", QStringLiteral("学習の設定(&L)..."));
    edit->addSeparator();
    method = addMenu(edit, "Menu2_Method", QStringLiteral("解答方法(&A)"));
    typingMethod = addItem(method, "Menu3_Typing", QStringLiteral("入力(&I)"));
    locateMethod = addItem(method, "Menu3_Locate", QStringLiteral("地図で探す(&L)"));
    choiceMethod = addItem(method, "Menu3_Choice", QStringLiteral("選択式(&C)"));
    auto* methods = new QActionGroup(method);
    for (QAction* item : {typingMethod, locateMethod, choiceMethod}) {
        item->setCheckable(true);
        methods->addAction(item);
    }
    judging = addItem(edit, "Menu2_Judging", QStringLiteral("判定の設定(&J)..."));

    QMenu* helpMenu = addMenu(bar, "Menu1_Help", QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    help = addItem(helpMenu, "Menu2_Help", QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    version = addItem(helpMenu, "Menu2_Version", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&V)"));

    zoom = MapZoomMenu::add(bar, mapView, helpMenu);
    QMenu* view = bar->findChild<QMenu*>(QStringLiteral("Menu1_View"));
    view->addSeparator();
    mastery = addItem(view, "Menu2_Mastery", QStringLiteral("習熟度を表示(&M)"));
    mastery->setCheckable(true);
    explore =
        addItem(view, "Menu2_Explore", QStringLiteral("地図を見る(&E)"), Qt::CTRL | Qt::Key_E);
    explore->setCheckable(true);
    progress = addItem(view, "Menu2_Progress", QStringLiteral("学習の記録(&P)..."));
}

QList<QAction*> MainMenus::actionsOf(MainCommand command) const {
    switch (command) {
    case MainCommand::Open:
        return {open};
    case MainCommand::OpenSample:
        return {openSample};
    case MainCommand::Start:
        return {start};
    case MainCommand::Stop:
        return {stop};
    case MainCommand::Review:
        return {review};
    case MainCommand::Print:
        return {print};
    case MainCommand::ExportPdf:
        return {exportPdf};
    case MainCommand::End:
        return {end};
    case MainCommand::ModeMenu:
        return {mode->menuAction()};
    case MainCommand::PracticeMode:
        return {practiceMode};
    case MainCommand::NormalMode:
        return {normalMode};
    case MainCommand::WeakFirstMode:
        return {weakFirstMode};
    case MainCommand::ReviewMode:
        return {reviewMode};
    case MainCommand::Editor:
        return {editor};
    case MainCommand::Options:
        return {options};
    case MainCommand::StudyOptions:
        return {studyOptions};
    case MainCommand::MethodMenu:
        return {method->menuAction()};
    case MainCommand::TypingMethod:
        return {typingMethod};
    case MainCommand::LocateMethod:
        return {locateMethod};
    case MainCommand::ChoiceMethod:
        return {choiceMethod};
    case MainCommand::Judging:
        return {judging};
    case MainCommand::Zoom:
        return zoom;
    case MainCommand::Mastery:
        return {mastery};
    case MainCommand::Explore:
        return {explore};
    case MainCommand::Progress:
        return {progress};
    case MainCommand::Help:
        return {help};
    case MainCommand::Version:
        return {version};
    }
    return {};
}
