#pragma once
// Where our windows open. The editor's main window is a strip along the top of the
// screen: a dialog centred over it, as Qt places a dialog by default, would open at
// the screen's top edge with its title bar out of reach. Positions here are those
// of the window's frame, so a frame that starts inside the work area shows its
// title bar.
#include <QMargins>
#include <QObject>
#include <QRect>
#include <QWidget>
#include <functional>

namespace tavir {

// The work area (the available geometry) of the screen a window opens on: its
// owner's screen, else its own, else the primary screen's.
QRect WorkArea(const QWidget& window);

// Centres the window on the work area of its screen, sizing it first when nothing
// sized it yet. Qt does not move a window placed so when it is shown. Its frame
// is then kept inside the work area (KeepFrameInside).
void CentreOnScreen(QWidget& window);

// For a window about to open: one nobody placed is centred over its owner when
// the owner is a dialog on the screen (a dialog opened from a dialog), else on the
// screen; then (and for one already placed) its frame is moved inside the work
// area, so that its title bar is in sight, and kept there (KeepFrameInside).
void PlaceOnOpening(QWidget& window);

// Makes the window wide enough for its whole title beside the title bar's icon
// and buttons.
void FitTitle(QWidget& window);

// The margins of a window's frame as the window manager has told them: none
// before it has (a window not yet shown).
QMargins FrameMargins(const QWidget& window);

// The client rectangle of a window that stands at the top of the work area as a
// maximised window would: its whole frame, with these margins, inside the area,
// as wide as the area and touching its top.
QRect TopStripGeometry(const QRect& area, const QMargins& frame, int clientHeight);

// The client rectangle that puts the whole frame of a window with this client
// rectangle and these margins inside the area, moved no further than needed (the
// top edge wins over the bottom one, the left over the right).
QRect FrameInsideArea(const QRect& client, const QMargins& frame, const QRect& area);

// A window manager tells a window's frame only once the window is shown, so a
// placement made before (from the client size alone) may leave the title bar or
// the frame's edges outside the work area. The placement of a window is
// therefore a rule, run when the window is placed and again whenever the
// window's frame margins or its work area are no longer those the rule last saw
// (the window's show, move, resize and paint events tell). A window the user moves
// in between stays where it is put.
class FramePlacement : public QObject {
 public:
  // Places the window: moves or sizes it, given the frame margins and the work area.
  using Rule = std::function<void(QWidget& window, const QMargins& frame, const QRect& area)>;

  // Runs the rule now and keeps it with the window (a later call replaces it).
  static FramePlacement& Place(QWidget& window, Rule rule);
  // The window's placement, if it has one.
  static FramePlacement* Of(const QWidget& window);

  // Runs the rule again if the margins or the work area have changed.
  void Follow();

  // Where the margins come from: FrameMargins (tests give what a window manager
  // would report).
  std::function<QMargins(const QWidget&)> Margins = FrameMargins;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  FramePlacement(QWidget& window, Rule rule);
  void Run();

  QWidget& window_;
  Rule rule_;
  QMargins frame_;
  QRect area_;
  bool running_ = false;
};

// The rule of a window that only has to stay whole on the screen.
void KeepFrameInside(QWidget& window, const QMargins& frame, const QRect& area);
// The rule of a main window that is a strip across the top of its screen
// (TopStripGeometry); its height stays.
void StandAsTopStrip(QWidget& window, const QMargins& frame, const QRect& area);

}  // namespace tavir
