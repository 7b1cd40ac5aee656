#include "frontend/script/commands.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <map>
#include <sstream>
#include <thread>

#include "app/control_input.h"
#include "app/desktop_input.h"
#include "app/main_window.h"
#include "app/messages.h"
#include "app/open_target.h"
#include "core/control_ids.h"
#include "core/virtual_keys.h"
#include "frontend/script/state_json.h"
#include "host/text.h"
#include "settings/settle_save.h"
#include "view/paint.h"
#include "widgets/draw.h"

namespace zeb::script {
namespace {

using nlohmann::json;

constexpr std::chrono::milliseconds kTickPeriod{ctl::timer_period_ms};

enum class Args { none, opt_count, point, point_steps, key, id, id_index, id_text, text, number, yes_no, menu, file };

const std::map<std::string, Args> kGrammar = {
    {"tick", Args::opt_count}, {"down", Args::point},        {"move", Args::point},      {"up", Args::point},
    {"tap", Args::point},      {"key", Args::key},           {"ok", Args::none},         {"cancel", Args::none},
    {"click", Args::id},       {"dblclick", Args::id},       {"select", Args::id_index}, {"text", Args::id_text},
    {"type", Args::text},      {"slider", Args::number},     {"command", Args::number},  {"answer", Args::yes_no},
    {"menu", Args::menu},      {"foreground", Args::yes_no}, {"paint", Args::none},      {"shot", Args::file},
    {"state", Args::none},     {"control", Args::id},        {"quit", Args::none},       {"wheel", Args::point_steps},
    {"close", Args::none},      {"idle", Args::number},
};

const std::map<std::string, int> kKeyNames = {
    {"left", vk::left},         {"right", vk::right},
    {"up", vk::up},             {"down", vk::down},
    {"enter", vk::enter},       {"escape", vk::escape},
    {"back", vk::back},         {"a", vk::game_a},
    {"b", vk::game_b},          {"c", vk::game_c},
    {"start", vk::game_start},  {"space", vk::space},
    {"pageup", vk::page_up},    {"pagedown", vk::page_down},
    {"end", vk::end},           {"home", vk::home},
};

bool parse_number(const std::string& word, long long& value) {
  if (word.empty()) return false;
  const bool hex = word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X');
  char* end = nullptr;
  value = std::strtoll(word.c_str(), &end, hex ? 16 : 10);
  return end && *end == '\0';
}

std::string rest_after(const std::string& line, int words) {
  size_t pos = 0;
  for (int i = 0; i < words; ++i) {
    pos = line.find_first_not_of(" \t", pos);
    pos = line.find_first_of(" \t", pos);
    if (pos == std::string::npos) return {};
  }
  pos = line.find_first_not_of(" \t", pos);
  return pos == std::string::npos ? std::string() : line.substr(pos);
}

bool numbers_from(const std::vector<std::string>& words, size_t first, size_t count, Command& cmd, std::string& why) {
  if (words.size() < first + count) { why = "missing argument"; return false; }
  for (size_t i = first; i < first + count; ++i) {
    long long n;
    if (!parse_number(words[i], n)) { why = "not a number: " + words[i]; return false; }
    cmd.numbers.push_back(n);
  }
  return true;
}

bool parse_key(const std::vector<std::string>& words, Command& cmd, std::string& why) {
  if (words.size() != 3) { why = "usage: key K down|up|press"; return false; }
  long long vk;
  auto named = kKeyNames.find(words[1]);
  if (named != kKeyNames.end()) vk = named->second;
  else if (!parse_number(words[1], vk) || vk < 0 || vk > 255) { why = "unknown key: " + words[1]; return false; }
  if (words[2] != "down" && words[2] != "up" && words[2] != "press") { why = "key action must be down, up or press"; return false; }
  cmd.numbers.push_back(vk);
  cmd.word = words[2];
  return true;
}

bool parse_args(Args args, const std::vector<std::string>& words, const std::string& line, Command& cmd,
                std::string& why) {
  const size_t n = words.size() - 1;
  switch (args) {
    case Args::none: if (n) { why = "unexpected argument"; return false; } return true;
    case Args::opt_count: if (n == 0) { cmd.numbers.push_back(1); return true; }
      return n == 1 ? numbers_from(words, 1, 1, cmd, why) : (why = "too many arguments", false);
    case Args::point: return n == 2 ? numbers_from(words, 1, 2, cmd, why) : (why = "usage: X Y", false);
    case Args::point_steps: return n == 3 ? numbers_from(words, 1, 3, cmd, why) : (why = "usage: X Y STEPS", false);
    case Args::key: return parse_key(words, cmd, why);
    case Args::id: case Args::number: return n == 1 ? numbers_from(words, 1, 1, cmd, why) : (why = "one number expected", false);
    case Args::id_index: return n == 2 ? numbers_from(words, 1, 2, cmd, why) : (why = "usage: ID INDEX", false);
    case Args::id_text: if (!numbers_from(words, 1, 1, cmd, why)) return false; cmd.text = rest_after(line, 2); return true;
    case Args::text: cmd.text = rest_after(line, 1); return true;
    case Args::file: if (n < 1) { why = "missing file"; return false; } cmd.text = rest_after(line, 1); return true;
    case Args::yes_no: if (n == 1 && (words[1] == "yes" || words[1] == "no")) { cmd.word = words[1]; return true; }
      why = "yes or no expected"; return false;
    case Args::menu: if (n == 1 && words[1] == "none") { cmd.word = "none"; return true; }
      return n == 1 ? numbers_from(words, 1, 1, cmd, why) : (why = "ID or none expected", false);
  }
  return false;
}


void print(Session& s, const json& j) {
  s.out << j.dump(-1, ' ', false, json::error_handler_t::replace) << '\n';
}

void repaint_now(Viewer& v) {
  v.platform.paint_requested = true;
  pump(v);
}

bool save_shot(Viewer& v, const std::string& file) {
  const bool png = file.size() >= 4 && file.compare(file.size() - 4, 4, ".png") == 0;
  return png ? platform::save_png(*v.platform.screen, file) : platform::save_ppm(*v.platform.screen, file);
}

void stylus(Session& s, const std::string& what, int x, int y) {
  Viewer& v = s.viewer;
  if (what == "down") {
    s.press = begin_press(v, x, y);
    press(v, s.press, x, y);
  } else if (what == "move") {
    drag(v, s.press, x, y);
  } else {
    release(v, s.press, x, y);
    s.press = {Press::To::window, 0};
  }
}

// Real time passes: the timer ticks at its own rate, each tick followed by
// its paints, and work in the background goes on meanwhile.
void idle(Viewer& v, long long ms) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(std::max(ms, 0LL));
  for (Clock::time_point tick = Clock::now() + kTickPeriod; tick <= end && !v.platform.ended; tick += kTickPeriod) {
    std::this_thread::sleep_until(tick);
    timer_tick(v);
  }
  if (!v.platform.ended) std::this_thread::sleep_until(end);
}

void key(Session& s, int vk, const std::string& action) {
  Viewer& v = s.viewer;
  if (action != "up") key_press(v, vk);
  if (action == "press") pump(v);
  if (action != "down" && !v.platform.ended) key_release(v, vk);
}

void serve_later_starts(Session& s) {
  if (!s.guard) return;
  for (const std::string& path : s.guard->take_requests().paths) open_handed_over(s.viewer, path);
}

// N ticks of the timer; a save a tick hands over is on disk before the
// script goes on, so what a script reads of the files is deterministic.
void ticks(Session& s, long long n) {
  Viewer& v = s.viewer;
  for (long long i = 0; i < n && !v.platform.ended; ++i) {
    serve_later_starts(s);
    timer_tick(v);
    wait_for_settle_save(v);
  }
}

}  // namespace

