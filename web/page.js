// The page around the game: it loads the program with a progress bar, keeps
// the high-score table (the files of /data) in the browser's IndexedDB, lets
// the player start with a click (a page may play sound only after the player
// acted), switches full screen, and says when the program has ended. The
// program draws on the canvas and reads the keys and the mouse itself.
'use strict';

(function () {
  const byId = (id) => document.getElementById(id);
  const canvas = byId('picture');
  const testing = new URLSearchParams(window.location.search).has('test');

  function show(id) { byId(id).classList.remove('hidden'); }
  function hide(id) { byId(id).classList.add('hidden'); }

  function fail(text) {
    hide('loading');
    hide('start');
    byId('failed-text').textContent = text;
    show('failed');
  }

  // A line under the picture, which then gives it room.
  function note(text) {
    const line = byId('note');
    line.textContent = text;
    line.classList.remove('hidden');
    document.documentElement.style.setProperty('--note-height', line.offsetHeight + 'px');
  }

  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    fail('Dieser Browser kann Möwenschuss nicht spielen: ihm fehlt WebAssembly. ' +
         'Bitte öffnen Sie die Seite in einem aktuellen Browser.');
    return;
  }
  if (!canvas.getContext || !canvas.getContext('2d')) {
    fail('Dieser Browser kann Möwenschuss nicht spielen: er zeichnet keine Bilder auf die Seite.');
    return;
  }

  // Until the click that starts the game, and on the page's own controls, the
  // game sees no key and no button: they are the page's.
  let clicked = false;
  const controls = ['start', 'ended', 'failed', 'full-screen'];
  function onControl(event) {
    return controls.some((id) => byId(id).contains(event.target));
  }
  function keepFromGame(event) {
    if (clicked && !onControl(event)) return;
    event.stopPropagation();
  }
  for (const type of ['keydown', 'keyup', 'mousedown', 'mouseup']) {
    window.addEventListener(type, keepFromGame, true);
  }
  // The right button reloads the game's rifle, not the page's menu.
  window.addEventListener('contextmenu', (event) => event.preventDefault());

  byId('start').addEventListener('click', () => {
    clicked = true;
    hide('start');
    canvas.focus();
  });

  // Full screen: the button, or Alt+Enter in the game. A browser takes
  // Escape to leave full screen; where it can lend it to the page (Chromium's
  // keyboard lock), Escape stays the game's and holding it leaves.
  function toggleFullScreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen().catch(() => {});
      return;
    }
    if (!document.documentElement.requestFullscreen) return;
    document.documentElement.requestFullscreen({navigationUI: 'hide'}).then(() => {
      if (navigator.keyboard && navigator.keyboard.lock) {
        navigator.keyboard.lock(['Escape']).catch(() => {});
      }
    }).catch(() => {});
  }
  byId('full-screen').addEventListener('click', () => {
    toggleFullScreen();
    canvas.focus();
  });
  document.addEventListener('fullscreenchange', () => {
    byId('full-screen').textContent = document.fullscreenElement ? 'Fenster' : 'Vollbild';
    if (!document.fullscreenElement && navigator.keyboard && navigator.keyboard.unlock) {
      navigator.keyboard.unlock();
    }
  });

  byId('again').addEventListener('click', () => window.location.reload());

  // The table lives in /data, kept in IndexedDB; where the browser keeps
  // nothing (storage refused, a private window without it) it lives in memory
  // for the visit, and the player is told.
  let keeping = false;
  let saving = false;
  let saveAgain = false;
  const notKept = 'Dieser Browser bewahrt nichts auf: die Highscore-Tabelle gilt nur für diesen ' +
                  'Besuch.';

  function openStorage(FS) {
    return new Promise((resolve) => {
      try {
        FS.mkdir('/data');
      } catch (error) {
        // already there
      }
      let done = false;
      const finish = (kept) => {
        if (done) return;
        done = true;
        if (!kept) {
          try {
            FS.unmount('/data');
          } catch (error) {
            // not mounted
          }
          note(notKept);
        }
        resolve(kept);
      };
      try {
        if (!window.indexedDB) throw new Error('no IndexedDB');
        FS.mount(FS.filesystems.IDBFS, {}, '/data');
        FS.syncfs(true, (error) => finish(!error));
        // A browser that never answers keeps nothing either.
        window.setTimeout(() => finish(false), 5000);
      } catch (error) {
        finish(false);
      }
    });
  }

  // After a save: the whole folder into IndexedDB in one transaction, so a tab
  // closed meanwhile leaves the old table or the new one.
  function keepFiles() {
    if (!keeping) return;
    if (saving) {
      saveAgain = true;
      return;
    }
    saving = true;
    window.Module.FS.syncfs(false, (error) => {
      saving = false;
      if (error) note('Die Highscore-Tabelle konnte im Browser nicht gespeichert werden.');
      if (saveAgain) {
        saveAgain = false;
        keepFiles();
      }
    });
  }

  function programEnded(status) {
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
    byId('ended-text').textContent = status === 0 ?
        'Möwenschuss ist beendet.' :
        'Möwenschuss wurde nach einem Fehler beendet (Status ' + status + ').';
    hide('start');
    show('ended');
    canvas.style.cursor = 'default';
  }

  // The program's file, with a progress bar while it comes.
  async function fetchProgram(url) {
    const response = await fetch(url);
    if (!response.ok) throw new Error(response.status + ' ' + response.statusText);
    const total = Number(response.headers.get('Content-Length')) || 0;
    if (!response.body || total === 0) return new Uint8Array(await response.arrayBuffer());
    const bar = byId('progress');
    const reader = response.body.getReader();
    const bytes = new Uint8Array(total);
    let received = 0;
    for (;;) {
      const {done, value} = await reader.read();
      if (done) break;
      if (received + value.length > total) throw new Error('mehr Daten als angekündigt');
      bytes.set(value, received);
      received += value.length;
      bar.value = received / total;
    }
    return bytes.subarray(0, received);
  }

  window.Module = {
    canvas: canvas,
    print: (text) => console.log(text),
    printErr: (text) => console.error(text),
    instantiateWasm: (imports, receive) => {
      fetchProgram('moewenschuss.wasm')
          .then((bytes) => WebAssembly.instantiate(bytes, imports))
          .then((result) => receive(result.instance, result.module))
          .catch((error) => fail('Möwenschuss konnte nicht geladen werden: ' + error.message));
      return {};
    },
    onRuntimeInitialized: () => {
      openStorage(window.Module.FS).then((kept) => {
        keeping = kept;
        hide('loading');
        if (!clicked) show('start');
        // In a test the event log goes to the console, a line an event.
        window.Module.callMain(testing ? ['--events', '/dev/stdout'] : []);
      });
    },
    mwKeepFiles: keepFiles,
    mwToggleFullScreen: toggleFullScreen,
    mwShowSystemCursor: (shown) => { canvas.style.cursor = shown ? 'default' : 'none'; },
    mwProgramEnded: programEnded,
  };

  const program = document.createElement('script');
  program.src = 'moewenschuss.js';
  program.onerror = () => fail('Möwenschuss konnte nicht geladen werden.');
  document.body.appendChild(program);
})();
