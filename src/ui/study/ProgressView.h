#pragma once

#include "core/study/ProgressData.h"

#include <QtPlugin>

class QWidget;

// The window 学習の記録 as its plugin makes it. The charts library costs the start-up time of
// every run, so the window lives in a plugin loaded when first asked for (ProgressCommand);
// only this interface and ProgressData, all inline, cross into it.
class ProgressView {
public:
    virtual ~ProgressView() = default;
    // A new window, a top-level child of `parent`, showing nothing yet.
    virtual QWidget* createWindow(QWidget* parent) = 0;
    // Shows these counts in a window it made: charts, or a notice when they would show nothing.
    virtual void setData(QWidget* window, const ProgressData& data) = 0;
};

#define ZAV_PROGRESS_VIEW_IID "org.zavmap.ProgressView/1"
Q_DECLARE_INTERFACE(ProgressView, ZAV_PROGRESS_VIEW_IID)
