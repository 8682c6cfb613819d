// GoogleTest main for tests that need no Qt GUI.
#include <QCoreApplication>
#include <QLocale>

#include <gtest/gtest.h>

#include <clocale>

#include "platform/testing/network_guard.h"

int main(int argc, char** argv) {
  plat::testing::InstallNetworkGuard();
  std::setlocale(LC_ALL, "C");
  QLocale::setDefault(QLocale::c());
  ::testing::InitGoogleTest(&argc, argv);
  QCoreApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
