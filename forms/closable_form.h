#pragma once

namespace hvr {

// Whether the user has closed a small window. The model's close handlers call close(); its
// view hides the window once the model says closed() after an event, and calls shown() each
// time the window is shown, so that a window opened again after it was closed does not close
// itself at its first event.
class ClosableForm {
  public:
    bool closed() const { return m_closed; }
    void shown() { m_closed = false; }

  protected:
    void close() { m_closed = true; }

  private:
    bool m_closed = false;
};

} // namespace hvr
