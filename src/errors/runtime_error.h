#pragma once
// A run-time error (its text in UTF-8) ends the program: the program's loop shows it in a
// message box and writes it to stderr, and the program exits with status 1.

#include <stdexcept>
#include <string>

namespace mw {

class RuntimeError : public std::runtime_error {
 public:
  explicit RuntimeError(const std::string& what) : std::runtime_error(what) {}
};

// The game's run-time errors keep the numbers and texts players know them by.
inline RuntimeError IndexOutOfRange(const std::string& what = "") {
  return RuntimeError("Laufzeitfehler 9: Index außerhalb des gültigen Bereichs" +
                      (what.empty() ? std::string() : " (" + what + ")"));
}
inline RuntimeError DivisionByZero() {
  return RuntimeError("Laufzeitfehler 11: Division durch Null");
}
inline RuntimeError ObjectNotSet() {
  return RuntimeError("Laufzeitfehler 91: Objektvariable oder With-Blockvariable nicht festgelegt");
}

}  // namespace mw
