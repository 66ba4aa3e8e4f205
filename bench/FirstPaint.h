// What the start and click probes share: a step run once, at the first paint of a
// top-level window.
#pragma once

#include <QApplication>
#include <QWidget>

#include <functional>
#include <utility>

class FirstPaint : public QObject {
public:
    explicit FirstPaint(std::function<void()> then) : then_(std::move(then)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Paint && widget && widget->isWindow() && then_)
            std::exchange(then_, nullptr)();
        return false;
    }

private:
    std::function<void()> then_;
};
