// LoadSkinImage and DrawImagePart under GDI+, read back from memory bitmaps.
#include <memory>

#include "UiTestSupport.h"
#include "ui/CSetupUI.h"

namespace {

::testing::Environment* const g_gdiplus =
    ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

const COLORREF kBackdrop = RGB(100, 100, 100);
const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 200, 0), kBlue = RGB(0, 0, 255);

struct ImageDeleter {
  void operator()(Gdiplus::Image* image) const { delete image; }
};
using ImagePtr = std::unique_ptr<Gdiplus::Image, ImageDeleter>;

TEST(DrawImagePart, CopiesOneToOneBlendingByAlpha) {
  // One row: opaque red, half-transparent blue, fully transparent.
  ImagePtr image(NewGdiplusObject<Gdiplus::Bitmap>(3, 1, PixelFormat32bppARGB));
  auto* bitmap = static_cast<Gdiplus::Bitmap*>(image.get());
  bitmap->SetPixel(0, 0, Gdiplus::Color(Argb(255, kRed)));
  bitmap->SetPixel(1, 0, Gdiplus::Color(Argb(128, kBlue)));
  bitmap->SetPixel(2, 0, Gdiplus::Color(Argb(0, kGreen)));
  Canvas canvas(10, 10, kBackdrop);
  Gdiplus::Graphics surface(canvas.Dc());

  EXPECT_EQ(Gdiplus::Ok, DrawImagePart(&surface, image.get(), 2, 3, 3, 1, 0, 0, 3, 1));
  surface.Flush(Gdiplus::FlushIntentionSync);

  EXPECT_EQ(kRed, canvas.At(2, 3));
  EXPECT_TRUE(Near(RGB(50, 50, 178), canvas.At(3, 3))) << std::hex << canvas.At(3, 3);
  EXPECT_EQ(kBackdrop, canvas.At(4, 3));
  // Nothing around the destination changed.
  EXPECT_TRUE(canvas.AllAre(0, 0, 10, 3, kBackdrop));
  EXPECT_TRUE(canvas.AllAre(0, 4, 10, 10, kBackdrop));
  EXPECT_TRUE(canvas.AllAre(5, 3, 10, 4, kBackdrop));
}

TEST(DrawImagePart, SourceLargerThanImageDrawsImageAtNaturalSize) {
  // A 104 x 30 caption drawn with a 600 x 400 rectangle, as the window draws
  // its captions: only the caption's own pixels change.
  ImagePtr caption(SolidStrip(104, 30, {Argb(255, kGreen)}));
  Canvas canvas(620, 420, kBackdrop);
  Gdiplus::Graphics surface(canvas.Dc());

  DrawImagePart(&surface, caption.get(), 10, 10, 600, 400, 0, 0, 600, 400);
  surface.Flush(Gdiplus::FlushIntentionSync);

  EXPECT_TRUE(canvas.AllAre(10, 10, 114, 40, kGreen));
  EXPECT_TRUE(canvas.AllAre(0, 0, 620, 10, kBackdrop));
  EXPECT_TRUE(canvas.AllAre(0, 10, 10, 420, kBackdrop));
  EXPECT_TRUE(canvas.AllAre(114, 10, 620, 420, kBackdrop));
  EXPECT_TRUE(canvas.AllAre(10, 40, 114, 420, kBackdrop));
}

TEST(DrawImagePart, SourceOutsideTheImageDrawsNothingThere) {
  // A three-frame strip of 8 x 4 frames.
  ImagePtr strip(SolidStrip(8, 4, {Argb(255, kRed), Argb(255, kGreen), Argb(255, kBlue)}));
  Canvas canvas(8, 8, kBackdrop);
  Gdiplus::Graphics surface(canvas.Dc());

  // Frame index 3 lies wholly below the strip.
  DrawImagePart(&surface, strip.get(), 0, 0, 8, 4, 0, 12, 8, 4);
  surface.Flush(Gdiplus::FlushIntentionSync);
  EXPECT_TRUE(canvas.AllAre(0, 0, 8, 8, kBackdrop));

  // Half inside: the inside half is drawn unscaled, the rest left alone.
  DrawImagePart(&surface, strip.get(), 0, 0, 8, 8, 0, 8, 8, 8);
  surface.Flush(Gdiplus::FlushIntentionSync);
  EXPECT_TRUE(canvas.AllAre(0, 0, 8, 4, kBlue));
  EXPECT_TRUE(canvas.AllAre(0, 4, 8, 8, kBackdrop));
}

TEST(DrawImagePart, NullImageOrSurfaceFailsAndDrawsNothing) {
  Canvas canvas(4, 4, kBackdrop);
  Gdiplus::Graphics surface(canvas.Dc());
  ImagePtr image(SolidStrip(4, 4, {Argb(255, kRed)}));

  EXPECT_NE(Gdiplus::Ok, DrawImagePart(&surface, nullptr, 0, 0, 4, 4, 0, 0, 4, 4));
  EXPECT_NE(Gdiplus::Ok, DrawImagePart(nullptr, image.get(), 0, 0, 4, 4, 0, 0, 4, 4));
  surface.Flush(Gdiplus::FlushIntentionSync);
  EXPECT_TRUE(canvas.AllAre(0, 0, 4, 4, kBackdrop));
  EXPECT_EQ(0u, ImageWidth(nullptr));
  EXPECT_EQ(0u, ImageHeight(nullptr));
}

TEST(LoadSkinImage, MissingResourceFailsAndLeavesThePointer) {
  Gdiplus::Image* image = nullptr;
  EXPECT_FALSE(LoadSkinImage(GetModuleHandleW(nullptr), 999, &image));
  EXPECT_EQ(nullptr, image);
}

TEST(LoadSkinImage, BytesThatAreNotAPngGiveAnEmptyImage) {
  Gdiplus::Image* image = nullptr;
  ASSERT_TRUE(LoadSkinImage(GetModuleHandleW(nullptr), 990, &image));
  ImagePtr owned(image);
  ASSERT_NE(nullptr, image);
  EXPECT_EQ(0u, ImageWidth(image));
  EXPECT_EQ(0u, ImageHeight(image));

  Canvas canvas(4, 4, kBackdrop);
  Gdiplus::Graphics surface(canvas.Dc());
  DrawImagePart(&surface, image, 0, 0, 4, 4, 0, 0, 4, 4);
  surface.Flush(Gdiplus::FlushIntentionSync);
  EXPECT_TRUE(canvas.AllAre(0, 0, 4, 4, kBackdrop));
}

TEST(LoadSkinImage, DecodedImageOutlivesHeapChurnAndDrawsLater) {
  // The bytes behind the decoded stream must stay valid while the bitmap
  // lives: load, churn the heaps, then draw.
  Gdiplus::Image* image = nullptr;
  ASSERT_TRUE(LoadSkinImage(GetModuleHandleW(nullptr), IDP_CHECKBOX, &image));
  ImagePtr owned(image);
  for (int i = 0; i < 200; ++i) {
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, 4096);
    FillMemory(reinterpret_cast<void*>(block), 4096, 0xCD);
    GlobalFree(block);
  }
  Canvas canvas(16, 16, RGB(255, 0, 255));
  Gdiplus::Graphics surface(canvas.Dc());
  EXPECT_EQ(Gdiplus::Ok, DrawImagePart(&surface, image, 0, 0, 16, 16, 0, 0, 16, 16));
  surface.Flush(Gdiplus::FlushIntentionSync);
  EXPECT_FALSE(canvas.AllAre(0, 0, 16, 16, RGB(255, 0, 255)));
}

}  // namespace
