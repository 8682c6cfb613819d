// Fuzz entry for the tree stream reader. The first input byte picks the road; the rest is the input:
//   even: a whole tree stream given to LoadFromStream (into a tree that holds nodes already);
//   odd: transfer data (node chunks without header) inserted after a node, as a paste or a drop does.
// Accepted input must leave a consistent tree that saves and loads again; refused input must leave the tree
// as it was.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstdio>

#include "platform/rtl/streams.h"
#include "tree/lazytree.h"
#include "tree/tests/treecheck.h"

namespace {

using lazytree::TBaseLazyTree;

void Require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz_treestream: %s\n", what);
  std::abort();
}

void RequireConsistent(const TBaseLazyTree& tree) {
  const std::string err = lazytree::testing::CheckTree(tree);
  if (!err.empty()) std::fprintf(stderr, "fuzz_treestream: %s\n", err.c_str());
  Require(err.empty(), "inconsistent tree");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size < 1) return 0;
  const QByteArray input(reinterpret_cast<const char*>(Data + 1), static_cast<qsizetype>(Size - 1));
  TBaseLazyTree tree;
  tree.TreeOptions().SelectionOptions.Include(lazytree::toMultiSelect);
  // A handler that reads what the application would: a length and that many bytes.
  tree.OnLoadNode = [](TBaseLazyTree*, lazytree::PLazyNode, plat::TStream& s) {
    const uint32_t n = s.ReadU8();
    s.ReadBytes(n);
  };
  lazytree::PLazyNode first = tree.AddChild(nullptr);
  tree.AddChild(first);
  tree.AddChild(nullptr);
  const uint32_t before = tree.RootNode()->TotalCount;
  bool accepted = true;
  bool formatError = false;
  try {
    if (Data[0] % 2 == 0) {
      plat::TMemoryStream s(input);
      tree.LoadFromStream(s);
    } else {
      tree.InsertTransferNodes(input, nullptr, first, lazytree::amInsertAfter, lazytree::crNodeAdded);
    }
  } catch (const lazytree::ELazyTreeError&) {
    accepted = false;
    formatError = true;
  } catch (const plat::Exception&) {
    accepted = false;  // the handler ran out of data
  }
  RequireConsistent(tree);
  if (!accepted) {
    // A refused stream changes nothing; a failing handler leaves a load with an empty tree (the old nodes were
    // replaced) and an insert with the nodes it had before.
    const uint32_t now = tree.RootNode()->TotalCount;
    Require(now == before || (!formatError && Data[0] % 2 == 0 && now == 1), "refused input changed the tree");
    return 0;
  }
  // What was accepted saves and loads again.
  tree.OnLoadNode = nullptr;
  plat::TMemoryStream saved;
  tree.SaveToStream(saved);
  TBaseLazyTree again;
  saved.SetPosition(0);
  again.LoadFromStream(saved);
  RequireConsistent(again);
  Require(again.RootNode()->TotalCount == tree.RootNode()->TotalCount, "reloaded tree differs");
  return 0;
}
