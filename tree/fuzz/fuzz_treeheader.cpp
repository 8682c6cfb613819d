// Fuzz entry for the tree header's stream reader. The input is given to LoadFromStream of the header of a tree
// window with nodes (headed, auto-scaled to its font, painted): refused input must leave the header and the
// stream as they were; accepted input must save into bytes that load again and save the same, and the header
// must lay out and paint with what it took.

#include <QApplication>
#include <QByteArray>
#include <QImage>
#include <QWidget>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/forms/forms.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/streams.h"
#include "tree/treecolumns.h"
#include "tree/treecontrol.h"

namespace {

using namespace lazytree;

void Require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz_treeheader: %s\n", what);
  std::abort();
}

struct TWindow {
  plat::TForm form{nullptr};
  TBaseLazyTreeControl* tree;
  TWindow() {
    form.SetBounds(0, 0, 400, 300);
    tree = new TBaseLazyTreeControl(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 360, 240);
    tree->TreeOptions().AutoOptions.Include(toAutoChangeScale);
    for (int i = 0; i < 4; ++i) tree->AddChild(nullptr);
    TLTHeader& h = tree->Header();
    h.SetOptions(h.Options() + TLTHeaderOptions{hoVisible, hoAutoResize, hoShowSortGlyphs});
  }
  QByteArray Save() {
    plat::TMemoryStream s;
    tree->Header().SaveToStream(s);
    return s.Bytes();
  }
};

TWindow* Window() {
  static TWindow* window = new TWindow;  // one window for every input: the reader must leave it usable
  return window;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(*argc, *argv);
  Window();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TWindow& w = *Window();
  const QByteArray before = w.Save();
  plat::TMemoryStream input(QByteArray(reinterpret_cast<const char*>(Data), static_cast<qsizetype>(Size)));
  try {
    w.tree->Header().LoadFromStream(input);
  } catch (const plat::EReadError&) {
    Require(input.Position() == 0, "a refused stream moved the position");
    Require(w.Save() == before, "a refused stream changed the header");
    return 0;
  }
  const QByteArray saved = w.Save();
  plat::TMemoryStream again(saved);
  w.tree->Header().LoadFromStream(again);
  Require(w.Save() == saved, "a saved header loads into another");
  // Layout and painting with what was taken: the header's font, sizes and spacing.
  plat::TFont& font = *w.tree->Header().Font();
  font.SetHeight(font.Height() < 0 ? font.Height() - 1 : font.Height() + 1);
  QImage shot(w.tree->Widget()->size(), QImage::Format_ARGB32);
  w.tree->Widget()->render(&shot);
  return 0;
}
