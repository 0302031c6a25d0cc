#include "platform/os/local_time.h"

namespace mw {

std::tm LocalTimeOf(std::time_t moment) {
  std::tm local{};
  if (localtime_s(&local, &moment) != 0) local = std::tm{};
  return local;
}

}  // namespace mw
