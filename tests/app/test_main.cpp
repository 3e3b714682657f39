#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
  // The setup log goes to the temporary directory: keep it out of the real one.
  std::string folder = (std::filesystem::temp_directory_path() / "vexa-app-test-XXXXXX").string();
  if (::mkdtemp(folder.data()) != nullptr) ::setenv("TMPDIR", folder.c_str(), 1);
  // Widgets are tested without a display, also when ctest lists the tests.
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  const int result = RUN_ALL_TESTS();
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return result;
}
