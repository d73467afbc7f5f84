#include "editor/qt/edit_desk_form.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>
#include <exception>

#include "model/symbols.h"

namespace tavir {

// ---- the desk ----

namespace {

DeskWindowLayout MainDeskLayout(const TWorkWindow& window) {
  DeskWindowLayout layout;
  layout.Name = "MainDesk";
  layout.Caption = QString::fromStdString(window.Caption.empty() ? std::string("Область") : window.Caption);
  layout.Size = QSize(640, 520);
  layout.MinimumSize = QSize(400, 400);
  layout.ScrollName = "ScrollBox_Win";
  layout.PictureName = "Image_Win";
  layout.StatusName = "StBar_Win";
  layout.PanelWidths = {200, 50};
  layout.BuiltIn = &DrawBuiltInSymbol;
  return layout;
}

}  // namespace

TMainDesk::TMainDesk(EditorCommands& commands, DeskHandle desk, const TWorkWindow& window, DeskEvents& events,
                     const ImageProvider* images, QWidget* parent)
    : DeskWindow(MainDeskLayout(window), images, parent),
      commands_(commands),
      events_(events),
      logic_(commands, desk, Surface()) {
  SetPictureSize(window.Width, window.Height);
  notice_ = new QLabel(StatusBar());
  notice_->setObjectName("StBar_Win_Notice");
  notice_->hide();
  StatusBar()->addWidget(notice_, 1);
}

TMainDesk::~TMainDesk() = default;

void TMainDesk::SetNotice(const QString& text) {
  notice_->setText(text);
  notice_->setToolTip(text);
  notice_->setVisible(!text.isEmpty());
}

QString TMainDesk::Notice() const { return notice_->text(); }

void TMainDesk::DrawPicture(Canvas& canvas) {
  if (const std::optional<std::string> failure = logic_.Repaint(canvas)) {
    // Never shown from inside a paint event: right after it.
    AfterEvent([this, text = *failure] {
      if (!Detached()) events_.DeskFailure(text);
    });
  }
}

void TMainDesk::Guarded(const std::function<void()>& f) {
  try {
    f();
  } catch (const std::exception& e) {
    events_.DeskFailure(e.what());
  }
  if (!Detached()) PaintBox()->update();
  events_.DeskChanged();
}

void TMainDesk::MouseDown(Qt::MouseButton button, QPoint p, Qt::KeyboardModifiers mods) {
  if (Detached()) return;
  QPointer<TMainDesk> self(this);
  Guarded([&] {
    // A press acts on its own window: the window becomes current first.
    if (logic_.WindowIndex() != commands_.Supervisor().CurrentWindow) {
      logic_.Activate(!StatusBar()->isHidden());
      if (!self || Detached()) return;
    }
    logic_.MouseDown(DeskMouse{DeskMouseButton(button), p.x(), p.y(), (mods & Qt::ControlModifier) != 0});
  });
}

void TMainDesk::MouseMove(QPoint p, Qt::KeyboardModifiers mods) {
  if (Detached()) return;
  try {
    const std::optional<std::string> text =
        logic_.MouseMove(DeskMouse{MouseButton::Left, p.x(), p.y(), (mods & Qt::ControlModifier) != 0},
                         isActiveWindow());
    if (text) SetStatusText(0, QString::fromStdString(*text));
  } catch (const std::exception& e) {
    events_.DeskFailure(e.what());
  }
  PaintBox()->update();
}

void TMainDesk::MouseUp(Qt::MouseButton button, QPoint p, Qt::KeyboardModifiers mods) {
  if (Detached()) return;
  Guarded([&] { logic_.MouseUp(DeskMouse{DeskMouseButton(button), p.x(), p.y(), (mods & Qt::ControlModifier) != 0}); });
}

bool TMainDesk::event(QEvent* event) {
  if (!Detached()) {
    if (event->type() == QEvent::WindowActivate) {
      Guarded([&] { logic_.Activate(!StatusBar()->isHidden()); });
      if (!Detached()) events_.DeskActivated(*this);
    } else if (event->type() == QEvent::WindowDeactivate) {
      logic_.CancelGesture();
      Guarded([&] { logic_.Deactivate(); });
    }
  }
  return DeskWindow::event(event);
}

void TMainDesk::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && !Detached()) {
    logic_.CancelGesture();
    PaintBox()->update();
    return;
  }
  DeskWindow::keyPressEvent(event);
}

void TMainDesk::closeEvent(QCloseEvent* event) {
  // The program clears its windows without close events; this is the user's
  // close: the desk is hidden, and the main window's asks to end the program.
  bool allowed = true;
  if (!Detached()) {
    try {
      allowed = logic_.CloseQuery();
    } catch (const std::exception& e) {
      events_.DeskFailure(e.what());
    }
  }
  if (!allowed) {
    event->ignore();
    return;
  }
  DeskWindow::closeEvent(event);
}

}  // namespace tavir
