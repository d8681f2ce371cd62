#include "app/MainMenus.h"

#include "platform/MapZoomMenu.h"

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
    start = addItem(file, "Menu2_Start", QStringLiteral("ｽﾀｰﾄ(&S)"), Qt::CTRL | Qt::Key_S);
    stop = addItem(file, "Menu2_Stop", QStringLiteral("中止(&T)"));
    stop->setEnabled(false);
    review = addItem(file, "Menu2_Review", QStringLiteral("結果(&R)"));
    review->setEnabled(false);
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
    for (auto [item, itemMode] : {std::pair{practiceMode, QuizMode::Practice},
                                  {normalMode, QuizMode::Normal},
                                  {weakFirstMode, QuizMode::WeakFirst}}) {
        item->setCheckable(true);
        QObject::connect(item, &QAction::triggered, item,
                         [this, itemMode] { chooseMode(itemMode); });
    }
    normalMode->setChecked(true);
    editor = addItem(edit, "Menu2_FileEdit", QStringLiteral("ﾌｧｲﾙ編集(&F)"));
    options = addItem(edit, "Menu2_Option", QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
    studyOptions = addItem(edit, "Menu2_StudyOption", QStringLiteral("学習の設定(&L)..."));
    edit->addSeparator();
    method = addMenu(edit, "Menu2_Method", QStringLiteral("解答方法(&A)"));
    typingMethod = addItem(method, "Menu3_Typing", QStringLiteral("入力(&I)"));
    locateMethod = addItem(method, "Menu3_Locate", QStringLiteral("地図で探す(&L)"));
    auto* methods = new QActionGroup(method);
    for (QAction* item : {typingMethod, locateMethod}) {
        item->setCheckable(true);
        methods->addAction(item);
    }
    typingMethod->setChecked(true);
    judging = addItem(edit, "Menu2_Judging", QStringLiteral("判定の設定(&J)..."));

    QMenu* helpMenu = addMenu(bar, "Menu1_Help", QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    help = addItem(helpMenu, "Menu2_Help", QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    version = addItem(helpMenu, "Menu2_Version", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&V)"));

    zoom = MapZoomMenu::add(bar, mapView, helpMenu);
    QMenu* view = bar->findChild<QMenu*>(QStringLiteral("Menu1_View"));
    view->addSeparator();
    mastery = addItem(view, "Menu2_Mastery", QStringLiteral("習熟度を表示(&M)"));
    mastery->setCheckable(true);
}

QuizMode MainMenus::chosenMode() const {
    if (weakFirstMode->isChecked())
        return QuizMode::WeakFirst;
    return practiceMode->isChecked() ? QuizMode::Practice : QuizMode::Normal;
}

void MainMenus::chooseMode(QuizMode mode) {
    practiceMode->setChecked(mode == QuizMode::Practice);
    normalMode->setChecked(mode == QuizMode::Normal);
    weakFirstMode->setChecked(mode == QuizMode::WeakFirst);
}

QList<QAction*> MainMenus::commands() const {
    const QList<QAction*> own = {open,         start,        stop,          review,
                                 print,        exportPdf,    end,           mode->menuAction(),
                                 practiceMode, normalMode,   weakFirstMode, editor,
                                 options,      studyOptions, mastery,       help,
                                 version};
    const QList<QAction*> added = {method->menuAction(), typingMethod, locateMethod, judging};
    return own + added + zoom;
}

AnswerMethod MainMenus::answerMethod() const {
    return locateMethod->isChecked() ? AnswerMethod::Locate : AnswerMethod::Typing;
}
