#include "image/kept_pages.h"

#include <utility>

namespace zeb {

struct KeptPage {
  PageKey key;
  platform::FileIdentity identity;
  DecodedPage page;
  std::unique_ptr<platform::Bitmap> view;  // null when the page was shown as it is
  ViewRequest view_request;
};

class KeptPages {
 public:
  // What page_bitmap was loaded from; empty when it cannot be kept (no
  // identity of its file, or the file changed while it was read).
  std::optional<std::pair<PageKey, platform::FileIdentity>> shown;
  std::optional<KeptPage> left;    // set aside during a load
  std::optional<KeptPage> behind;  // shown before the page now shown
  PageLoadCounts counts;
};

namespace {

KeptPages& kept(MainWindow& w) {
  if (!w.kept_pages) w.kept_pages = std::make_shared<KeptPages>();
  return *w.kept_pages;
}

long long bitmap_bytes(const platform::Bitmap* b) { return b ? static_cast<long long>(b->stride()) * b->height() : 0; }

bool is_page(const std::optional<KeptPage>& k, const PageKey& key, const std::optional<platform::FileIdentity>& file) {
  return k && file && k->key == key && k->identity == *file;
}

DecodedPage adopt(MainWindow& w, KeptPage& k) {
  w.made_view = std::move(k.view);
  w.made_view_request = k.view_request;
  w.made_view_page = w.made_view ? k.page.bitmap.get() : nullptr;
  ++kept(w).counts.kept;
  return std::move(k.page);
}

}  // namespace

void set_shown_page_aside(MainWindow& w, bool keep) {
  KeptPages& k = kept(w);
  k.left.reset();
  const long long bytes = bitmap_bytes(w.page_bitmap.get()) + bitmap_bytes(w.view_bitmap.get());
  if (keep && k.shown && w.page_bitmap && bytes <= kMaxKeptPageBytes) {
    KeptPage page{k.shown->first, k.shown->second, DecodedPage{std::move(w.page_bitmap), w.page_width, w.page_height},
                  std::move(w.view_bitmap), w.view_request};
    k.left = std::move(page);
  }
  w.page_bitmap.reset();
  w.view_bitmap.reset();
  k.shown.reset();
}

DecodedPage take_kept_page(MainWindow& w, const PageKey& key, const std::optional<platform::FileIdentity>& file,
                           std::unique_ptr<platform::Bitmap>& spare) {
  KeptPages& k = kept(w);
  DecodedPage page;
  if (is_page(k.left, key, file)) {
    page = adopt(w, *k.left);
    k.left.reset();
  } else if (is_page(k.behind, key, file)) {
    page = adopt(w, *k.behind);
  } else if (k.behind) {
    spare = std::move(k.behind->page.bitmap);
  }
  k.behind.reset();
  return page;
}

void settle_kept_pages(MainWindow& w) {
  KeptPages& k = kept(w);
  k.behind = std::exchange(k.left, std::nullopt);
}

void note_shown_page(MainWindow& w, const PageKey& key, const platform::FileIdentity& identity) {
  kept(w).shown.emplace(key, identity);
}

void forget_shown_page(MainWindow& w) {
  if (w.kept_pages) w.kept_pages->shown.reset();
}

void drop_page_behind(MainWindow& w) {
  if (!w.kept_pages) return;
  w.kept_pages->behind.reset();
  w.kept_pages->left.reset();
}

PageLoadCounts page_load_counts(const MainWindow& w) { return w.kept_pages ? w.kept_pages->counts : PageLoadCounts{}; }

void count_decoded_page(MainWindow& w) { ++kept(w).counts.decoded; }

bool holds_page_behind(const MainWindow& w) { return w.kept_pages && w.kept_pages->behind.has_value(); }

void free_page_bitmaps(MainWindow& w) {
  w.page_bitmap.reset();
  w.view_bitmap.reset();
  forget_shown_page(w);
}

}  // namespace zeb
