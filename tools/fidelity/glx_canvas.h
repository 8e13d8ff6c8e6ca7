// An OpenGL context on an ordinary X window. Coin3D's offscreen renderer
// gets no context on a virtual X server (Xvfb), but Mesa renders directly
// into a mapped window there; pictures are read back from its back buffer.
#ifndef KAVREL_TOOLS_FIDELITY_GLX_CANVAS_H
#define KAVREL_TOOLS_FIDELITY_GLX_CANVAS_H

#include <memory>
#include <string>

#include "tools/fidelity/rgb_image.h"

namespace kavrel::fidelity {

class GlxCanvas {
 public:
  // Opens $DISPLAY, makes a double-buffered RGB window with a depth buffer of
  // the given size and makes its context current; null with a message when
  // any step fails.
  static std::unique_ptr<GlxCanvas> Open(int width, int height, std::string *error);
  ~GlxCanvas();
  GlxCanvas(const GlxCanvas &) = delete;
  GlxCanvas &operator=(const GlxCanvas &) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  // Whether the context renders directly (not through the X server).
  bool direct() const;
  // The back buffer as it is now, after the GL commands so far have finished.
  RgbImage ReadBackBuffer() const;

 private:
  struct Handles;
  GlxCanvas(std::unique_ptr<Handles> handles, int width, int height);
  std::unique_ptr<Handles> handles_;
  int width_, height_;
};

}  // namespace kavrel::fidelity

#endif
