// Box runs with the float bounds the per-pixel rules use.
#include "view/box_spans.h"

#include <algorithm>

namespace zeb {

Span box_span(int p, float scale, bool wide, int limit) {
  Span s;
  s.begin = std::min(static_cast<int>(static_cast<float>(p) * scale), limit - 1);
  float bound = static_cast<float>(p + 1) * scale;
  int end = s.begin;
  if (wide) {
    bound = bound + 1.0f;
    while (end < limit && static_cast<float>(end) <= bound) ++end;
  } else {
    while (end < limit && static_cast<float>(end) < bound) ++end;
  }
  s.end = std::max(end, s.begin + 1);
  return s;
}

std::vector<Span> box_spans(int count, float scale, bool wide, int limit) {
  std::vector<Span> spans(std::max(count, 0));
  for (int p = 0; p < count; ++p) spans[p] = box_span(p, scale, wide, limit);
  return spans;
}

BoxPlan unturned_plan(int W, int H, int vw, int vh, bool wide) {
  const float sy = static_cast<float>(H) / static_cast<float>(vh);
  const float sx = static_cast<float>(W) / static_cast<float>(vw);
  return BoxPlan{box_spans(vh - kBlackEdge, sy, wide, H), box_spans(vw - kBlackEdge, sx, wide, W)};
}

BoxPlan turned_plan(int W, int H, int vw, int vh, bool wide) {
  const float tx = static_cast<float>(W) / static_cast<float>(vh);
  const float ty = static_cast<float>(H) / static_cast<float>(vw);
  BoxPlan plan;
  plan.positions = box_spans(vh - kBlackEdge, tx, wide, W);
  for (int x = 0; x < vw - kBlackEdge; ++x) plan.lines.push_back(box_span(vw - 2 - x, ty, wide, H));
  return plan;
}

}  // namespace zeb
