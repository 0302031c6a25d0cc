// Given to the headless build for Node.js (--pre-js): the program sees the
// process's environment (OEDIR, HOME, ...) as a program on the desktop does;
// emscripten would give it only a few made-up variables of its own.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  for (var name in process.env) ENV[name] = process.env[name];
});
