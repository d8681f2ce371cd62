// A Qt generic plugin that measures start-up time from the outside of a program: loaded with
// QT_QPA_GENERIC_PLUGINS=zavshowprobe, it watches every event, and when the first top-level
// window is exposed (shown on the screen) it prints the milliseconds since ZAV_BENCH_T0 (the
// launcher's wall-clock time in seconds, as bash's EPOCHREALTIME gives it) and ends the process
// at once. The program under test is not changed in any way.
#include <QCoreApplication>
#include <QEvent>
#include <QGenericPlugin>
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

class ShowProbe : public QObject {
public:
    explicit ShowProbe(double t0)
        : m_t0(t0) {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose) {
            auto* window = qobject_cast<QWindow*>(watched);
            if (window && window->isTopLevel() && window->isExposed()) {
                std::printf("shown_ms=%.2f\n", (wallClockSeconds() - m_t0) * 1000.0);
                std::fflush(stdout);
                std::_Exit(0);
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    double m_t0;
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
