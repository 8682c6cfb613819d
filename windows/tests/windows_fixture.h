#pragma once
// A fresh program folder with the fourteen windows created in it, scripted message boxes, and helpers to act
// inside a modal window.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "core/device_model.h"
#include "core/lang_texts.h"
#include "platform/forms/dialogs.h"
#include "platform/forms/forms.h"
#include "windows/main_window.h"
#include "windows/program.h"

class WindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    Set_Program_Dir(dir_.path());
  }
  void TearDown() override {
    Free_Windows();
    Set_Program_Dir(QString());
  }

  // Writes a file below the program folder (folders created as needed).
  void Write(const QString& rel, const QByteArray& text) {
    const QString path = dir_.filePath(rel);
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
  }
  QByteArray Read(const QString& rel) const {
    QFile f(dir_.filePath(rel));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  bool IsDir(const QString& rel) const { return QFileInfo(dir_.filePath(rel)).isDir(); }

  // Creates the windows as the program does; the main window is not the application's main form here, so
  // closing it does not end the test run.
  void Start() {
    Create_Windows();
    plat::Application->SetMainForm(nullptr);
  }
  // What the main window does when it is closed.
  void CloseMain() {
    plat::TCloseAction a = plat::caHide;
    FTessaroneFirmWare->FormClose(a);
  }

  // Runs Act once Form is shown modally (after its FormShow); the test then ends the modal loop itself.
  static void OnModal(plat::TForm* Form, std::function<void()> Act) {
    auto tries = std::make_shared<int>(0);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [Form, Act, tries, poll] {
      if (Form->Modal()) {
        Act();
        return;
      }
      if (++*tries < 200) QTimer::singleShot(5, *poll);
    };
    QTimer::singleShot(0, *poll);
  }

  static void WaitUntil(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }

  static QString T(int i) { return Lang_Texts.value(i); }

  QTemporaryDir dir_;
  plat::TScriptedMessageBoxes boxes_;
};
