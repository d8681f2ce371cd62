// A Qt generic plugin that measures start-up time from the outside of a program: loaded with
// QT_QPA_GENERIC_PLUGINS=zavshowprobe, it watches every event, and when the first top-level
// window is exposed (shown on the screen) it prints the milliseconds since ZAV_BENCH_T0 (the
// launcher's wall-clock time in seconds, as bash's EPOCHREALTIME gives it) and ends the process
// at once. The program under test is not changed in any way.
//
// With ZAV_BENCH_PAINTED=NAME it waits instead until the widget named NAME (or a child of it,
// such as a scroll area's viewport) has been painted, and prints painted_ms; with
// ZAV_BENCH_READY=PROPERTY as well, it then waits until that widget's boolean property is true
// and prints ready_ms; last it prints the process's peak resident memory, peak_kib.
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QGenericPlugin>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

double wallClockSeconds() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// VmHWM from /proc/self/status, in KiB.
long peakResidentKib() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

class ShowProbe : public QObject {
public:
    explicit ShowProbe(double t0)
        : m_t0(t0)
        , m_painted(qgetenv("ZAV_BENCH_PAINTED"))
        , m_ready(qgetenv("ZAV_BENCH_READY")) {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (m_painted.isEmpty() && event->type() == QEvent::Expose) {
            auto* window = qobject_cast<QWindow*>(watched);
            if (window && window->isTopLevel() && window->isExposed()) {
                std::printf("shown_ms=%.2f\n", sinceStartMs());
                std::fflush(stdout);
                std::_Exit(0);
            }
        }
        if (!m_painted.isEmpty() && !m_target && event->type() == QEvent::Paint) {
            QObject* named = watched;
            while (named && named->objectName() != QLatin1String(m_painted))
                named = named->parent();
            if (named) {
                m_target = named;
                // Once the paint event has been handled.
                QTimer::singleShot(0, this, &ShowProbe::painted);
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    double sinceStartMs() const { return (wallClockSeconds() - m_t0) * 1000.0; }

    void painted() {
        std::printf("painted_ms=%.2f\n", sinceStartMs());
        if (m_ready.isEmpty())
            finish();
        auto* poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, [this] {
            const QVariant ready = m_target ? m_target->property(m_ready.constData()) : QVariant();
            if (!ready.isValid() || ready.toBool()) {
                // -1: the widget is gone or has no such property.
                std::printf("ready_ms=%.2f\n", ready.isValid() ? sinceStartMs() : -1.0);
                finish();
            }
        });
        poll->start(2);
    }

    [[noreturn]] void finish() {
        std::printf("peak_kib=%ld\n", peakResidentKib());
        std::fflush(stdout);
        std::_Exit(0);
    }

    double m_t0;
    QByteArray m_painted;
    QByteArray m_ready;
    QPointer<QObject> m_target;
};

} // namespace

class ShowProbePlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "show_probe.json")
public:
    QObject* create(const QString&, const QString&) override {
        const char* t0 = std::getenv("ZAV_BENCH_T0");
        if (!t0 || !QCoreApplication::instance())
            return nullptr;
        return new ShowProbe(std::strtod(t0, nullptr));
    }
};

#include "show_probe.moc"
