#pragma once

#include "core/app/SampleLibrary.h"

#include <QDialog>
#include <QList>

class QTreeWidget;
class QTreeWidgetItem;
class SampleThumbnails;

// The dialog "ｻﾝﾌﾟﾙを開く": the bundled quizzes under their subjects, each with its name, its
// count of points and a small picture of its map, which arrives once made off the UI thread.
// A quiz that cannot be read shows why, greyed out. Enter (the default button 開く) or a
// double-click opens the chosen quiz; after exec(), chosenPath() is its question file (empty
// when cancelled).
class SampleDialog : public QDialog {
    Q_OBJECT
public:
    explicit SampleDialog(const QList<SampleEntry>& entries, QWidget* parent = nullptr);
    ~SampleDialog() override;

    QString chosenPath() const { return m_chosenPath; }

private:
    void showThumbnail(int index, const QImage& thumbnail);
    void openItem(QTreeWidgetItem* item);

    QTreeWidget* m_list = nullptr;
    QList<QTreeWidgetItem*> m_items; // one per entry, in the entries' order
    SampleThumbnails* m_thumbnails = nullptr;
    QString m_chosenPath;
};
