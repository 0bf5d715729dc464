#include "ui/SkinImage.h"

namespace {

// The resource bytes copied into a fixed global memory block.  The stream
// made over it owns it from then on.
HGLOBAL CopyResourceToGlobal(HINSTANCE module, HRSRC res) {
  DWORD size = SizeofResource(module, res);
  HGLOBAL loaded = LoadResource(module, res);
  if (!loaded) return nullptr;
  const void* bytes = LockResource(loaded);
  if (!bytes) return nullptr;
  HGLOBAL block = GlobalAlloc(GMEM_FIXED, size ? size : 1);
  if (!block) return nullptr;
  CopyMemory(reinterpret_cast<void*>(block), bytes, size);
  return block;
}

}  // namespace

BOOL LoadSkinImage(HINSTANCE module, UINT id, Gdiplus::Image** image) {
  if (!image) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(id), L"png");
  if (!res) return FALSE;
  HGLOBAL block = CopyResourceToGlobal(module, res);
  if (!block) return FALSE;

  // The stream frees the block when its last reference goes.  GDI+ keeps a
  // reference for as long as the bitmap lives and may read it again, so the
  // bytes stay valid exactly as long as they are needed.
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
    GlobalFree(block);
    return FALSE;
  }
  Gdiplus::Bitmap* bitmap = NewGdiplusObject<Gdiplus::Bitmap>(stream, FALSE);
  stream->Release();

  *image = bitmap;
  if (!bitmap) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  return TRUE;
}

Gdiplus::Status DrawImagePart(Gdiplus::Graphics* surface, Gdiplus::Image* image,
                              int dx, int dy, int dw, int dh,
                              int sx, int sy, int sw, int sh) {
  if (!surface || !image || sw <= 0 || sh <= 0) return Gdiplus::InvalidParameter;
  // Keep only the part of the source inside the image; the destination
  // shrinks with it at the unchanged scale.
  const INT64 width = ImageWidth(image), height = ImageHeight(image);
  const INT64 x0 = sx > 0 ? sx : 0, y0 = sy > 0 ? sy : 0;
  const INT64 x1 = (INT64)sx + sw < width ? (INT64)sx + sw : width;
  const INT64 y1 = (INT64)sy + sh < height ? (INT64)sy + sh : height;
  if (x0 >= x1 || y0 >= y1) return Gdiplus::Ok;

  const double scaleX = (double)dw / sw, scaleY = (double)dh / sh;
  Gdiplus::RectF dest((Gdiplus::REAL)(dx + (x0 - sx) * scaleX),
                      (Gdiplus::REAL)(dy + (y0 - sy) * scaleY),
                      (Gdiplus::REAL)((x1 - x0) * scaleX),
                      (Gdiplus::REAL)((y1 - y0) * scaleY));
  return surface->DrawImage(image, dest, (Gdiplus::REAL)x0, (Gdiplus::REAL)y0,
                            (Gdiplus::REAL)(x1 - x0), (Gdiplus::REAL)(y1 - y0),
                            Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
}

UINT ImageWidth(Gdiplus::Image* image) { return image ? image->GetWidth() : 0; }

UINT ImageHeight(Gdiplus::Image* image) { return image ? image->GetHeight() : 0; }

void ReleaseSkinImage(Gdiplus::Image** image) {
  delete *image;
  *image = nullptr;
}
