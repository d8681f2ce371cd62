#include "ui/app/SampleCommand.h"

#include "core/app/SampleLibrary.h"
#include "core/platform/Services.h"
#include "ui/dialogs/SampleDialog.h"

#include <QWidget>

SampleCommand::SampleCommand(Services& services, const QString& ownFolder, QWidget& window)
    : QObject(&window)
    , m_services(services)
    , m_ownFolder(ownFolder)
    , m_window(window) {}

void SampleCommand::open() {
    // Looked up on each opening: the samples may be installed while the program runs.
    const QString folder = SampleLibrary::folder(m_ownFolder);
    const QList<SampleEntry> entries = SampleLibrary::list(folder);
    if (entries.isEmpty()) {
        m_services.message(SampleLibrary::noSamplesMessage(folder));
        return;
    }
    SampleDialog dialog(entries, &m_window);
    if (dialog.exec() == QDialog::Accepted)
        emit chosen(dialog.chosenPath());
}
