#pragma once
// The program's exit statuses.

namespace mw {

constexpr int kExitOk = 0;
constexpr int kExitRuntimeError = 1;
constexpr int kExitUsage = 2;  // bad command line, script or recording
constexpr int kExitHeadlessTimeout = 3;

}  // namespace mw
