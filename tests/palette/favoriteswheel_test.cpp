// A stray wheel notch over the favourites list loads nothing: a load stops
// every cart on air. Only a deliberate choice loads.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QWheelEvent>
#include <QWidget>

#include "palette/favorites.h"
#include "testfiles.h"

namespace quillon::palette::test {
namespace {

TEST(FavoritesWheel, AWheelOverTheListChangesNothingAndAChoiceStillLoads) {
  TempFolder folder;
  for (const char* name : {"Morning.pal", "Quiz.pal", "Night.pal"}) {
    writeBytes(folder / name, "[0]\nTITLE=/j/a.mp3\n");
  }
  writeBytes(folder / "Config.ini",
             "[Favoris]\nNb=3\n[FavorisLink]\n1=" + (folder / "Morning.pal").string() + "\n2=" +
                 (folder / "Quiz.pal").string() + "\n3=" + (folder / "Night.pal").string() + "\n");
  QWidget inset;
  auto* list = new QComboBox(&inset);
  list->setFocusPolicy(Qt::NoFocus);  // as on the window
  std::vector<std::string> loads;
  Favorites favorites(
      list, new QPushButton(&inset), new QPushButton(&inset), folder / "Config.ini",
      [&](const std::string& path) { loads.push_back(path); }, [] {}, {});
  favorites.LoadFavorites();
  inset.show();
  ASSERT_EQ(list->count(), 3);

  for (const int notch : {-120, -120, 120, -360}) {
    const QPointF middle = QRectF(list->rect()).center();
    QWheelEvent wheel(middle, list->mapToGlobal(middle), QPoint(), QPoint(0, notch), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list, &wheel);
  }
  EXPECT_EQ(list->currentIndex(), -1);
  EXPECT_TRUE(loads.empty());

  list->activated(1);  // a click and a pick, or the keyboard in the open list
  EXPECT_EQ(loads, std::vector<std::string>{(folder / "Quiz.pal").string()});
}

}  // namespace
}  // namespace quillon::palette::test
