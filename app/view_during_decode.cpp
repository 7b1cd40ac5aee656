#include "app/view_during_decode.h"

#include "view/resample.h"

namespace zeb {

void ViewDuringDecode::page_started(const platform::Bitmap& page, int width, int height) {
  builder_.reset();
  request_ = view_request_for(settings_, width, height);
  if (request_) builder_ = ViewBuilder::start(page, *request_);
}

void ViewDuringDecode::rows_final(int rows) {
  if (builder_) builder_->rows_final(rows);
}

void ViewDuringDecode::hand_over(MainWindow& w, const platform::Bitmap& page) {
  drop_made_view(w);
  if (!builder_) return;
  ResampleResult view = builder_->finish();
  builder_.reset();
  if (!view.bitmap) return;
  w.made_view = std::move(view.bitmap);
  w.made_view_request = *request_;
  w.made_view_page = &page;
}

}  // namespace zeb
