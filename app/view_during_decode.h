#pragma once
// The view made while the page is decoded: as soon as the decoder has
// written the rows a line of the view averages, that line is averaged, from
// rows that are still in the processor's cache, instead of in a second pass
// over the whole page bitmap once it is done. The view is the one the
// geometry would ask for with the settings as they are when the load
// begins; the geometry takes it only when its own request is the same.
//
// On a machine of two or more processors a helper thread averages the
// lines of a large unturned view beside the decoder, each line as soon as
// its rows are final, so the decode alone sets the pace. The decoding
// thread takes the lines the helper has fallen behind on (a helper kept
// from running by other work) and, at the end, whatever is left, so a turn
// never waits for the helper to be scheduled. On one processor, and for
// turned or small views, the decoding thread averages every line itself.
#include <memory>
#include <optional>

#include "core/viewer.h"
#include "image/page_loader.h"
#include "view/geometry.h"
#include "view/view_builder.h"

namespace zeb {

class SharedLines;  // view_during_decode.cpp

class ViewDuringDecode final : public RowListener {
 public:
  // `helper`: the window's helper thread (view_helper), or null.
  ViewDuringDecode(const ViewSettings& settings, ViewHelper* helper);
  ~ViewDuringDecode();
  ViewDuringDecode(const ViewDuringDecode&) = delete;
  ViewDuringDecode& operator=(const ViewDuringDecode&) = delete;

  void page_started(const platform::Bitmap& page, int width, int height) override;
  void rows_final(int rows) override;
  void page_abandoned() override;
  // After a decode that succeeded with `page` as its bitmap: hands the view
  // to the window for the geometry to take. Nothing when no box filter ran.
  void hand_over(MainWindow& w, const platform::Bitmap& page);

 private:
  void stop_sharing();

  ViewSettings settings_;
  ViewHelper* helper_;
  std::optional<ViewRequest> request_;
  std::unique_ptr<ViewBuilder> builder_;
  std::unique_ptr<SharedLines> shared_;  // while the helper takes lines
};

// The window's helper thread, made on first use; null on one processor.
ViewHelper* view_helper(MainWindow& w);

}  // namespace zeb
