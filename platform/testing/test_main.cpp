// GoogleTest main for tests that need no Qt GUI.
#include <QCoreApplication>
#include <QLocale>

#include <gtest/gtest.h>

#include <clocale>

#include "platform/testing/network_guard.h"

namespace plat {
// Weak: a test that does not link the runtime has no format settings to pin.
void ResetFormatSettings() __attribute__((weak));
}  // namespace plat

int main(int argc, char** argv) {
  plat::testing::InstallNetworkGuard();
  std::setlocale(LC_ALL, "C");
  QLocale::setDefault(QLocale::c());
  if (plat::ResetFormatSettings) plat::ResetFormatSettings();  // decimal ".", date "dd/mm/yyyy", time ":"
  ::testing::InitGoogleTest(&argc, argv);
  QCoreApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
