#include "core/app/StartupPlan.h"

#include "core/data/SettingsFile.h"
#include "core/platform/Files.h"

#include <QDir>

namespace StartupPlan {

namespace {

QString maybeMovedText() {
    return QStringLiteral("移動、削除されたか、もしくは名前が変更された可能性があります。");
}

// No command line: the settings decide, and may take a path from the history.
void decideFromSettings(const StartupInputs& inputs, const AskRecentFile& askRecentFile,
                        StartupDecision& decision) {
    using namespace SettingsFile;
    decision.startupOption = optionFromStoredValue(inputs.storedSetting);
    if (!inputs.storedSetting)
        return;
    const QString& stored = *inputs.storedSetting;
    if (stored == kStoredTrue) {
        if (inputs.history.isEmpty())
            return;
        decision.recentDialogShown = true;
        QString chosen;
        if (askRecentFile) {
            const RecentFileChoice choice = askRecentFile(decision.startupOption);
            chosen = choice.path;
            decision.startupOption = choice.startupOption;
        }
        if (chosen.isEmpty())
            return;
        if (!Files::fileExists(chosen)) {
            decision.messages << MessageRequest::error(QStringLiteral("このﾌｧｲﾙは存在しません。") +
                                                       u'\r' + maybeMovedText());
            return;
        }
        decision.startupPath = chosen;
    } else if (stored == kStoredAuto) {
        if (inputs.history.isEmpty())
            return;
        const QString& last = inputs.history.constFirst();
        if (!Files::fileExists(last)) {
            decision.messages << MessageRequest::error(
                QStringLiteral("前回使ったﾌｧｲﾙを開こうとしましたが、ﾌｧｲﾙが見つかりません。") +
                    u'\r' + maybeMovedText(),
                QStringLiteral("自動ﾌｧｲﾙ読みこみ"));
            return;
        }
        decision.startupPath = last;
    }
}

} // namespace

QString commandLineText(const QStringList& arguments) {
    return arguments.mid(1).join(u' ');
}

bool hasQuestionFileExtension(const QString& path) {
    const QString extension = Files::extension(path);
    return extension == u"ZVM" || extension == u"zvm";
}

StartupDecision decide(const StartupInputs& inputs, const AskRecentFile& askRecentFile) {
    StartupDecision decision;
    if (inputs.commandLine.isEmpty()) {
        decideFromSettings(inputs, askRecentFile, decision);
        return decision;
    }

    // A file named on the command line wins over the settings, which still set the option.
    decision.startupOption = SettingsFile::optionFromStoredValue(inputs.storedSetting);
    if (!hasQuestionFileExtension(inputs.commandLine)) {
        decision.messages << MessageRequest::error(
            QStringLiteral("このﾌｧｲﾙは、ZAVﾏｯﾌﾟﾌｧｲﾙではありません。"));
        return decision;
    }
    // Taken as it stands: not split, trimmed or unquoted, and not checked for existence. A
    // relative path is anchored at the current folder, so the recent-files entry it becomes
    // still names the file at the next start.
    decision.startupPath = QDir::current().absoluteFilePath(inputs.commandLine);
    return decision;
}

} // namespace StartupPlan
