#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include "platform/qt/cursors.h"
#include "platform/services.h"
#include "fakes/scripted_messages.h"

namespace tavir {
namespace {

// Collects qWarning texts while it lives.
class WarningCatcher {
 public:
  WarningCatcher() {
    caught_ = &texts_;
    previous_ = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
      if (type == QtWarningMsg && caught_ != nullptr) caught_->push_back(text);
    });
  }
  ~WarningCatcher() {
    qInstallMessageHandler(previous_);
    caught_ = nullptr;
  }
  const QStringList& Texts() const { return texts_; }

 private:
  static inline QStringList* caught_ = nullptr;
  QStringList texts_;
  QtMessageHandler previous_ = nullptr;
};

TEST(Cursors, EverySlotLoadsWithItsHotSpot) {
  ASSERT_EQ(CursorSlots().size(), 6u);
  EXPECT_STREQ(CursorSlots()[5].Name, "NEWSECTION");
  EXPECT_STREQ(CursorSlots()[4].Warning, "Курсор \"Поверхность оболочки\" не загружен!");
  for (const CursorSlot& s : CursorSlots()) {
    bool loaded = false;
    WarningCatcher warnings;
    const QCursor c = LoadCursorByName(s.Name, &loaded);
    EXPECT_TRUE(loaded) << s.Name;
    EXPECT_TRUE(warnings.Texts().isEmpty()) << s.Name;
    EXPECT_EQ(c.shape(), Qt::BitmapCursor) << s.Name;
    EXPECT_EQ(c.pixmap().size(), QSize(32, 32)) << s.Name;
    // The hot spot is a drawn pixel of the picture.
    const QImage img = c.pixmap().toImage();
    EXPECT_GT(qAlpha(img.pixel(c.hotSpot())), 0) << s.Name;
  }
  // A sheet of the six, enlarged, with their hot spots marked, to look at.
  QImage sheet(6 * 72, 72, QImage::Format_RGB32);
  sheet.fill(QColor(200, 200, 200));
  {
    QPainter p(&sheet);
    for (int i = 0; i < 6; ++i) {
      const QCursor c = LoadCursorByName(CursorSlots()[static_cast<std::size_t>(i)].Name);
      p.drawImage(QRect(i * 72 + 4, 4, 64, 64), c.pixmap().toImage());
      p.fillRect(QRect(i * 72 + 4 + 2 * c.hotSpot().x(), 4 + 2 * c.hotSpot().y(), 2, 2), Qt::red);
    }
  }
  ASSERT_TRUE(QDir().mkpath(TAVIR_PICTURES));
  EXPECT_TRUE(sheet.save(QString(TAVIR_PICTURES) + "/cursors.png"));
  // The force cursor points with the tip of its arrow.
  EXPECT_EQ(LoadCursorByName("SETFORCECURSOR").hotSpot(), QPoint(15, 29));
}

TEST(Cursors, AMissingCursorWarnsAndGivesTheArrow) {
  WarningCatcher warnings;
  bool loaded = true;
  const QCursor c = LoadCursorByName("NOSUCHCURSOR", &loaded);
  EXPECT_FALSE(loaded);
  EXPECT_EQ(c.shape(), Qt::ArrowCursor);
  ASSERT_EQ(warnings.Texts().size(), 1);
  EXPECT_TRUE(warnings.Texts()[0].contains("NOSUCHCURSOR"));
}

TEST(CursorTable, LoadsTheProgramsSlotsAndWarnsOfMissingOnes) {
  ScriptedMessages messages;
  CursorTable editor;
  editor.Load(kEditorCursorSlots, &messages);
  EXPECT_TRUE(messages.Shown.empty());
  for (int slot = 1; slot <= 5; ++slot) EXPECT_TRUE(editor.Loaded(slot)) << slot;
  EXPECT_FALSE(editor.Loaded(6)) << "the section cursor is the analysis program's";
  EXPECT_EQ(editor.Cursor(6).shape(), Qt::ArrowCursor);
  EXPECT_EQ(editor.Cursor(4).shape(), Qt::BitmapCursor);

  CursorTable viewer;
  viewer.Load(kViewerCursorSlots, &messages);
  EXPECT_TRUE(viewer.Loaded(6));

  WarningCatcher warnings;
  CursorTable broken;
  broken.Load({{2, "SETFORCECURSOR", "w2"}, {3, "NOSUCHCURSOR", "Курсор \"Распределенная нагрузка\" не загружен!"}},
              &messages);
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0].Caption, "Предупреждение");
  EXPECT_EQ(messages.Shown[0].Kind, MsgKind::Warning);
  EXPECT_EQ(messages.Shown[0].Buttons, MsgButtons::Ok);
  EXPECT_EQ(messages.Shown[0].Text, "Курсор \"Распределенная нагрузка\" не загружен!");
  EXPECT_TRUE(broken.Loaded(2));
  EXPECT_FALSE(broken.Loaded(3));
  EXPECT_EQ(broken.Cursor(3).shape(), Qt::ArrowCursor);
  EXPECT_EQ(warnings.Texts().size(), 1);
}

}  // namespace
}  // namespace tavir
