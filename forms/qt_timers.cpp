#include "forms/qt_timers.h"

#include <algorithm>
#include <cmath>

namespace hvr::platform {

void QtTimers::add(const Control& timer, std::function<void()> onTick) {
    Binding b{&timer, std::make_unique<QTimer>(this), std::move(onTick)};
    b.timer->setTimerType(Qt::PreciseTimer);
    QTimer* raw = b.timer.get();
    const std::size_t index = m_bindings.size();
    connect(raw, &QTimer::timeout, this, [this, index] {
        m_bindings[index].onTick();
        if (m_afterTick) m_afterTick();
        sync();
    });
    m_bindings.push_back(std::move(b));
    sync();
}

void QtTimers::sync() {
    for (auto& b : m_bindings) {
        const int interval = std::max(1, static_cast<int>(std::lround(b.control->interval() * m_scale)));
        const bool run = b.control->enabled() && b.control->interval() > 0;
        if (!run) {
            b.timer->stop();
            continue;
        }
        if (!b.timer->isActive() || interval != b.interval) {
            b.interval = interval;
            b.timer->start(interval);
        }
    }
}

} // namespace hvr::platform
