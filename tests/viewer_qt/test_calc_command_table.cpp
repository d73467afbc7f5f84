#include <QAction>
#include <QKeySequence>

#include "calc_fixture.h"
#include "platform/qt/qt_convert.h"
#include "viewer/viewer_commands.h"

namespace tavir::calctest {
namespace {

// The command module makes its actions from the table, in its order, each as its
// row says.
TEST_F(CalcFixture, EveryActionIsMadeAsItsRowSays) {
  QStringList names;
  for (const ViewerCommand& c : kViewerCommands.Rows()) names << ToQString(c.Name);
  EXPECT_EQ(dm.ActionNames(), names);
  for (const ViewerCommand& c : kViewerCommands.Rows()) {
    SCOPED_TRACE(std::string(c.Name));
    const QAction* a = dm.Action(ToQString(c.Name));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->text(), ToQString(c.Caption));
    EXPECT_EQ(a->shortcut(), QKeySequence(ToQString(c.Shortcut)));
    EXPECT_EQ(a->isCheckable(), c.Rules.Checkable);
    EXPECT_EQ(dm.HasHandler(ToQString(c.Name)), static_cast<bool>(c.Handler));
    if (!c.IconText.empty()) {
      EXPECT_EQ(a->iconText(), ToQString(c.IconText));
    }
    EXPECT_EQ(a->toolTip(), ToQString(c.Caption).remove('&'));
  }
}

}  // namespace
}  // namespace tavir::calctest
