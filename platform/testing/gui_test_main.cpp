// GoogleTest main for widget tests: one QApplication on the offscreen platform, Fusion style, a pinned font
// and the C locale, so that what a test measures does not depend on the machine's desktop settings.
#include <QApplication>
#include <QFont>
#include <QLocale>
#include <QStyleFactory>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

#include "platform/testing/network_guard.h"

namespace plat {
// Weak: a test that does not link the runtime has no format settings to pin.
void ResetFormatSettings() __attribute__((weak));
}  // namespace plat

int main(int argc, char** argv) {
  plat::testing::InstallNetworkGuard();
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  std::setlocale(LC_ALL, "C");
  QLocale::setDefault(QLocale::c());
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");  // QApplication adopts the environment's locale
  if (plat::ResetFormatSettings) plat::ResetFormatSettings();  // decimal ".", date "dd/mm/yyyy", time ":"
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  QApplication::setFont(QFont("DejaVu Sans", 8));
  return RUN_ALL_TESTS();
}
