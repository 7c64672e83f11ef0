#include <gtest/gtest.h>

#include <QApplication>

#include "app/cartoucheur.h"

namespace quillon::app {
namespace {

TEST(Cartoucheur, OpensTitledWithTheProgramsName) {
  int argc = 1;
  char name[] = "app_tests";
  char* argv[] = {name, nullptr};
  QApplication application(argc, argv);
  Cartoucheur window;
  window.show();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Quillon V1.0"));
  EXPECT_TRUE(window.isVisible());
}

}  // namespace
}  // namespace quillon::app
