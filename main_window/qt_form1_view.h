#pragma once

#include <QMainWindow>
#include <QSize>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "main_window/form1.h"

class QAction;
class QMenu;
class QStyle;

namespace hvr::gui {

// The main window on screen: one widget per control of the form model, named after it, placed
// at its twip position (15 twips a pixel) inside its container. Every user event goes to the
// model's handler; render() then repaints the controls whose revision changed. Nothing here
// decides anything.
class QtForm1View final : public QMainWindow {
  public:
    explicit QtForm1View(Form1& form, QWidget* parent = nullptr);
    ~QtForm1View() override;

    // Brings every widget up to the model's state, touching only what changed since the last
    // call. Returns how many controls were re-rendered.
    int render();

    // The widget (or for menu entries, the action) of a control.
    QWidget* widget(const std::string& name) const;
    QAction* action(const std::string& name) const;

    static constexpr int kTwipsPerPixel = 15;

    // The whole form at a zoom: every control at its twips × zoom / 15 and every font times the
    // zoom. The window itself is resized by zoomTo(); dragging its edge chooses the zoom that
    // fits (never below 0.6), the spare band in the window's colour.
    double zoom() const { return m_zoom; }
    void zoomTo(double zoom);
    // The largest zoom at which the whole window fits the screen's available area.
    double fittingZoom() const;
    // The window's size (menu bar included) at a zoom.
    QSize sizeAt(double zoom) const;
    // Keeps the whole window inside the screen's available area: moved first, zoomed down only
    // where it cannot fit at its zoom.
    void keepOnScreen();

    // Runs after every event of the user has been handled and rendered: what shows the form's
    // data elsewhere looks again.
    void setAfterEvent(std::function<void()> afterEvent) { m_afterEvent = std::move(afterEvent); }

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Binding {
        Control* control;
        QWidget* widget = nullptr;
        QAction* action = nullptr;
        QMenu* menu = nullptr;
        std::uint64_t rendered = ~std::uint64_t{0};
    };

    void build();
    void setZoom(double zoom);
    void placeClient();
    QWidget* makeWidget(Control& control, QWidget* container);
    void makeMenu(Control& control);
    void renderControl(Binding& binding);
    void renderWindow();
    // Runs a handler of the model, then renders what it changed.
    void forward(const std::function<void()>& handler);

    Form1& m_form;
    std::vector<Binding> m_bindings;
    std::unordered_map<std::string, std::size_t> m_byName;
    std::uint64_t m_windowRendered = ~std::uint64_t{0};
    bool m_forwarding = false;
    std::function<void()> m_afterEvent;
    double m_zoom = 1;
    QWidget* m_band = nullptr;   // the central widget: the client and the spare band around it
    QWidget* m_client = nullptr; // the form's area, its design size times the zoom
};

} // namespace hvr::gui
