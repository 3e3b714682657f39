#include <gtest/gtest.h>

#include <QApplication>

// One QApplication for every widget test of the program.
int main(int argc, char** argv) {
  // Also for the test listing at build time, which gets no environment of its own.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
