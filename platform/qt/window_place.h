#pragma once
// Where our windows open. The editor's main window is a strip along the top of the
// screen: a dialog centred over it, as Qt places a dialog by default, would open at
// the screen's top edge with its title bar out of reach. Positions here are those
// of the window's frame, so a frame that starts inside the work area shows its
// title bar.
#include <QRect>
#include <QWidget>

namespace tavir {

// The work area (the available geometry) of the screen a window opens on: its
// owner's screen, else its own, else the primary screen's.
QRect WorkArea(const QWidget& window);

// Centres the window on the work area of its screen, sizing it first when nothing
// sized it yet. Qt does not move a window placed so when it is shown.
void CentreOnScreen(QWidget& window);

// For a window about to open: one nobody placed is centred over its owner when
// the owner is a dialog on the screen (a dialog opened from a dialog), else on the
// screen; then (and for one already placed) its frame is moved inside the work
// area, so that its title bar is in sight.
void PlaceOnOpening(QWidget& window);

// Makes the window wide enough for its whole title beside the title bar's icon
// and buttons.
void FitTitle(QWidget& window);

}  // namespace tavir
