#include "ui/dialogs/SampleDialog.h"

#include "core/app/SampleThumbnails.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int kPathRole = Qt::UserRole;
}

SampleDialog::SampleDialog(const QList<SampleEntry>& entries, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
    , m_thumbnails(new SampleThumbnails(this)) {
    setObjectName(QStringLiteral("SampleDialog"));
    setWindowTitle(QStringLiteral("ｻﾝﾌﾟﾙを開く"));

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setHeaderLabels({QStringLiteral("問題"), QStringLiteral("ﾎﾟｲﾝﾄ数")});
    m_list->setIconSize(SampleThumbnails::kSize);
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);

    QPixmap blank(SampleThumbnails::kSize);
    blank.fill(Qt::transparent);
    // One list, each subject's heading above its quizzes: a heading is disabled, so that the
    // arrow keys pass over it (a disabled parent would disable its quizzes too).
    QString subject;
    QStringList files;
    for (const SampleEntry& entry : entries) {
        if (!entry.subject.isEmpty() && entry.subject != subject) {
            auto* heading = new QTreeWidgetItem(m_list, {entry.subject});
            heading->setFlags(Qt::NoItemFlags);
            heading->setFirstColumnSpanned(true);
            heading->setForeground(0, palette().text());
            QFont bold = heading->font(0);
            bold.setBold(true);
            heading->setFont(0, bold);
        }
        subject = entry.subject;
        // A quiz that cannot be read says why under its name, greyed out.
        const QStringList texts = {entry.readable() ? entry.title
                                                    : entry.title + u'\n' + entry.problem(),
                                   entry.readable() ? QString::number(entry.points) : QString()};
        auto* item = new QTreeWidgetItem(m_list, texts);
        item->setData(0, kPathRole, entry.path);
        item->setToolTip(0, entry.relativePath);
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        // An empty picture until the map's arrives, so that the rows neither move nor grow.
        item->setIcon(0, blank);
        if (!entry.readable())
            item->setFlags(Qt::NoItemFlags);
        m_items.append(item);
        files.append(entry.path);
    }
    for (QTreeWidgetItem* item : m_items) {
        if (item->flags() & Qt::ItemIsSelectable) {
            m_list->setCurrentItem(item);
            break;
        }
    }

    auto* open = new QPushButton(QStringLiteral("開く(&O)"), this);
    open->setObjectName(QStringLiteral("Command1_0"));
    open->setDefault(true);
    connect(open, &QPushButton::clicked, this, [this] { openItem(m_list->currentItem()); });
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ(&C)"), this);
    cancel->setObjectName(QStringLiteral("Command1_1"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // Enter reaches the default button; the list's own "activated" would open twice.
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &SampleDialog::openItem);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(open);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    resize(480, 480);

    connect(m_thumbnails, &SampleThumbnails::ready, this, &SampleDialog::showThumbnail);
    m_thumbnails->start(files);
}

SampleDialog::~SampleDialog() = default;

void SampleDialog::showThumbnail(int index, const QImage& thumbnail) {
    if (index < 0 || index >= m_items.size() || thumbnail.isNull())
        return;
    // Centred in a box of the full size, so that every title starts at the same place.
    QPixmap boxed(SampleThumbnails::kSize);
    boxed.fill(Qt::transparent);
    QPainter painter(&boxed);
    painter.drawImage((boxed.width() - thumbnail.width()) / 2,
                      (boxed.height() - thumbnail.height()) / 2, thumbnail);
    painter.end();
    m_items[index]->setIcon(0, QIcon(boxed));
}

void SampleDialog::openItem(QTreeWidgetItem* item) {
    // A subject's heading, or a quiz that cannot be read, opens nothing; the dialog stays.
    if (!item || !(item->flags() & Qt::ItemIsSelectable))
        return;
    m_chosenPath = item->data(0, kPathRole).toString();
    accept();
}
