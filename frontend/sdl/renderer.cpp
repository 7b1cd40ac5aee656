#include "frontend/sdl/renderer.h"

#include <SDL_opengl.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <optional>

namespace zeb::sdl {
namespace {

// Names in GL_RENDERER of Mesa's processor rasterisers, and of the generic
// words other software implementations use.
constexpr const char* kSoftwareRasterisers[] = {"llvmpipe", "softpipe", "swrast", "software", "swiftshader"};

constexpr int kProbeTimeoutMs = 5000;  // a driver that hangs is not waited for longer

// GL_RENDERER of the current OpenGL context.
std::string current_gl_renderer() {
  using GetString = const GLubyte*(APIENTRY*)(GLenum);
  auto get_string = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  const GLubyte* name = get_string ? get_string(GL_RENDERER) : nullptr;
  return name ? reinterpret_cast<const char*>(name) : "";
}

// The name of the OpenGL implementation behind an OpenGL renderer (whose
// context SDL leaves current), empty for any other renderer.
std::string gl_renderer_name(SDL_Renderer* renderer) {
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(renderer, &info) != 0 || !info.name || std::strncmp(info.name, "opengl", 6) != 0) return "";
  return current_gl_renderer();
}

// Runs in the child: the OpenGL driver's name for a hidden window of this
// display, empty without OpenGL. The child's end cleans up.
std::string probe_gl_renderer() {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return "";
  SDL_Window* window = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!window || !SDL_GL_CreateContext(window)) return "";
  return current_gl_renderer();
}

SDL_Renderer* create_software(SDL_Window* window) {
  // SDL would otherwise show the software renderer's surface through an
  // OpenGL texture, bringing the driver back.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  return SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
}

}  // namespace

bool parse_renderer_choice(const std::string& word, RendererChoice& choice) {
  if (word == "software") choice = RendererChoice::software;
  else if (word == "accelerated") choice = RendererChoice::accelerated;
  else return false;
  return true;
}

bool names_software_rasteriser(const std::string& gl_renderer) {
  std::string lower = gl_renderer;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  return std::any_of(std::begin(kSoftwareRasterisers), std::end(kSoftwareRasterisers),
                     [&](const char* name) { return lower.find(name) != std::string::npos; });
}

RendererProbe::RendererProbe(RendererChoice choice) : choice_(choice) {
  if (choice == RendererChoice::automatic) question_.emplace(probe_gl_renderer);
}

RendererChoice RendererProbe::settle() {
  if (!question_) return choice_;
  const std::optional<std::string> gl = question_->answer(kProbeTimeoutMs);
  question_.reset();
  return gl && names_software_rasteriser(*gl) ? RendererChoice::software : choice_;
}

SDL_Renderer* create_renderer(SDL_Window* window, RendererChoice choice) {
  if (choice == RendererChoice::software) return create_software(window);
  SDL_Renderer* accelerated = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
  if (!accelerated) {
    if (choice == RendererChoice::accelerated)
      std::fprintf(stderr, "zeb: no accelerated renderer (%s); drawing in software\n", SDL_GetError());
    return create_software(window);
  }
  if (choice == RendererChoice::automatic && names_software_rasteriser(gl_renderer_name(accelerated))) {
    SDL_DestroyRenderer(accelerated);
    return create_software(window);
  }
  return accelerated;
}

}  // namespace zeb::sdl
