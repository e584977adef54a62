#pragma once

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

#include "forms/control.h"

namespace hvr::platform {

// Runs a form's timer controls on QTimers: each control's enabled state and interval decide
// whether its QTimer runs and how fast. A tick calls the form's handler, then the host's
// after-event hook; sync() applies what the form changed.
class QtTimers final : public QObject {
  public:
    // scale multiplies every interval (1 for real time; smaller runs the link faster).
    explicit QtTimers(double scale = 1.0, QObject* parent = nullptr) : QObject(parent), m_scale(scale) {}

    void add(const Control& timer, std::function<void()> onTick);
    void setAfterTick(std::function<void()> afterTick) { m_afterTick = std::move(afterTick); }

    void sync();

  private:
    struct Binding {
        const Control* control;
        std::unique_ptr<QTimer> timer;
        std::function<void()> onTick;
        int interval = -1;
    };
    double m_scale;
    std::vector<Binding> m_bindings;
    std::function<void()> m_afterTick;
};

} // namespace hvr::platform
