// The string tree's captions in tree streams.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "platform/forms/forms.h"
#include "platform/rtl/streams.h"
#include "tree/stringtree.h"

namespace lazytree {
namespace {

TEST(StringTreeStream, CaptionsTravelThroughTheStreamAndArriveAsNewTexts) {
  plat::TForm form{nullptr};
  auto* source = new TLazyStringTree(&form);
  auto* target = new TLazyStringTree(&form);
  std::map<PLazyNode, QString> texts;
  source->OnGetText = [&](TBaseLazyTree*, PLazyNode n, TColumnIndex, TLSTTextType, QString& text) { text = texts[n]; };
  PLazyNode a = source->AddChild(nullptr);
  texts[a] = QStringLiteral("Zähler \u20AC 7");
  texts[source->AddChild(a)] = QStringLiteral("child");
  texts[source->AddChild(nullptr)] = QString();  // an empty text writes no caption chunk

  std::vector<QString> arrived;
  target->OnNewText = [&](TBaseLazyTree*, PLazyNode, TColumnIndex column, const QString& text) {
    EXPECT_EQ(column, NoColumn);
    arrived.push_back(text);
  };
  plat::TMemoryStream stream;
  source->SaveToStream(stream);
  stream.SetPosition(0);
  target->LoadFromStream(stream);
  EXPECT_EQ(target->RootNodeCount(), 2u);
  EXPECT_EQ(arrived, (std::vector<QString>{QStringLiteral("child"), QStringLiteral("Zähler \u20AC 7")}));

  // Without toSaveCaptions nothing but the nodes is written.
  source->SetStringOptions({});
  plat::TMemoryStream bare;
  source->SaveToStream(bare);
  EXPECT_LT(bare.Size(), stream.Size());
  arrived.clear();
  bare.SetPosition(0);
  target->LoadFromStream(bare);
  EXPECT_TRUE(arrived.empty());
}

}  // namespace
}  // namespace lazytree
