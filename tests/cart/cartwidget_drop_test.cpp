// Drops on the cart's zones and on the elements that swallow a drag, sent
// as the platform sends them (enter, move, then drop or leave). Every report
// over a zone raises Survole and shows the drag as droppable; only the drop
// looks at the data.
#include <QSignalSpy>

#include "cartwidgetfixture.h"

namespace quillon::cart::test {
namespace {

class CartWidgetDrops : public CartWidgetTest {
 public:
  void SetUp() override {
    CartWidgetTest::SetUp();
    addFile("/jingles/intro.Mp3", 125.5);
  }
  QWidget* zone(const char* name) {
    return std::string(name) == "Cartouche" ? &widget : element(name);
  }
  QSignalSpy survole{&widget, &CartWidget::Survole};
  QSignalSpy affectFile{&widget, &CartWidget::AffectFile};
};

constexpr const char* kForwardingZones[] = {"Cartouche", "Image3",   "Label1",  "Label2",
                                            "Label3",    "Picture6", "Picture8"};
constexpr const char* kSwallowingElements[] = {
    "Pausec", "Stopc", "Label6", "Label5", "Label4", "Picture5", "Image14", "Picture9", "Label7"};

TEST_F(CartWidgetDrops, EveryZoneRaisesSurvoleAtEachReportAndBindsTheDrop) {
  for (const char* name : kForwardingZones) {
    cart().StopMyplay();
    survole.clear();
    affectFile.clear();
    std::unique_ptr<QMimeData> data(filesData({"/jingles/intro.Mp3"}));
    const DragOutcome over = dragOver(zone(name), data.get());
    EXPECT_TRUE(over.enterAccepted) << name;
    EXPECT_EQ(over.moveAction, Qt::CopyAction) << name;  // the proposed effect, unchanged
    EXPECT_EQ(survole.count(), 2) << name;               // enter and move
    dragLeave(zone(name));
    EXPECT_EQ(survole.count(), 3) << name;  // leaving is a report too

    dropOn(zone(name), data.get());
    EXPECT_EQ(affectFile.count(), 1) << name;
    EXPECT_EQ(cart().GetTitle(), "/jingles/intro.Mp3") << name;
  }
}

TEST_F(CartWidgetDrops, TheOtherElementsSwallowADragSoADropThereChangesNothing) {
  for (const char* name : kSwallowingElements) {
    survole.clear();
    affectFile.clear();
    std::unique_ptr<QMimeData> data(filesData({"/jingles/intro.Mp3"}));
    const DragOutcome over = dragOver(zone(name), data.get());
    // Taken, so Qt does not hand it on to the cart behind, and shown as no drop.
    EXPECT_TRUE(over.enterAccepted) << name;
    EXPECT_EQ(over.moveAction, Qt::IgnoreAction) << name;
    dropOn(zone(name), data.get());
    EXPECT_EQ(survole.count(), 0) << name;
    EXPECT_EQ(affectFile.count(), 0) << name;
    EXPECT_EQ(cart().GetTitle(), "") << name;
  }
}

TEST_F(CartWidgetDrops, ADropWithoutLocalFilesRaisesAffectFileAndBindsNothing) {
  QMimeData text;
  text.setText("/jingles/intro.Mp3");
  dropOn(element("Label1"), &text);
  QMimeData web;
  web.setUrls({QUrl("https://example.org/intro.mp3")});
  dropOn(element("Label1"), &web);
  EXPECT_EQ(affectFile.count(), 2);
  EXPECT_EQ(survole.count(), 4);  // enter and move, for each
  EXPECT_EQ(cart().GetTitle(), "");
}

TEST_F(CartWidgetDrops, AFileThatCannotBeAnalysedGivesItsReasonInTheTitlesTooltip) {
  std::unique_ptr<QMimeData> data(filesData({"/jingles/gone.mp3"}));
  dropOn(&widget, data.get());
  EXPECT_TRUE(element("Label1")->toolTip().startsWith("/jingles/gone.mp3\n"));
}

}  // namespace
}  // namespace quillon::cart::test
