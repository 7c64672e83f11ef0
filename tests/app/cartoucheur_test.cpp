#include <gtest/gtest.h>

#include <QApplication>

#include "app/cartoucheur.h"

namespace quillon::app {
namespace {

TEST(Cartoucheur, OpensTitledWithTheProgramsName) {
  Cartoucheur window;
  window.show();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Quillon V1.0"));
  EXPECT_TRUE(window.isVisible());
}

}  // namespace
}  // namespace quillon::app
