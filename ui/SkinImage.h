// Skin images: PNG resources decoded into GDI+ bitmaps, and the primitives
// every painter uses to draw them.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <new>
#include <utility>

// Constructs a GDI+ object on GDI+'s heap, as its own operator new would,
// but returns null when that heap is exhausted instead of constructing at
// null.  Free it with plain delete.
template <typename T, typename... Args>
T* NewGdiplusObject(Args&&... args) {
  void* memory = Gdiplus::DllExports::GdipAlloc(sizeof(T));
  return memory ? ::new (memory) T(std::forward<Args>(args)...) : nullptr;
}

// Decodes the resource of type "png" with integer id `id` of `module` into a
// new bitmap stored in *image.  FALSE (and *image unchanged) when the
// resource is missing or cannot be loaded or copied; FALSE with
// ERROR_NOT_ENOUGH_MEMORY when the bitmap cannot be allocated.  Bytes that
// are not a PNG still give TRUE: an empty bitmap of size 0 x 0.
BOOL LoadSkinImage(HINSTANCE module, UINT id, Gdiplus::Image** image);

// Draws the source rectangle (image pixels) into the destination rectangle
// (surface pixels), scaled by destination size / source size on each axis
// and blended by alpha.  The part of the source that lies outside the image
// draws nothing and does not change the scale.  A null image or surface
// draws nothing and reports InvalidParameter.
Gdiplus::Status DrawImagePart(Gdiplus::Graphics* surface, Gdiplus::Image* image,
                              int dx, int dy, int dw, int dh,
                              int sx, int sy, int sw, int sh);

// The image's size in pixels; 0 for a null or undecodable image.
UINT ImageWidth(Gdiplus::Image* image);
UINT ImageHeight(Gdiplus::Image* image);

// Deletes *image (through its virtual destructor) and nulls the pointer.
void ReleaseSkinImage(Gdiplus::Image** image);
