#pragma once
// Which SDL renderer draws the window. The screen changes only when the
// reader does something, so drawing costs little either way; what counts is
// what a renderer costs while it waits. A GPU's renderer costs nothing then,
// but an OpenGL driver that rasterises on the processor (Mesa's llvmpipe,
// softpipe, swrast) keeps a JIT compiler, its threads and their memory for
// work SDL's own software renderer does more cheaply.
#include <SDL.h>

#include <optional>
#include <string>

#include "host/child_answer.h"

namespace zeb::sdl {

enum class RendererChoice {
  automatic,    // accelerated, unless its OpenGL driver rasterises on the processor
  software,     // SDL's software renderer, on the window's own surface
  accelerated,  // the accelerated renderer whatever its driver (software when there is none)
};

// "software" or "accelerated" (the --renderer option).
bool parse_renderer_choice(const std::string& word, RendererChoice& choice);

// True when an OpenGL renderer string (GL_RENDERER) names a rasteriser that
// runs on the processor.
bool names_software_rasteriser(const std::string& gl_renderer);

// The automatic choice made before the window opens: software when the
// OpenGL driver rasterises on the processor, else still automatic (settled
// by create_renderer). The driver is asked in a child process, so that a
// software rasteriser never loads here. The child is forked when the probe
// is made, before SDL starts in this process, and connects to the display
// only in settle(), after this process has its own connection: the child's
// end then never leaves the display without clients, which an X server
// answers with a reset that drops a connection just being opened.
class RendererProbe {
 public:
  explicit RendererProbe(RendererChoice choice);
  RendererChoice settle();

 private:
  RendererChoice choice_;
  std::optional<platform::ChildQuestion> question_;
};

// The renderer for the window as chosen, or null with SDL's reason left in
// SDL_GetError(). Without an accelerated renderer, the software one.
SDL_Renderer* create_renderer(SDL_Window* window, RendererChoice choice);

}  // namespace zeb::sdl
