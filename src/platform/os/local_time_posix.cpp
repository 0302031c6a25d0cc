#include "platform/os/local_time.h"

namespace mw {

std::tm LocalTimeOf(std::time_t moment) {
  std::tm local{};
  if (localtime_r(&moment, &local) == nullptr) local = std::tm{};
  return local;
}

}  // namespace mw
