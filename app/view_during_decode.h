#pragma once
// The view made while the page is decoded: as soon as the decoder has
// written the rows a line of the view averages, that line is averaged, from
// rows that are still in the processor's cache, instead of in a second pass
// over the whole page bitmap once it is done. The view is the one the
// geometry would ask for with the settings as they are when the load
// begins; the geometry takes it only when its own request is the same.
#include <memory>
#include <optional>

#include "core/viewer.h"
#include "image/page_loader.h"
#include "view/geometry.h"
#include "view/view_builder.h"

namespace zeb {

class ViewDuringDecode final : public RowListener {
 public:
  explicit ViewDuringDecode(const ViewSettings& settings) : settings_(settings) {}
  void page_started(const platform::Bitmap& page, int width, int height) override;
  void rows_final(int rows) override;
  // After a decode that succeeded with `page` as its bitmap: hands the view
  // to the window for the geometry to take. Nothing when no box filter ran.
  void hand_over(MainWindow& w, const platform::Bitmap& page);

 private:
  ViewSettings settings_;
  std::optional<ViewRequest> request_;
  std::unique_ptr<ViewBuilder> builder_;
};

}  // namespace zeb
