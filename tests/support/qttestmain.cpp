// main() for test programs that need a QApplication: one for the whole run,
// on the stack, so that it is gone before the program's static objects are.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Tests draw off screen unless told otherwise (also when listed at build time).
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QApplication::setStyle("Fusion");  // the program's style, the same on every desktop
  return RUN_ALL_TESTS();
}
