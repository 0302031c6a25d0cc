#pragma once
// A run-time error (its text in UTF-8) ends the program: main shows it in a message box, writes it
// to stderr and exits with status 1.

#include <stdexcept>
#include <string>

namespace mw {

class RuntimeError : public std::runtime_error {
 public:
  explicit RuntimeError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace mw
