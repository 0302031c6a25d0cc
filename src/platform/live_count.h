#pragma once
// Counts the live objects that carry one of its marks. A mark is a copy of one
// shared token, so moves, copies and destructors keep the count right without
// any bookkeeping of their own.

#include <memory>

namespace mw {

class LiveCount {
 public:
  using Mark = std::shared_ptr<const void>;

  Mark NewMark() const { return token_; }
  int Live() const { return static_cast<int>(token_.use_count()) - 1; }

 private:
  std::shared_ptr<const int> token_ = std::make_shared<const int>(0);
};

}  // namespace mw
