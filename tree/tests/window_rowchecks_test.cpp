// Check images in the rows: which image of the list in force a node shows, where, and how it moves the
// node's own image.
#include <QImage>

#include <map>

#include <gtest/gtest.h>

#include "platform/forms/forms.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/imagelist.h"
#include "platform/graphics/themes.h"
#include "tree/checkimages.h"
#include "tree/checkstate.h"
#include "tree/stringtree.h"
#include "tree/treecontrol.h"

namespace lazytree {
namespace {

using plat::TRect;

QRgb ImageColour(int index) { return qRgb(10 * index, 255 - 10 * index, 100); }

struct Fixture {
  plat::TForm form{nullptr};
  TBaseLazyTreeControl* tree;
  plat::TImageList* checks;
  plat::TImageList* images;
  Fixture() {
    form.SetBounds(0, 0, 400, 300);
    tree = new TBaseLazyTreeControl(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 300, 200);
    tree->SetMiscOptions(tree->TreeOptions().MiscOptions + TLTMiscOptions{toCheckSupport});
    checks = new plat::TImageList(&form);
    images = new plat::TImageList(&form);
    for (int i = 0; i < 25; ++i) {
      QImage image(16, 16, QImage::Format_ARGB32);
      image.fill(ImageColour(i));
      checks->AddImage(image);
    }
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(qRgb(0, 0, 255));
    images->AddImage(icon);
    tree->SetCustomCheckImages(checks);
    tree->SetCheckImageKind(ckCustom);
    tree->SetRootNodeCount(1);
  }
  QImage Paint() {
    QImage image(120, 18, QImage::Format_ARGB32);
    image.fill(Qt::magenta);
    plat::TCanvas canvas(&image);
    tree->PaintTree(&canvas, TRect(0, 0, 120, 18), {0, 0}, WindowPaintOptions);
    return image;
  }
};

// The check image sits one pixel left of the content after the indent and margin (x 21 with a root level),
// centred on the row.
constexpr int CheckX = 18 + 4 - 1, CheckCentreY = 9;

TEST(RowChecks, TheNodesCheckTypeAndStatePickTheImage) {
  struct Case {
    TCheckType type;
    TCheckState state;
    bool disabled;
  } cases[] = {
      {ctCheckBox, csUncheckedNormal, false}, {ctCheckBox, csCheckedNormal, false},
      {ctTriStateCheckBox, csMixedNormal, false}, {ctRadioButton, csCheckedNormal, false},
      {ctCheckBox, csCheckedNormal, true},      {ctButton, csUncheckedNormal, false},
  };
  for (const Case& c : cases) {
    Fixture f;
    PLazyNode node = f.tree->GetFirst();
    node->CheckType = c.type;
    node->CheckState = c.state;
    if (c.disabled) node->States.Include(vsDisabled);
    const int index = CheckImageIndex(c.type, c.state, !c.disabled, false);
    ASSERT_GE(index, 0);
    const QImage image = f.Paint();
    EXPECT_EQ(image.pixel(CheckX + 8, CheckCentreY), ImageColour(index)) << "case " << (&c - cases);
    EXPECT_EQ(image.pixel(CheckX + 15, CheckCentreY), ImageColour(index)) << "its right edge";
    EXPECT_NE(image.pixel(CheckX + 17, CheckCentreY), ImageColour(index)) << "two pixels of space follow";
  }
}

TEST(RowChecks, NoImageWithoutACheckTypeAListOrTheOption) {
  struct Case {
    bool option, list;
    TCheckType type;
  } cases[] = {{false, true, ctCheckBox}, {true, false, ctCheckBox}, {true, true, ctNone}};
  for (const Case& c : cases) {
    Fixture f;
    if (!c.option) f.tree->SetMiscOptions(f.tree->TreeOptions().MiscOptions - TLTMiscOptions{toCheckSupport});
    if (!c.list) f.tree->SetCustomCheckImages(nullptr);
    f.tree->SetImages(f.images);
    f.tree->OnGetImageIndex = [](auto*, PLazyNode, TLTImageKind k, TColumnIndex, bool&, int& i) {
      if (k != ikOverlay) i = 0;
    };
    f.tree->GetFirst()->CheckType = c.type;
    const QImage image = f.Paint();
    EXPECT_EQ(image.pixel(CheckX + 8, CheckCentreY), qRgb(0, 0, 255)) << "the node image takes the place, case "
                                                                      << (&c - cases);
  }
}

// The system kinds draw the shared system pictures; under themes the default kind draws the theme's button
// elements instead (a check box, or a push button with the arrow of the utility images for a button check).
TEST(RowChecks, SystemKindsDrawTheSharedSystemPicturesOrTheThemedElements) {
  struct Case {
    TCheckImageKind kind;
    bool themed;
    TCheckType type;
    TCheckState state;
    int part, elementState;  // the element expected under themes
  } cases[] = {
      {ckSystemDefault, false, ctCheckBox, csCheckedNormal, 0, 0},
      {ckSystemFlat, true, ctCheckBox, csCheckedNormal, 0, 0},  // the flat kind keeps its pictures
      {ckSystemDefault, true, ctCheckBox, csCheckedNormal, plat::BP_CHECKBOX, plat::CBS_CHECKEDNORMAL},
      {ckSystemDefault, true, ctTriStateCheckBox, csMixedNormal, plat::BP_CHECKBOX, plat::CBS_MIXEDNORMAL},
      {ckSystemDefault, true, ctRadioButton, csUncheckedNormal, plat::BP_RADIOBUTTON, plat::RBS_UNCHECKEDNORMAL},
      {ckSystemDefault, true, ctButton, csUncheckedPressed, plat::BP_PUSHBUTTON, plat::PBS_PRESSED},
  };
  for (const Case& c : cases) {
    Fixture f;
    TLTPaintOptions paint = f.tree->TreeOptions().PaintOptions;
    if (c.themed) paint.Include(toThemeAware); else paint.Exclude(toThemeAware);
    f.tree->SetPaintOptions(paint);
    f.tree->SetCheckImageKind(c.kind);
    ASSERT_EQ(f.tree->TreeStates().Has(tsUseThemes), c.themed);
    f.tree->GetFirst()->CheckType = c.type;
    f.tree->GetFirst()->CheckState = c.state;
    plat::TCustomImageList* list = f.tree->CheckImagesInForce();
    ASSERT_EQ(list, SystemCheckImages(c.kind == ckSystemFlat));
    // The row shows exactly what the list or the theme draws into a cell of the check size.
    QImage expected(16, 16, QImage::Format_ARGB32);
    expected.fill(plat::ToQColor(f.tree->Colors().BackGroundColor()));
    plat::TCanvas canvas(&expected);
    if (c.part == 0) {
      list->Draw(&canvas, 0, 0, CheckImageIndex(c.type, c.state, true, false), plat::dsTransparent, plat::itImage,
                 true);
    } else {
      ASSERT_TRUE(plat::ThemeServices().DrawElement(&canvas, {QStringLiteral("button"), c.part, c.elementState},
                                                    TRect(0, 0, 16, 16)));
      if (c.part == plat::BP_PUSHBUTTON) TreeUnitImages(tlUtilities)->Draw(&canvas, 0, 0, UtilityButtonArrow, true);
    }
    canvas.SetDevice(nullptr);
    const QImage image = f.Paint();
    int wrong = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) wrong += image.pixel(CheckX + x, CheckCentreY - 8 + y) != expected.pixel(x, y);
    EXPECT_EQ(wrong, 0) << "case " << (&c - cases);
  }
}

TEST(RowChecks, TheNodeImageMovesRightOfTheCheckImage) {
  Fixture f;
  f.tree->SetImages(f.images);
  f.tree->OnGetImageIndex = [](auto*, PLazyNode, TLTImageKind k, TColumnIndex, bool&, int& i) {
    if (k != ikOverlay) i = 0;
  };
  f.tree->GetFirst()->CheckType = ctCheckBox;
  const QImage image = f.Paint();
  EXPECT_EQ(image.pixel(CheckX + 8, CheckCentreY), ImageColour(CheckImageIndex(ctCheckBox, csUncheckedNormal, true, false)));
  EXPECT_EQ(image.pixel(CheckX + 18 + 8, CheckCentreY), qRgb(0, 0, 255));
}

// A string tree as the user sees it after a few clicks: plain boxes, a tri-state box summarising its children
// (mixed, and checked once all are), radio buttons and a button. Every row shows the picture of the system list
// that its control's type and resulting state select.
TEST(RowChecks, ClickedTreeShowsThePropagatedStates) {
  plat::TForm form{nullptr};
  form.SetBounds(0, 0, 400, 300);
  auto* tree = new TLazyStringTree(&form);
  tree->SetParent(&form);
  tree->SetBounds(0, 0, 260, 240);
  tree->Font()->SetName("DejaVu Sans");
  tree->Font()->SetHeight(-12);
  tree->SetMiscOptions(tree->TreeOptions().MiscOptions + TLTMiscOptions{toCheckSupport});
  tree->SetAutoOptions(tree->TreeOptions().AutoOptions + TLTAutoOptions{toAutoTristateTracking});
  tree->SetPaintOptions(tree->TreeOptions().PaintOptions - TLTPaintOptions{toThemeAware});
  tree->SetCheckImageKind(ckSystemDefault);
  std::map<PLazyNode, QString> captions;
  tree->OnGetText = [&](TBaseLazyTree*, PLazyNode n, TColumnIndex, TLSTTextType, QString& text) { text = captions[n]; };
  auto add = [&](PLazyNode parent, const char* caption, TCheckType type, TCheckState state = csUncheckedNormal) {
    PLazyNode n = tree->AddChild(parent);
    n->CheckType = type;
    n->CheckState = state;
    captions[n] = caption;
    return n;
  };
  auto click = [&](PLazyNode n) { tree->SetCheckState(n, tree->NextCheckState(n->CheckType, n->CheckState)); };
  PLazyNode meters = add(nullptr, "Meters (tri-state)", ctTriStateCheckBox);
  PLazyNode m1 = add(meters, "Meter 1", ctCheckBox);
  add(meters, "Meter 2", ctCheckBox);
  add(meters, "Meter 3 (fixed)", ctCheckBox, csCheckedDisabled);
  PLazyNode bus = add(nullptr, "Bus (tri-state)", ctTriStateCheckBox);
  PLazyNode b1 = add(bus, "Line A", ctCheckBox);
  PLazyNode b2 = add(bus, "Line B", ctCheckBox);
  PLazyNode mode = add(nullptr, "Mode", ctNone);
  add(mode, "Primary", ctRadioButton, csCheckedNormal);
  PLazyNode secondary = add(mode, "Secondary", ctRadioButton);
  add(nullptr, "Plain box", ctCheckBox);
  add(nullptr, "Reset", ctButton);
  tree->FullExpand();
  click(m1);         // one of three: the parent is mixed
  click(b1);
  click(b2);         // both lines: the parent is checked
  click(secondary);  // the other radio button goes out
  EXPECT_EQ(meters->CheckState, csMixedNormal);
  EXPECT_EQ(bus->CheckState, csCheckedNormal);
  EXPECT_EQ(mode->FirstChild->CheckState, csUncheckedNormal);

  QImage image(260, 240, QImage::Format_ARGB32);
  image.fill(Qt::white);
  plat::TCanvas canvas(&image);
  tree->PaintTree(&canvas, TRect(0, 0, 260, 240), {0, 0}, WindowPaintOptions);
  canvas.SetDevice(nullptr);
  if (qEnvironmentVariableIsSet("TREE_SHOTS")) image.save(qEnvironmentVariable("TREE_SHOTS") + "/checkboxes.png");

  plat::TCustomImageList* list = SystemCheckImages(false);
  const int indent = static_cast<int>(tree->Indent());
  int rows = 0;
  for (PLazyNode n = tree->GetFirst(); n; n = tree->GetNext(n)) {
    if (n->CheckType == ctNone) continue;
    ++rows;
    const TRect row = tree->GetDisplayRect(n, NoColumn, false);
    const int x = indent * static_cast<int>(tree->GetNodeLevel(n) + 1) + tree->Margin() - 1;
    const int y = row.Top + (row.Height() - CheckImageSize) / 2;
    QImage expected(CheckImageSize, CheckImageSize, QImage::Format_ARGB32);
    expected.fill(plat::ToQColor(tree->Colors().BackGroundColor()));
    plat::TCanvas cell(&expected);
    const bool enabled = !IsDisabled(static_cast<TCheckState>(n->CheckState));
    list->Draw(&cell, 0, 0, CheckImageIndex(n->CheckType, n->CheckState, enabled, false), plat::dsTransparent,
               plat::itImage, true);
    cell.SetDevice(nullptr);
    int wrong = 0;
    for (int py = 0; py < CheckImageSize; ++py)
      for (int px = 0; px < CheckImageSize; ++px) wrong += image.pixel(x + px, y + py) != expected.pixel(px, py);
    EXPECT_EQ(wrong, 0) << captions[n].toStdString();
  }
  EXPECT_EQ(rows, 11);
  if (!qEnvironmentVariableIsSet("TREE_SHOTS")) return;
  // The same tree as the themed window draws it, for the eye.
  tree->SetPaintOptions(tree->TreeOptions().PaintOptions + TLTPaintOptions{toThemeAware});
  image.fill(Qt::white);
  canvas.SetDevice(&image);
  tree->PaintTree(&canvas, TRect(0, 0, 260, 240), {0, 0}, WindowPaintOptions);
  canvas.SetDevice(nullptr);
  image.save(qEnvironmentVariable("TREE_SHOTS") + "/checkboxes_themed.png");
}

}  // namespace
}  // namespace lazytree
