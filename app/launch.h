#pragma once
// The start both front ends share: the storage root, the settings folder,
// the single-instance guard, the location named on the command line, and
// the main window from its creation to its end. A front end brings only its
// input and output: a window and its events, or a script and its answers.
#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "app/open_target.h"
#include "core/services.h"
#include "core/viewer.h"
#include "host/instance.h"

namespace zeb {

// The command-line options every front end takes.
struct StartOptions {
  std::string root = "/";               // --root: the host folder the viewer's paths start from
  std::string settings;                 // --settings: the folder that holds ZEB_CFG; empty: the default
  std::optional<std::string> location;  // the folder, archive or page to open (a host path)
  bool read_ahead = true;               // off with --no-read-ahead
  bool plain_turns = false;             // --plain-turns: no kept page, the view made after the decode
};

enum class OptionTaken { no, yes, refused };
// Takes args[i] when it is one of the options above, stepping i over its
// value; refused, with a message on `err`, when the value is missing.
OptionTaken take_start_option(const std::vector<std::string>& args, std::size_t& i, StartOptions& o, std::ostream& err);
// Takes a word that is no option as the location; false, with a message on
// `err`, when one was given already.
bool take_location(const std::string& word, StartOptions& o, std::ostream& err);

// The platform's settings that follow from the options: the storage root,
// the folder that holds the settings folder, read-ahead and the turns.
void set_up_platform(platform::Platform& platform, const StartOptions& o);
// Makes the main window's controls, initialises it (opening the target, if
// any) and delivers what the initialisation posted.
void open_main_window(Viewer& v, const OpenTarget* target);

// What a front end brings to the start, called in this order.
class FrontEnd {
 public:
  virtual ~FrontEnd() = default;
  // Answers the viewer's message boxes, menus and foreground test.
  virtual platform::Host& host() = 0;
  // Another viewer holds the settings folder and has been handed this
  // start's location; this start ends with status 0.
  virtual void handed_over() {}
  // The start goes on: the front end opens its output before the viewer is
  // made. False when it cannot (it has said why); the start ends with 2.
  virtual bool open() { return true; }
  // The viewer is made, its controls are not: the front end connects to it
  // and to the guard, which carries later starts' requests.
  virtual void attach(Viewer& v, platform::InstanceGuard& guard) = 0;
  // The main window stands: serves it until it ends; the exit status.
  virtual int serve(Viewer& v) = 0;
  // The main window is destroyed; the viewer still exists.
  virtual void detach() {}
};

// Starts the viewer and runs it through the front end. Returns the exit
// status: 2, with a message on `err`, when the location does not exist or
// cannot be opened, or the front end cannot open; 0 when another viewer
// took the start over; else what the front end's serve returns.
int launch(const StartOptions& o, FrontEnd& front, std::ostream& err);

}  // namespace zeb
