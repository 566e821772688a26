// Pictures to the server: the changed rectangles of a picture through shared memory, a
// buffer being written again only once the server's completion event says it has read it, or
// with XPutImage where memory cannot be shared. ARGB windows convert on the way (blend applied);
// other windows take the picture's pixels as they are when the visual allows.
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/display/x11/x11_internal.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

namespace plat::display {

namespace {

constexpr std::size_t kMaxBuffers = 2;      // one being read by the server, one being written
constexpr std::size_t kMinBuffer = 1 << 20;  // most of our windows fit at once

int lastError = 0;
int RecordError(::Display*, XErrorEvent* e) {
  lastError = e->error_code;
  return 0;
}

void CopyRow(const Pixel* src, Pixel* dst, int n, const Blend&) { std::memcpy(dst, src, static_cast<std::size_t>(n) * 4); }

bool DirectLayout(const XImage& image) {
  return image.bits_per_pixel == 32 && image.red_mask == 0xFF0000 && image.green_mask == 0xFF00 &&
         image.blue_mask == 0xFF && image.byte_order == LSBFirst;
}

// Any other TrueColor layout: each channel to the visual's mask, pixel by pixel.
unsigned long ToVisual(Pixel p, const XImage& image) {
  auto place = [](Pixel c, unsigned long mask) {
    if (!mask) return 0ul;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    int bits = 0;
    while ((mask >> (shift + bits)) & 1) ++bits;
    return (static_cast<unsigned long>(c) >> (8 - std::min(bits, 8))) << shift & mask;
  };
  return place(PixelR(p), image.red_mask) | place(PixelG(p), image.green_mask) | place(PixelB(p), image.blue_mask);
}

void Fill(XImage& image, const Bitmap& picture, const std::vector<RECT>& rects, POINT box,
          X11Display::RowConverter convert, const Blend& blend) {
  const bool direct = DirectLayout(image);
  std::vector<Pixel> row;
  for (const RECT& r : rects) {
    const int n = RectWidth(r);
    row.resize(static_cast<std::size_t>(n));
    for (int y = r.top; y < r.bottom; ++y) {
      const Pixel* src = picture.Row(y) + r.left;
      if (direct) {
        auto* dst = reinterpret_cast<Pixel*>(image.data + static_cast<std::size_t>(y - box.y) * image.bytes_per_line) +
                    (r.left - box.x);
        convert(src, dst, n, blend);
        continue;
      }
      convert(src, row.data(), n, blend);
      for (int x = 0; x < n; ++x) XPutPixel(&image, r.left - box.x + x, y - box.y, ToVisual(row[static_cast<std::size_t>(x)], image));
    }
  }
}

}  // namespace

void X11Display::Present(SurfaceId id, const Bitmap& picture, const Region& area) {
  Surface* s = Find(id);
  if (!s) return;
  if (!s->argb) {
    PutArea(*s, picture, area, &CopyRow);
    return;
  }
  // Kept, and sent at the next flush, so that a blend given just after is sent along.
  Bitmap& own = *s->picture;
  const Region inside = area.Intersect(Region(Intersection(own.Bounds(), picture.Bounds())));
  for (const RECT& r : inside.Rects())
    for (int y = r.top; y < r.bottom; ++y)
      std::memcpy(own.Row(y) + r.left, picture.Row(y) + r.left, static_cast<std::size_t>(RectWidth(r)) * sizeof(Pixel));
  s->dirty = s->dirty.Union(inside);
  if (s->blend.perPixel || s->blend.colorKey || !compositing_) s->inputStale = true;
}

void X11Display::Flush(Surface& s) {
  if (!s.argb || s.dirty.Empty()) return;
  if (s.inputStale) ApplyShapes(s);
  PutArea(s, *s.picture, s.dirty, compositing_ ? &ToArgbRow : &FlattenRow);
  s.dirty = Region();
}

void X11Display::FlushAll() {
  for (auto& [id, s] : surfaces_) Flush(*s);
}

void X11Display::PutArea(Surface& s, const Bitmap& picture, const Region& area, RowConverter convert) {
  const RECT limit = Intersection(picture.Bounds(), MakeRect(0, 0, RectWidth(s.rect), RectHeight(s.rect)));
  std::vector<RECT> rects;
  RECT box{};
  for (const RECT& r : area.Rects()) {
    const RECT c = Intersection(r, limit);
    if (IsEmpty(c)) continue;
    box = rects.empty() ? c : Union(box, c);
    rects.push_back(c);
  }
  if (rects.empty()) return;
  ::Display* dpy = dpy_;
  Visual* visual = static_cast<Visual*>(s.argb ? argbVisual_ : visual_);
  const int depth = s.argb ? 32 : rootDepth_;
  const auto width = static_cast<unsigned>(RectWidth(box));
  const auto height = static_cast<unsigned>(RectHeight(box));
  GC gc = reinterpret_cast<GC>(s.gc);
  const POINT origin{box.left, box.top};

  ShmBuffer* buffer = shmAvailable_ ? FreeBuffer(std::size_t{width} * height * 4) : nullptr;
  if (buffer) {
    XShmSegmentInfo info{buffer->segment, buffer->id, reinterpret_cast<char*>(buffer->memory), False};
    XImage* image = XShmCreateImage(dpy, visual, static_cast<unsigned>(depth), ZPixmap, info.shmaddr, &info, width, height);
    if (image && static_cast<std::size_t>(image->bytes_per_line) * height <= buffer->bytes) {
      Fill(*image, picture, rects, origin, convert, s.blend);
      for (std::size_t i = 0; i < rects.size(); ++i) {
        const RECT& r = rects[i];
        // The last request's completion says the server is done with the whole buffer.
        XShmPutImage(dpy, s.window, gc, image, r.left - box.left, r.top - box.top, r.left, r.top,
                     static_cast<unsigned>(RectWidth(r)), static_cast<unsigned>(RectHeight(r)),
                     i + 1 == rects.size() ? True : False);
      }
      buffer->busy = true;
      image->data = nullptr;
      XDestroyImage(image);
      return;
    }
    if (image) {
      image->data = nullptr;
      XDestroyImage(image);
    }
  }
  XImage* image = XCreateImage(dpy, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr, width, height, 32, 0);
  if (!image) return;
  image->data = static_cast<char*>(std::malloc(static_cast<std::size_t>(image->bytes_per_line) * height));
  if (!image->data) {
    XDestroyImage(image);
    return;
  }
  Fill(*image, picture, rects, origin, convert, s.blend);
  for (const RECT& r : rects)
    XPutImage(dpy, s.window, gc, image, r.left - box.left, r.top - box.top, r.left, r.top,
              static_cast<unsigned>(RectWidth(r)), static_cast<unsigned>(RectHeight(r)));
  XDestroyImage(image);  // frees the pixels too: XPutImage has copied them into the request
}

X11Display::ShmBuffer* X11Display::FreeBuffer(std::size_t bytes) {
  for (;;) {
    for (auto& b : buffers_)
      if (!b->busy && b->bytes >= bytes) return b.get();
    // A free buffer that is too small makes room for a larger one.
    auto small = std::find_if(buffers_.begin(), buffers_.end(), [](const auto& b) { return !b->busy; });
    if (small != buffers_.end() || buffers_.size() < kMaxBuffers) {
      if (small != buffers_.end()) {
        XShmSegmentInfo info{(*small)->segment, (*small)->id, reinterpret_cast<char*>((*small)->memory), False};
        XShmDetach(dpy_, &info);
        shmdt((*small)->memory);
        buffers_.erase(small);
      }
      auto b = std::make_unique<ShmBuffer>();
      b->bytes = std::max(bytes, kMinBuffer);
      b->id = shmget(IPC_PRIVATE, b->bytes, IPC_CREAT | 0600);
      if (b->id < 0) {
        shmAvailable_ = false;
        return nullptr;
      }
      void* memory = shmat(b->id, nullptr, 0);
      if (memory == reinterpret_cast<void*>(-1)) {
        shmctl(b->id, IPC_RMID, nullptr);
        shmAvailable_ = false;
        return nullptr;
      }
      b->memory = static_cast<std::uint8_t*>(memory);
      XShmSegmentInfo info{0, b->id, static_cast<char*>(memory), False};
      // A server on another machine cannot attach: that is learnt here, once.
      auto* previous = XSetErrorHandler(&RecordError);
      lastError = 0;
      const bool attached = XShmAttach(dpy_, &info) && (XSync(dpy_, False), lastError == 0);
      XSetErrorHandler(previous);
      shmctl(b->id, IPC_RMID, nullptr);  // gone once both sides detach
      if (!attached) {
        shmdt(memory);
        shmAvailable_ = false;
        return nullptr;
      }
      b->segment = info.shmseg;
      buffers_.push_back(std::move(b));
      return buffers_.back().get();
    }
    WaitForBuffer();
  }
}

namespace {
struct Completion {
  int type;
};
Bool IsCompletion(::Display*, XEvent* e, XPointer arg) {
  return e->type == reinterpret_cast<Completion*>(arg)->type ? True : False;
}
}  // namespace

// Takes the next completion event out of the queue, leaving every other event where it is.
void X11Display::WaitForBuffer() {
  if (std::none_of(buffers_.begin(), buffers_.end(), [](const auto& b) { return b->busy; })) return;
  Completion c{shmCompletion_};
  XEvent e;
  XIfEvent(dpy_, &e, &IsCompletion, reinterpret_cast<XPointer>(&c));
  Translate(&e);
}

void X11Display::ReleaseBuffers() {
  if (buffers_.empty()) return;
  XSync(dpy_, False);
  for (auto& b : buffers_) {
    XShmSegmentInfo info{b->segment, b->id, reinterpret_cast<char*>(b->memory), False};
    XShmDetach(dpy_, &info);
    shmdt(b->memory);
  }
  XSync(dpy_, False);
  buffers_.clear();
}

void X11Display::ReadScreen(const RECT& area, Bitmap& into) {
  FlushAll();
  Sync();
  const int w = std::min(RectWidth(area), into.Width());
  const int h = std::min(RectHeight(area), into.Height());
  for (int y = 0; y < into.Height(); ++y) std::fill_n(into.Row(y), into.Width(), 0xFF000000u);
  const RECT screen = MakeRect(0, 0, DisplayWidth(dpy_, screen_), DisplayHeight(dpy_, screen_));
  const RECT part = Intersection(MakeRect(area.left, area.top, w, h), screen);
  if (IsEmpty(part)) return;
  XImage* image = XGetImage(dpy_, root_, part.left, part.top, static_cast<unsigned>(RectWidth(part)),
                            static_cast<unsigned>(RectHeight(part)), AllPlanes, ZPixmap);
  if (!image) return;
  for (int y = 0; y < RectHeight(part); ++y) {
    Pixel* out = into.Row(part.top - area.top + y) + (part.left - area.left);
    for (int x = 0; x < RectWidth(part); ++x) {
      const unsigned long v = XGetPixel(image, x, y);
      auto take = [&](unsigned long mask) {
        if (!mask) return 0u;
        int shift = 0;
        while (!((mask >> shift) & 1)) ++shift;
        const unsigned long c = (v & mask) >> shift;
        const unsigned long max = mask >> shift;
        return static_cast<unsigned>((c * 255 + max / 2) / max);
      };
      out[x] = MakePixel(static_cast<BYTE>(take(image->red_mask)), static_cast<BYTE>(take(image->green_mask)),
                         static_cast<BYTE>(take(image->blue_mask)), 255);
    }
  }
  XDestroyImage(image);
}

}  // namespace plat::display
