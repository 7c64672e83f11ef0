// Drops on the cart's zones and on the elements that swallow a drag, sent
// to the element as the platform sends them (enter, move, then drop or
// leave). Every report over a zone raises Survole and shows the drag as
// droppable; only the drop looks at the data.
#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>

#include "cartwidgetfixture.h"

namespace quillon::cart::test {
namespace {

constexpr auto kOffered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;

class CartWidgetDrops : public CartWidgetTest {
 public:
  void SetUp() override {
    CartWidgetTest::SetUp();
    addFile("/jingles/intro.Mp3", 125.5);
    intro.setUrls({QUrl::fromLocalFile("/jingles/intro.Mp3")});
  }
  QWidget* zone(const char* name) {
    return std::string(name) == "Cartouche" ? &widget : element(name);
  }
  // Enter and one move: whether the enter was taken, and the move's action.
  std::pair<bool, Qt::DropAction> dragOver(QWidget* target, const QMimeData* data) {
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, kOffered, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, kOffered, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    return {enter.isAccepted(), move.isAccepted() ? move.dropAction() : Qt::IgnoreAction};
  }
  void dropOn(QWidget* target, const QMimeData* data) {
    dragOver(target, data);
    QDropEvent drop(QPointF(target->rect().center()), kOffered, data, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
  }

  QMimeData intro;
  QSignalSpy survole{&widget, &CartWidget::Survole};
  QSignalSpy affectFile{&widget, &CartWidget::AffectFile};
};

TEST_F(CartWidgetDrops, EveryZoneRaisesSurvoleAtEachReportAndBindsTheDrop) {
  for (const char* name :
       {"Cartouche", "Image3", "Label1", "Label2", "Label3", "Picture6", "Picture8"}) {
    cart().StopMyplay();
    survole.clear();
    affectFile.clear();
    // Shown as droppable with the proposed effect, unchanged.
    EXPECT_EQ(dragOver(zone(name), &intro), std::make_pair(true, Qt::CopyAction)) << name;
    EXPECT_EQ(survole.count(), 2) << name;  // enter and move
    QDragLeaveEvent leave;
    QApplication::sendEvent(zone(name), &leave);
    EXPECT_EQ(survole.count(), 3) << name;  // leaving is a report too

    dropOn(zone(name), &intro);
    EXPECT_EQ(affectFile.count(), 1) << name;
    EXPECT_EQ(cart().GetTitle(), "/jingles/intro.Mp3") << name;
  }
}

TEST_F(CartWidgetDrops, TheOtherElementsSwallowADragSoADropThereChangesNothing) {
  for (const char* name : {"Pausec", "Stopc", "Label6", "Label5", "Label4", "Picture5", "Image14",
                           "Picture9", "Label7"}) {
    // Taken, so Qt does not hand it on to the cart behind, and shown as no drop.
    EXPECT_EQ(dragOver(zone(name), &intro), std::make_pair(true, Qt::IgnoreAction)) << name;
    dropOn(zone(name), &intro);
  }
  EXPECT_EQ(survole.count(), 0);
  EXPECT_EQ(affectFile.count(), 0);
  EXPECT_EQ(cart().GetTitle(), "");
}

TEST_F(CartWidgetDrops, ADropWithoutLocalFilesBindsNothingAndAnUnreadableOneShowsWhy) {
  QMimeData text;
  text.setText("/jingles/intro.Mp3");
  dropOn(element("Label1"), &text);
  QMimeData web;
  web.setUrls({QUrl("https://example.org/intro.mp3")});
  dropOn(element("Label1"), &web);
  EXPECT_EQ(affectFile.count(), 2);
  EXPECT_EQ(survole.count(), 4);  // enter and move, for each
  EXPECT_EQ(cart().GetTitle(), "");
  // A file that cannot be analysed gives its reason in the title's tooltip.
  QMimeData gone;
  gone.setUrls({QUrl::fromLocalFile("/jingles/gone.mp3")});
  dropOn(&widget, &gone);
  EXPECT_TRUE(element("Label1")->toolTip().startsWith("/jingles/gone.mp3\n"));
}

}  // namespace
}  // namespace quillon::cart::test
