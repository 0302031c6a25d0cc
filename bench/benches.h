#pragma once
// The benchmarks of `make bench`; each prints its lines and returns 0, or
// non-zero when it could not run.

namespace mw {

int RunFrameBench();
int RunReplayBench();

}  // namespace mw
