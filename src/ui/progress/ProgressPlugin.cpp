#include "ui/progress/ProgressWindow.h"
#include "ui/study/ProgressView.h"

#include <QObject>

// The plugin's entry: makes the window and hands it the counts.
class ProgressPlugin : public QObject, public ProgressView {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ZAV_PROGRESS_VIEW_IID)
    Q_INTERFACES(ProgressView)
public:
    QWidget* createWindow(QWidget* parent) override { return new ProgressWindow(parent); }
    void setData(QWidget* window, const ProgressData& data) override {
        static_cast<ProgressWindow*>(window)->setData(data);
    }
};

#include "ProgressPlugin.moc"
