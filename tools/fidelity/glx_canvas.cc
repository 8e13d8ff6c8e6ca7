#include "tools/fidelity/glx_canvas.h"

#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

namespace kavrel::fidelity {

struct GlxCanvas::Handles {
  Display *display = nullptr;
  Colormap colormap = 0;
  Window window = 0;
  GLXContext context = nullptr;

  ~Handles() {
    if (!display) return;
    if (context) {
      glXMakeCurrent(display, None, nullptr);
      glXDestroyContext(display, context);
    }
    if (window) XDestroyWindow(display, window);
    if (colormap) XFreeColormap(display, colormap);
    XCloseDisplay(display);
  }
};

namespace {

// Xlib's default handler ends the process on any protocol error; a failed
// request here shows as a failed step instead.
bool x_error_seen = false;
int NoteXError(Display *, XErrorEvent *) {
  x_error_seen = true;
  return 0;
}

void WaitUntilMapped(Display *display, Window window) {
  XEvent event;
  do {
    XWindowEvent(display, window, StructureNotifyMask, &event);
  } while (event.type != MapNotify);
}

}  // namespace

std::unique_ptr<GlxCanvas> GlxCanvas::Open(int width, int height, std::string *error) {
  auto h = std::make_unique<Handles>();
  h->display = XOpenDisplay(nullptr);
  if (!h->display) {
    *error = "cannot open the X display (is DISPLAY set? run under xvfb-run -a -s '-screen 0 1280x1024x24')";
    return nullptr;
  }
  XSetErrorHandler(NoteXError);
  int screen = DefaultScreen(h->display);
  if (DisplayWidth(h->display, screen) < width || DisplayHeight(h->display, screen) < height) {
    *error = "the X screen is smaller than the picture";
    return nullptr;
  }
  int attributes[] = {GLX_RGBA,      GLX_DOUBLEBUFFER, GLX_RED_SIZE,   8, GLX_GREEN_SIZE, 8,
                      GLX_BLUE_SIZE, 8,                GLX_DEPTH_SIZE, 24, None};
  XVisualInfo *visual = glXChooseVisual(h->display, screen, attributes);
  if (!visual) {
    *error = "the X display offers no double-buffered 24-bit RGB visual with a depth buffer "
             "(a virtual server needs -screen 0 WxHx24)";
    return nullptr;
  }
  Window root = RootWindow(h->display, screen);
  h->colormap = XCreateColormap(h->display, root, visual->visual, AllocNone);
  XSetWindowAttributes window_attributes{};
  window_attributes.colormap = h->colormap;
  window_attributes.event_mask = StructureNotifyMask;
  h->window = XCreateWindow(h->display, root, 0, 0, width, height, 0, visual->depth, InputOutput, visual->visual,
                            CWColormap | CWEventMask | CWBorderPixel, &window_attributes);
  h->context = glXCreateContext(h->display, visual, nullptr, True);
  XFree(visual);
  if (!h->context) {
    *error = "cannot create a GLX context";
    return nullptr;
  }
  XMapWindow(h->display, h->window);
  WaitUntilMapped(h->display, h->window);
  if (!glXMakeCurrent(h->display, h->window, h->context) || x_error_seen) {
    *error = "cannot make the GLX context current";
    return nullptr;
  }
  return std::unique_ptr<GlxCanvas>(new GlxCanvas(std::move(h), width, height));
}

GlxCanvas::GlxCanvas(std::unique_ptr<Handles> handles, int width, int height)
    : handles_(std::move(handles)), width_(width), height_(height) {}

GlxCanvas::~GlxCanvas() = default;

bool GlxCanvas::direct() const { return glXIsDirect(handles_->display, handles_->context); }

RgbImage GlxCanvas::ReadBackBuffer() const {
  glFinish();
  RgbImage image(width_, height_, Rgb{});
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  // GL's rows run bottom to top; the image's top to bottom.
  size_t row_bytes = size_t(width_) * 3;
  for (int y = 0; y < height_; ++y) {
    glReadPixels(0, height_ - 1 - y, width_, 1, GL_RGB, GL_UNSIGNED_BYTE, &image.pixels[y * row_bytes]);
  }
  return image;
}

}  // namespace kavrel::fidelity
