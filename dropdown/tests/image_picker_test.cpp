// The image picker: its items, filling them from a folder (files that are no pictures included) and from the
// image list, the choice and its events, the popup's keys and size, cancelling, and the image in the edit.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "dropdown/image_picker.h"
#include "platform/forms/forms.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/imagelist.h"
#include "platform/testing/pixels.h"

using namespace plat;

namespace dropdown {
namespace {

struct Picker {
  Picker() {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 360, 300);
    images = new TImageList(form.get());
    drop = new TExtImagePickerDropDown(form.get());
    drop->SetParent(form.get());
    drop->SetBounds(20, 20, 120, 24);
    drop->SetImages(images);
    drop->OnChange = [this](TObject*) { events += 'C'; };
    drop->OnSelect = [this](TObject*) { events += 'S'; };
    form->Show();
    QApplication::processEvents();
  }
  // Adds solid images of the list's size in the given colours.
  void AddImages(std::initializer_list<TColor> colours) const {
    for (TColor c : colours) {
      QImage img(images->Width(), images->Height(), QImage::Format_ARGB32);
      img.fill(ToQColor(c));
      images->AddImage(img);
    }
  }
  QWidget* popup() const { return drop->DropDownForm()->Widget(); }
  std::unique_ptr<TForm> form;
  TImageList* images;
  TExtImagePickerDropDown* drop;
  std::string events;
};

TEST(ImageItems, NotifyCaptionAndImageIndexOnlyAndAssignCopiesAll) {
  TImageItems items(nullptr);
  int changes = 0;
  items.OnChange = [&](TObject*) { ++changes; };
  TImageItem& item = *items.Add();
  item.SetCaption(QStringLiteral("c"));
  item.SetImageIndex(3);
  item.SetImageIndex(3);
  item.SetHint(QStringLiteral("h"));
  TBitmap picture(3, 7);
  item.Image()->SetGraphic(&picture);
  item.SetEnabled(false);
  items.Add();
  EXPECT_EQ(changes, 2);
  TImageItem& copy = *items.GetItem(1);
  copy.Assign(&item);
  EXPECT_EQ(copy.Caption(), QStringLiteral("c"));
  EXPECT_EQ(copy.ImageIndex(), 3);
  EXPECT_EQ(copy.Hint(), QStringLiteral("h"));
  EXPECT_FALSE(copy.Enabled());
  EXPECT_EQ(copy.Image()->Height(), 7);
}

TEST(ImagePickerChoice, ImageIndexChoosesTheFirstItemWithIt) {
  Picker p;
  for (int index : {3, 7, 7}) p.drop->Items()->Add()->SetImageIndex(index);
  p.drop->SetImageIndex(7);
  EXPECT_EQ(p.drop->ItemIndex(), 1);
  EXPECT_EQ(p.drop->ImageIndex(), 7);
  EXPECT_EQ(p.events, "CS");
  p.drop->SetImageIndex(9);
  EXPECT_EQ(p.drop->ItemIndex(), -1);
  EXPECT_EQ(p.drop->ImageIndex(), -1);
  EXPECT_EQ(p.events, "CSCS");
  p.drop->SetImageIndex(9);  // nothing chosen already: no events
  p.drop->SetItemIndex(3);   // beyond the items: ignored
  EXPECT_EQ(p.events, "CSCS");
}

TEST(ImagePickerFill, FromTheImageListAfterTheItemsThere) {
  Picker p;
  p.drop->Items()->Add()->SetCaption(QStringLiteral("own"));
  p.drop->AddImagesFromImageList();
  EXPECT_EQ(p.drop->Items()->Count(), 1);  // an empty list adds nothing
  p.AddImages({clRed, clLime, clBlue, clYellow, clAqua});
  p.drop->AddImagesFromImageList();
  ASSERT_EQ(p.drop->Items()->Count(), 6);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(p.drop->Items()->GetItem(i + 1)->ImageIndex(), i);
}

// CRC-32 of PNG chunks.
quint32 Crc32(const QByteArray& data) {
  quint32 crc = 0xFFFFFFFFu;
  for (char ch : data) {
    crc ^= static_cast<quint8>(ch);
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

// A valid PNG header announcing 60000 x 60000 pixels: more than the image reader may allocate.
QByteArray HugePng() {
  auto be32 = [](quint32 v) {
    const char bytes[] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    return QByteArray(bytes, 4);
  };
  QByteArray ihdr = QByteArray("IHDR") + be32(60000) + be32(60000) + QByteArray("\x08\x06\x00\x00\x00", 5);
  QByteArray png("\x89PNG\r\n\x1a\n", 8);
  png += be32(13) + ihdr + be32(Crc32(ihdr));
  const QByteArray idat = QByteArray("IDAT") + QByteArray(64, '\0');
  png += be32(64) + idat + be32(Crc32(idat));
  return png;
}

TEST(ImagePickerFill, FromAFolderEveryEntryWithPicturesWhereTheyLoad) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QImage good(10, 6, QImage::Format_ARGB32);
  good.fill(Qt::red);
  ASSERT_TRUE(good.save(dir.filePath(QStringLiteral("good.png"))));
  auto write = [&](const char* name, const QByteArray& bytes) {
    QFile f(dir.filePath(QString::fromLatin1(name)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  };
  write("broken.png", QByteArray("\x89PNG\r\n\x1a\nnot a picture at all", 28));
  write("huge.png", HugePng());
  write("empty.png", QByteArray());
  write("notes.txt", "text");
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.png")));

  Picker p;
  int changes = 0;
  p.drop->Items()->OnChange = [&](TObject*) { ++changes; };
  p.drop->AddImagesFromFolder(dir.filePath(QStringLiteral("*.png")), true);
  std::map<QString, int> widths;
  for (int i = 0; i < p.drop->Items()->Count(); ++i) {
    TImageItem& item = *p.drop->Items()->GetItem(i);
    widths[item.Caption()] = item.Image()->Width();
  }
  const std::map<QString, int> expected{{QStringLiteral("good.png"), 10}, {QStringLiteral("broken.png"), 0},
                                        {QStringLiteral("huge.png"), 0},  {QStringLiteral("empty.png"), 0},
                                        {QStringLiteral("folder.png"), 0}};
  EXPECT_EQ(widths, expected);
  EXPECT_EQ(changes, 0);  // captions are written without telling

  // Every entry: the folder itself and its parent too, without captions when not asked.
  Picker all;
  all.drop->AddImagesFromFolder(dir.filePath(QStringLiteral("*")), false);
  EXPECT_EQ(all.drop->Items()->Count(), 6 + 2);
  EXPECT_EQ(all.drop->Items()->GetItem(0)->Caption(), QString());
  Picker none;
  none.drop->AddImagesFromFolder(dir.filePath(QStringLiteral("*.gif")), true);
  EXPECT_EQ(none.drop->Items()->Count(), 0);
}

TEST(ImagePickerPopup, GridKeysMoveByRowsAndColumns) {
  Picker p;
  p.AddImages({clRed, clLime, clBlue, clYellow, clAqua, clFuchsia, clNavy, clTeal, clMaroon, clOlive, clPurple,
               clGray});
  p.drop->AddImagesFromImageList();
  p.drop->SetColumns(4);
  p.drop->ShowDropDown();
  ASSERT_TRUE(p.drop->DroppedDown());
  TCustomItemSelector& panel = *p.drop->ItemSelector()->ItemSelectorPanel();
  const TRect cell = panel.GetItemRect(0);
  EXPECT_EQ(panel.Width(), 4 * cell.Width() + 4);
  EXPECT_EQ(panel.Height(), 3 * cell.Height() + 4);
  p.drop->HideDropDown(true);
  const struct {
    Qt::Key key;
    int from, to;
  } cases[] = {{Qt::Key_Down, 5, 9}, {Qt::Key_Right, 5, 6}, {Qt::Key_Up, 5, 1}, {Qt::Key_Left, 5, 4},
               {Qt::Key_Up, 2, 2},   {Qt::Key_Down, 9, 9},  {Qt::Key_End, 5, 11}, {Qt::Key_Home, 5, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    p.drop->SetItemIndex(c.from);
    p.drop->ShowDropDown();
    QTest::keyClick(p.popup(), c.key);
    EXPECT_EQ(p.drop->ItemSelector()->ItemIndex(), c.to);
    EXPECT_EQ(p.drop->ItemIndex(), c.to);
    EXPECT_TRUE(p.drop->DroppedDown());
    p.drop->HideDropDown(false);
  }
}

TEST(ImagePickerPopup, CancelRestoresAndEnterTakesTheHotItem) {
  Picker p;
  p.AddImages({clRed, clLime, clBlue});
  p.drop->AddImagesFromImageList();
  p.drop->SetItemIndex(0);
  p.drop->ShowDropDown();
  QTest::keyClick(p.popup(), Qt::Key_Right);
  EXPECT_EQ(p.drop->ItemIndex(), 1);
  p.events.clear();
  QTest::keyClick(p.popup(), Qt::Key_Escape);
  EXPECT_FALSE(p.drop->DroppedDown());
  EXPECT_EQ(p.drop->ItemIndex(), 0);
  EXPECT_EQ(p.events, "CS");

  p.drop->ShowDropDown();
  p.drop->ItemSelector()->ItemSelectorPanel()->SetItemHot(2);
  p.events.clear();
  QTest::keyClick(p.popup(), Qt::Key_Return);
  EXPECT_FALSE(p.drop->DroppedDown());
  EXPECT_EQ(p.drop->ItemIndex(), 2);
  EXPECT_EQ(p.events, "CS");  // the choice tells once; the Enter adds no second OnSelect
  QTest::keyClick(p.drop->Widget(), Qt::Key_Return);
  EXPECT_EQ(p.events, "CSS");
}

TEST(ImagePickerPopup, TakesThePanelsSizeAndRoomForTheScrollBar) {
  Picker p;
  for (int i = 0; i < 3; ++i) p.AddImages({clRed});
  p.drop->AddImagesFromImageList();
  p.drop->ShowDropDown();
  TSize panel;
  p.drop->ItemSelector()->GetSelectorPanelSize(panel);
  EXPECT_EQ(p.drop->DropDownForm()->Width(), panel.cx + 2 * p.drop->DropDownBorderWidth());
  EXPECT_FALSE(p.drop->ItemSelector()->ScrollBarVisible(SB_VERT));
  p.drop->HideDropDown(false);

  Picker tall;
  for (int i = 0; i < 40; ++i) tall.AddImages({clBlue});
  tall.drop->AddImagesFromImageList();
  tall.drop->SetDropDownHeight(120);
  tall.drop->ShowDropDown();
  tall.drop->ItemSelector()->GetSelectorPanelSize(panel);
  ASSERT_TRUE(tall.drop->ItemSelector()->ScrollBarVisible(SB_VERT));
  EXPECT_EQ(tall.drop->DropDownForm()->Width(),
            panel.cx + tall.drop->ItemSelector()->ScrollBarSize() + 2 * tall.drop->DropDownBorderWidth());
}

TEST(ImagePickerEdit, ShowsTheChosenImageOrOnlyWhatTheHandlerPaints) {
  Picker p;
  p.AddImages({clLime});
  p.drop->AddImagesFromImageList();
  auto shot = [&] { return p.drop->Widget()->grab().toImage(); };
  EXPECT_EQ(plat::testing::CountColour(shot(), clLime), 0);
  p.drop->SetItemIndex(0);
  const QImage chosen = shot();
  EXPECT_GT(plat::testing::CountColour(chosen, clLime), 0);
  ASSERT_TRUE(chosen.save(QStringLiteral(TEST_BINARY_DIR "/image_picker_edit.png")));
  p.drop->OnDrawSelectedImage = [](TObject*, TCanvas* Canvas, TRect R) {
    Canvas->Brush()->SetColor(clRed);
    Canvas->FillRect(TRect(R.Left, R.Top, R.Left + 5, R.Top + 5));
  };
  p.drop->Invalidate();
  const QImage handled = shot();
  EXPECT_EQ(plat::testing::CountColour(handled, clLime), 0);
  EXPECT_GT(plat::testing::CountColour(handled, clRed), 0);
}

TEST(ImagePickerPopup, WheelAndSearchActOnTheListOnceItWasOpened) {
  Picker p;
  p.AddImages({clRed, clLime, clBlue});
  p.drop->AddImagesFromImageList();
  const QString captions[] = {QStringLiteral("Red"), QStringLiteral("Green"), QStringLiteral("Grey")};
  for (int i = 0; i < 3; ++i) p.drop->Items()->GetItem(i)->SetCaption(captions[i]);
  QWheelEvent down(QPointF(5, 5), QPointF(p.drop->Widget()->mapToGlobal(QPoint(5, 5))), QPoint(),
                   QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(p.drop->Widget(), &down);
  EXPECT_EQ(p.drop->ItemIndex(), -1);  // the list is still empty before the first opening
  p.drop->ShowDropDown();
  QApplication::sendEvent(p.popup(), &down);  // open: the wheel moves the hot item only
  EXPECT_EQ(p.drop->ItemSelector()->ItemHot(), 0);
  EXPECT_EQ(p.drop->ItemIndex(), -1);
  QTest::keyClick(p.popup(), Qt::Key_Return);  // Enter takes it
  EXPECT_FALSE(p.drop->DroppedDown());
  EXPECT_EQ(p.drop->ItemIndex(), 0);
  QApplication::sendEvent(p.drop->Widget(), &down);  // closed: the wheel chooses the next
  EXPECT_EQ(p.drop->ItemIndex(), 1);
  QTest::keyClick(p.drop->Widget(), Qt::Key_G);
  QTest::keyClick(p.drop->Widget(), Qt::Key_R);
  QTest::keyClick(p.drop->Widget(), Qt::Key_E);
  QTest::keyClick(p.drop->Widget(), Qt::Key_Y);
  EXPECT_EQ(p.drop->ItemIndex(), 2);
}

TEST(ImagePickerPopup, Screenshot) {
  Picker p;
  p.images->SetSize(24, 24);
  p.AddImages({clRed, clLime, clBlue, clYellow, clAqua, clFuchsia, clNavy, clTeal});
  p.drop->AddImagesFromImageList();
  for (int i = 0; i < 8; ++i) p.drop->Items()->GetItem(i)->SetCaption(QStringLiteral("Image %1").arg(i));
  p.drop->SetColumns(3);
  p.drop->SetLayout(ilCaptionBottom);
  p.drop->SetItemIndex(4);
  p.drop->ShowDropDown();
  p.drop->ItemSelector()->ItemSelectorPanel()->SetItemHot(1);
  QApplication::processEvents();
  const QImage shot = p.popup()->grab().toImage();
  ASSERT_TRUE(shot.save(QStringLiteral(TEST_BINARY_DIR "/image_picker.png")));
  EXPECT_GT(plat::testing::CountColour(shot, clFuchsia), 0);
}

}  // namespace
}  // namespace dropdown
