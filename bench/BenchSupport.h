#pragma once

// Shared by the benchmark programs: the full-size table they measure, timing of two
// operations interleaved on a shared machine, and services that answer without a person.
#include "core/data/Point.h"
#include "core/platform/Services.h"

#include <QElapsedTimer>
#include <QStringList>

#include <algorithm>
#include <ctime>
#include <functional>
#include <utility>
#include <vector>

namespace BenchSupport {

// A full table (32,767 points) of realistic Japanese text, about 3 MB as a file.
inline PointList fullTable() {
    const QStringList regions = {QStringLiteral("九州地方"), QStringLiteral("関東地方"),
                                 QStringLiteral("近畿地方"), QStringLiteral("東北地方")};
    const QStringList names = {QStringLiteral("鹿児島"), QStringLiteral("神奈川"),
                               QStringLiteral("和歌山"), QStringLiteral("北海道")};
    PointList points;
    points.reserve(kMaxPoints);
    for (int i = 0; i < kMaxPoints; ++i) {
        const QString name = names[i % names.size()] + QString::number(i);
        points.append(Point{QString::number(100 + i % 1800), QString::number(50 + i % 1900),
                            regions[i % regions.size()], name + QStringLiteral("県"), name,
                            name + QStringLiteral("市。ﾌｪﾘｰの港。\r\n人口約60万人。")});
    }
    return points;
}

struct Timing {
    double wallMs = 0;
    double cpuMs = 0;
};

inline double cpuNowMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Medians of wall and CPU time of `runs` calls of each, interleaved so that both meet the same
// load on a shared machine.
inline std::pair<Timing, Timing> interleavedMedians(int runs, const std::function<void()>& first,
                                                    const std::function<void()>& second) {
    std::vector<double> wall[2], cpu[2];
    for (int i = 0; i < runs; ++i) {
        for (int which = 0; which < 2; ++which) {
            QElapsedTimer timer;
            const double cpuStart = cpuNowMs();
            timer.start();
            (which == 0 ? first : second)();
            wall[which].push_back(timer.nsecsElapsed() / 1e6);
            cpu[which].push_back(cpuNowMs() - cpuStart);
        }
    }
    return {{median(wall[0]), median(cpu[0])}, {median(wall[1]), median(cpu[1])}};
}

// File dialogs answer with the set paths; message boxes are counted and answered with the
// default button (OK, or No to a question).
class Services : public ::Services {
public:
    QString openPath;
    QString savePath;
    int messages = 0;

    QString inputBox(const QString&, const QString&) override { return QString(); }
    void showHelp(const QString&) override {}
    bool setUpPrinter(QPrinter&) override { return false; }
    bool previewPrint(QPrinter&, const std::function<void(QPrinter&)>&) override { return false; }

protected:
    MessageAnswer showMessage(const MessageRequest& request) override {
        ++messages;
        return request.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }
    QString askOpenFileName(const QString&, const QString&) override { return openPath; }
    QString askSaveFileName(const QString&, const QString&) override { return savePath; }
};

} // namespace BenchSupport
