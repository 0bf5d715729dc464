// The resources NuvraSetup.exe carries: every skin image at its size with
// real transparency, the icon, the Internet-shortcut text, the package slot
// and the manifest.
#include <gtest/gtest.h>

#include <string>

#include "ui/SkinImage.h"

namespace {

class ProductResources : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&s_token, &input, nullptr);
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring exe(path);
    exe = exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"NuvraSetup.exe";
    s_module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  }
  static void TearDownTestSuite() {
    if (s_module) FreeLibrary(s_module);
    Gdiplus::GdiplusShutdown(s_token);
  }
  void SetUp() override { ASSERT_NE(nullptr, s_module) << "NuvraSetup.exe not loadable"; }

  static std::string Bytes(LPCWSTR type, UINT id) {
    HRSRC res = FindResourceW(s_module, MAKEINTRESOURCEW(id), type);
    if (!res) return "<missing>";
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(s_module, res)));
    return std::string(bytes, SizeofResource(s_module, res));
  }

  static HMODULE s_module;
  static ULONG_PTR s_token;
};
HMODULE ProductResources::s_module = nullptr;
ULONG_PTR ProductResources::s_token = 0;

struct Skin {
  UINT id, width, height;
};
const Skin kSkin[] = {
    {130, 600, 400}, {136, 600, 464}, {134, 172, 153}, {150, 119, 108}, {151, 74, 108},
    {131, 24, 57},   {135, 24, 57},   {140, 117, 99},  {132, 96, 66},   {145, 115, 91},
    {147, 104, 30},  {148, 5, 5},     {149, 104, 30},  {139, 16, 96},
};

TEST_F(ProductResources, EverySkinImageDecodesAtItsSizeWithAlpha) {
  for (const Skin& skin : kSkin) {
    SCOPED_TRACE(testing::Message() << "PNG " << skin.id);
    Gdiplus::Image* image = nullptr;
    ASSERT_TRUE(LoadSkinImage(s_module, skin.id, &image));
    EXPECT_EQ(skin.width, ImageWidth(image));
    EXPECT_EQ(skin.height, ImageHeight(image));
    // Every image has rounded or free-standing shapes: its corner pixel lets
    // the backdrop through.
    Gdiplus::Color corner;
    static_cast<Gdiplus::Bitmap*>(image)->GetPixel(0, 0, &corner);
    EXPECT_EQ(0, corner.GetA());
    delete image;
  }
}

TEST_F(ProductResources, BackgroundsHaveTheOnePixelBorder) {
  for (UINT id : {130u, 136u}) {
    Gdiplus::Image* image = nullptr;
    ASSERT_TRUE(LoadSkinImage(s_module, id, &image));
    auto* bitmap = static_cast<Gdiplus::Bitmap*>(image);
    const int w = (int)ImageWidth(image), h = (int)ImageHeight(image);
    const POINT onBorder[] = {{1, 0}, {0, 1}, {w / 2, 0}, {w - 1, h / 2}, {w / 2, h - 1}, {0, h - 2}};
    for (POINT p : onBorder) {
      Gdiplus::Color c;
      bitmap->GetPixel(p.x, p.y, &c);
      EXPECT_EQ(Gdiplus::Color::MakeARGB(255, 62, 114, 156), c.GetValue())
          << "PNG " << id << " at " << p.x << "," << p.y;
    }
    Gdiplus::Color inside;
    bitmap->GetPixel(w / 2, h / 2, &inside);
    EXPECT_EQ(255, inside.GetA());
    delete image;
  }
}

TEST_F(ProductResources, CheckBoxSpriteHoldsTheUncheckedFramesFirst) {
  // The check box maps its states onto this order: frames 0-2 unchecked
  // (no tick), frames 3-5 checked (a green tick).  A swapped strip would show
  // every box the wrong way round.
  Gdiplus::Image* image = nullptr;
  ASSERT_TRUE(LoadSkinImage(s_module, 139, &image));
  auto* bitmap = static_cast<Gdiplus::Bitmap*>(image);
  for (int frame = 0; frame < 6; ++frame) {
    int green = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        Gdiplus::Color c;
        bitmap->GetPixel(x, frame * 16 + y, &c);
        green += c.GetA() > 200 && c.GetG() > c.GetR() + 40 && c.GetG() > c.GetB() + 20;
      }
    if (frame < 3)
      EXPECT_EQ(0, green) << "unchecked frame " << frame;
    else
      EXPECT_GT(green, 20) << "checked frame " << frame;
  }
  delete image;
}

TEST_F(ProductResources, InternetShortcutTextIsTheTenLines) {
  const std::string text = Bytes(L"FILE", 152);
  const std::string base = "http://game.nuvra.example/";
  EXPECT_EQ("[DEFAULT]\r\n"
            "BASEURL=" + base + "\r\n"
            "[{000214A0-0000-0000-C000-000000000046}]\r\n"
            "Prop3=19,2\r\n"
            "[InternetShortcut]\r\n"
            "IDList=\r\n"
            "URL=" + base + "?type=2\r\n"
            "IconFile=C:\\Program Files\\Internet Explorer\\iexplore.exe\r\n"
            "IconIndex=0\r\n"
            "HotKey=0\r\n",
            text);
}

TEST_F(ProductResources, PackageSlotIconAndManifestArePresent) {
  EXPECT_NE(nullptr, FindResourceW(s_module, MAKEINTRESOURCEW(143), L"FILE"));

  // The icon group holds several sizes, 16 and 32 pixels among them.
  HICON small = static_cast<HICON>(LoadImageW(s_module, MAKEINTRESOURCEW(108), IMAGE_ICON, 16, 16, 0));
  HICON large = static_cast<HICON>(LoadImageW(s_module, MAKEINTRESOURCEW(108), IMAGE_ICON, 32, 32, 0));
  EXPECT_NE(nullptr, small);
  EXPECT_NE(nullptr, large);
  if (small) DestroyIcon(small);
  if (large) DestroyIcon(large);
  const std::string group = Bytes(RT_GROUP_ICON, 108);
  ASSERT_GE(group.size(), 6u);
  EXPECT_GE(static_cast<unsigned char>(group[4]), 4);  // image count

  const std::string manifest = Bytes(RT_MANIFEST, 1);
  EXPECT_NE(std::string::npos, manifest.find("level=\"asInvoker\""));
  EXPECT_EQ(std::string::npos, manifest.find("requireAdministrator"));
  EXPECT_EQ(std::string::npos, manifest.find("supportedOS"));
}

}  // namespace
