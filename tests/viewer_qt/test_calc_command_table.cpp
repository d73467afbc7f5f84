#include <QAction>
#include <QKeySequence>

#include "calc_fixture.h"
#include "viewer/viewer_commands.h"

namespace tavir::calctest {
namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The command module makes its actions from the table, in its order, each as its
// row says.
TEST_F(CalcFixture, EveryActionIsMadeAsItsRowSays) {
  QStringList names;
  for (const ViewerCommand& c : kViewerCommands.Rows()) names << Q(c.Name);
  EXPECT_EQ(dm.ActionNames(), names);
  for (const ViewerCommand& c : kViewerCommands.Rows()) {
    SCOPED_TRACE(std::string(c.Name));
    const QAction* a = dm.Action(Q(c.Name));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->text(), Q(c.Caption));
    EXPECT_EQ(a->shortcut(), QKeySequence(Q(c.Shortcut)));
    EXPECT_EQ(a->isCheckable(), c.Rules.Checkable);
    EXPECT_EQ(dm.HasHandler(Q(c.Name)), static_cast<bool>(c.Handler));
    if (!c.IconText.empty()) {
      EXPECT_EQ(a->iconText(), Q(c.IconText));
    }
    EXPECT_EQ(a->toolTip(), Q(c.Caption).remove('&'));
  }
}

}  // namespace
}  // namespace tavir::calctest