std::optional<Command> parse_command(const std::string& line, std::string& why) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  if (words.empty()) { why = "empty command"; return std::nullopt; }
  auto rule = kGrammar.find(words[0]);
  if (rule == kGrammar.end()) { why = "unknown command: " + words[0]; return std::nullopt; }
  Command cmd;
  cmd.name = words[0];
  if (!parse_args(rule->second, words, line, cmd, why)) return std::nullopt;
  return cmd;
}

bool run_command(Session& s, const Command& c) {
  Viewer& v = s.viewer;
  const std::string& n = c.name;
  auto num = [&](size_t i) { return static_cast<int>(c.numbers.at(i)); };
  if (n == "tick") {
    ticks(s, c.numbers[0]);
  } else if (n == "idle") {
    idle(v, c.numbers[0]);
  } else if (n == "down" || n == "move" || n == "up") {
    stylus(s, n, num(0), num(1));
  } else if (n == "tap") {
    stylus(s, "down", num(0), num(1));
    pump(v);
    if (!v.platform.ended) stylus(s, "up", num(0), num(1));
  } else if (n == "key") {
    key(s, num(0), c.word);
  } else if (n == "ok" || n == "cancel") {
    command(v, n == "ok" ? ctl::cmd_ok : ctl::cmd_cancel);
  } else if (n == "click") {
    click_control(v, num(0));
  } else if (n == "dblclick") {
    notify(v, num(0), Notify::dblclick);
  } else if (n == "select") {
    select_item(v, num(0), num(1));
  } else if (n == "text") {
    v.dialog.set_text(num(0), text::from_utf8(c.text));
  } else if (n == "type") {
    type_text(v, text::from_utf8(c.text));
  } else if (n == "slider") {
    v.dialog.set_pos(ctl::page_slider, num(0));
    notify(v, ctl::page_slider, Notify::scroll);
  } else if (n == "command") {
    command(v, num(0));
  } else if (n == "answer") {
    s.host.queue_answer(c.word == "yes");
  } else if (n == "menu") {
    s.host.queue_menu(c.word == "none" ? std::nullopt : std::optional<int>(num(0)));
  } else if (n == "foreground") {
    s.host.set_foreground(c.word == "yes");
  } else if (n == "paint") {
    repaint_now(v);
  } else if (n == "shot") {
    if (!save_shot(v, c.text)) s.err << "shot: cannot write " << c.text << '\n';
  } else if (n == "state") {
    print(s, json{{"state", state_json(v)}});
  } else if (n == "control") {
    print(s, json{{"control", control_json(v, num(0))}});
  } else if (n == "quit") {
    v.platform.end_main_window();
  } else if (n == "wheel") {
    wheel(v, num(0), num(1), num(2));
  } else if (n == "close") {
    save_and_end(v);
  }
  if (!v.platform.ended) pump(v);
  return !v.platform.ended;
}

}  // namespace zeb::script
