// The page around the game: it loads the program with a progress bar, keeps
// the high-score table (the files of /data) in the browser's IndexedDB, lets
// the player start with a click (a page may play sound only after the player
// acted), switches full screen, and says when the program has ended. The
// program draws on the canvas and reads the keys, the mouse and the game pads
// itself; the fingers, the touch buttons and the name field's text the page
// gathers for it, since only the page can cancel what a browser does with
// them.
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

  // Touch screens get buttons beside the picture and say how touch plays.
  const coarse = window.matchMedia ? window.matchMedia('(pointer: coarse)') : null;
  function showTouchLayout() {
    const touch = (coarse && coarse.matches) ||
        (navigator.maxTouchPoints > 0 && window.matchMedia('(hover: none)').matches);
    document.documentElement.classList.toggle('touch', !!touch);
  }
  showTouchLayout();
  if (coarse && coarse.addEventListener) coarse.addEventListener('change', showTouchLayout);
  // Full screen only where the browser has it (an iPhone has none).
  if (!document.fullscreenEnabled) hide('full-screen');

  const field = byId('name-field');
  const touchButtons = Array.from(document.querySelectorAll('.touch-button'));

  // Until the click that starts the game, and on the page's own controls, the
  // game sees no key and no button: they are the page's. Keys typed into the
  // name field reach the game through the field's text only.
  let clicked = false;
  let running = false;
  const controls = ['start', 'ended', 'failed', 'full-screen', 'name-field'].concat(
      touchButtons.map((button) => button.id));
  function onControl(event) {
    return controls.some((id) => byId(id).contains(event.target));
  }
  function keepFromGame(event) {
    if (clicked && !onControl(event)) return;
    event.stopPropagation();
  }
  // What the page gathered for the program, which takes it once a pass.
  const pageEvents = [];
  const mostEvents = 4096;
  function toProgram(event) {
    if (!running) return;
    const last = pageEvents[pageEvents.length - 1];
    if (event.type === 'finger-move' && last && last.type === 'finger-move' &&
        last.id === event.id) {
      pageEvents[pageEvents.length - 1] = event;  // where the finger is now is enough
      return;
    }
    if (event.type === 'finger-move' && pageEvents.length >= mostEvents) return;
    pageEvents.push(event);
  }

  // The touch keyboard's Enter ends the name, as the key does, and a tablet's
  // Escape leaves the screen; the keys of composing (key code 229) and the
  // rest become the field's text.
  window.addEventListener('keydown', (event) => {
    if (event.target !== field || event.isComposing || event.keyCode === 229) return;
    if (event.key === 'Enter' || event.key === 'Escape') {
      event.preventDefault();
      toProgram({type: 'key-down', text: event.key});
      toProgram({type: 'key-up', text: event.key});
    }
  }, true);
  for (const type of ['keydown', 'keyup', 'mousedown', 'mouseup']) {
    window.addEventListener(type, keepFromGame, true);
  }
  field.addEventListener('input', () => toProgram({type: 'text', text: field.value}));

  // The name being typed: a tap on the picture opens the touch keyboard on
  // the field (iOS opens it only within the tap's own event).
  let naming = false;
  function nameEntry(typing, text, limit) {
    naming = typing;
    if (!typing) {
      field.blur();
      return;
    }
    field.maxLength = limit;
    if (field.value !== text) field.value = text;
  }
  function openKeyboard() {
    field.focus({preventScroll: true});
    const end = field.value.length;
    field.setSelectionRange(end, end);
  }

  // Fingers and pens on the picture: the page keeps them from scrolling,
  // zooming and from copying a tap into mouse events (which would press the
  // button a second time); the mouse stays with the program's own listeners.
  const stage = byId('stage');
  const fingers = new Set();
  function onStage(event) {
    if (event.pointerType === 'mouse' || onControl(event)) return;
    if (event.type === 'pointerdown') {
      event.preventDefault();
      if (event.target !== canvas || !running) return;
      fingers.add(event.pointerId);
      toProgram({type: 'finger-down', id: event.pointerId, x: event.clientX, y: event.clientY});
      return;
    }
    if (!fingers.has(event.pointerId)) return;
    if (event.type === 'pointermove') {
      toProgram({type: 'finger-move', id: event.pointerId, x: event.clientX, y: event.clientY});
      return;
    }
    fingers.delete(event.pointerId);
    toProgram({type: 'finger-up', id: event.pointerId});
    if (event.type === 'pointerup' && naming) openKeyboard();
  }
  for (const type of ['pointerdown', 'pointermove', 'pointerup', 'pointercancel']) {
    stage.addEventListener(type, onStage, {passive: false});
  }
  // Browsers without pointer events' touch-action would scroll on touches.
  function holdStill(event) {
    if (!onControl(event) && event.cancelable) event.preventDefault();
  }
  for (const type of ['touchstart', 'touchmove']) {
    stage.addEventListener(type, holdStill, {passive: false});
  }

  // A touch button is held as its key while a finger (or the mouse) is on it.
  for (const button of touchButtons) {
    const holders = new Set();
    // The key is down while any finger is on the button, as one key would be.
    const letGo = (event) => {
      if (!holders.delete(event.pointerId) || holders.size > 0) return;
      button.classList.remove('held');
      toProgram({type: 'key-up', text: button.dataset.key});
    };
    button.addEventListener('pointerdown', (event) => {
      event.preventDefault();
      if (!running || holders.has(event.pointerId)) return;
      holders.add(event.pointerId);
      button.classList.add('held');
      if (button.setPointerCapture) button.setPointerCapture(event.pointerId);
      if (holders.size === 1) toProgram({type: 'key-down', text: button.dataset.key});
    }, {passive: false});
    for (const type of ['pointerup', 'pointercancel', 'lostpointercapture']) {
      button.addEventListener(type, letGo);
    }
    button.releaseAll = () => {
      for (const id of Array.from(holders)) letGo({pointerId: id});
    };
  }
  // Hidden or left, the page hears no finger lifted: all are let go.
  function letGoOfAll() {
    for (const button of touchButtons) button.releaseAll();
    if (fingers.size > 0) toProgram({type: 'fingers-cancel'});
    fingers.clear();
  }
  window.addEventListener('blur', letGoOfAll);
  document.addEventListener('visibilitychange', () => {
    if (document.hidden) letGoOfAll();
  });
  // The right button reloads the game's rifle, not the page's menu.
  window.addEventListener('contextmenu', (event) => event.preventDefault());

  byId('start').addEventListener('click', () => {
    clicked = true;
    running = true;
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
    if (finishingHidden) {
      keepFilesNow();
      return;
    }
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
    running = false;
    naming = false;
    pageEvents.length = 0;
    field.blur();
    if (recordingEnded()) return;
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
    byId('ended-text').textContent = replayEndedText(status) || (status === 0 ?
        'Möwenschuss ist beendet.' :
        'Möwenschuss wurde nach einem Fehler beendet (Status ' + status + ').');
    hide('start');
    show('ended');
    canvas.style.cursor = 'default';
  }

  // Recordings. Every visit is recorded by the program itself into the
  // page's memory; once it has ended the player may keep it as a file. A
  // recording chosen or dropped onto the page replays at its recorded pace
  // (Escape stops watching); a visit still running is asked to close first.
  // Why a recording does not fit, the program says on stderr.
  const recordingFolder = '/aufnahme';
  const visitRecording = recordingFolder + '/besuch.mwrec';
  const replayFolder = recordingFolder + '/abspielen';
  let visitStarted = new Date();
  let programReady = false;
  let programRunning = false;
  let replaying = false;
  let replayFile = null;
  let pendingReplay = null;
  let programErrors = [];

  function makeFolder(path) {
    try {
      window.Module.FS.mkdir(path);
    } catch (error) {
      // already there
    }
  }

  function startProgram(args) {
    programErrors = [];
    programRunning = true;
    const status = window.Module.callMain(args);
    // A program that ends before its first frame (a recording refused as it
    // is read) runs no frames, and only its status tells the page.
    if (programRunning && !window.Module.mwFrames) programEnded(Number(status) || 0);
  }

  function startVisit() {
    makeFolder(recordingFolder);
    visitStarted = new Date();
    // In a test the event log goes to the console, a line an event.
    startProgram((testing ? ['--events', '/dev/stdout'] : []).concat(['--record', visitRecording]));
  }

  function startReplay() {
    replayFile = pendingReplay;
    pendingReplay = null;
    replaying = true;
    running = true;
    hide('ended');
    canvas.focus();
    window.Module.FS.chdir(replayFolder);
    // A replay writes its log only once it went through whole.
    startProgram(['--replay', replayFile].concat(
        testing ? ['--events', recordingFolder + '/abgespielt.jsonl'] : []));
  }

  function playRecording(name, bytes) {
    if (!programReady) return;
    // The file keeps its own name, so that a message about it names it.
    const plain = String(name).replace(/[\/\\]/g, '_');
    const file = /^\.*$/.test(plain) ? 'aufnahme.mwrec' : plain;
    makeFolder(replayFolder);
    try {
      window.Module.FS.writeFile(replayFolder + '/' + file, bytes);
    } catch (error) {
      note('Die Aufnahme „' + file + '“ passt nicht in den Speicher der Seite.');
      return;
    }
    pendingReplay = file;
    clicked = true;  // the player acted: the page may play sound
    hide('start');
    hide('ended');
    if (programRunning) {
      pageEvents.push({type: 'close'});
    } else {
      startReplay();
    }
  }

  // When a program has ended: true when a replay waiting for it starts now.
  function recordingEnded() {
    programRunning = false;
    if (replayFile) {
      try {
        window.Module.FS.unlink(replayFolder + '/' + replayFile);
      } catch (error) {
        // gone already
      }
      replayFile = null;
    }
    if (pendingReplay) {
      replaying = false;
      startReplay();
      return true;
    }
    const recorded = window.Module.FS.analyzePath(visitRecording).exists;
    byId('save-recording').classList.toggle('hidden', !recorded);
    return false;
  }

  function replayEndedText(status) {
    if (!replaying) return null;
    replaying = false;
    if (status === 0) return 'Die Aufnahme ist zu Ende.';
    const reason = programErrors.map((line) => line.replace(/^moewenschuss: /, '')).join(' ');
    return reason || 'Die Aufnahme kann nicht abgespielt werden (Status ' + status + ').';
  }

  function twoDigits(number) { return String(number).padStart(2, '0'); }

  function saveRecording() {
    const bytes = window.Module.FS.readFile(visitRecording);
    const t = visitStarted;
    const name = 'moewenschuss-' + t.getFullYear() + twoDigits(t.getMonth() + 1) +
        twoDigits(t.getDate()) + '-' + twoDigits(t.getHours()) + twoDigits(t.getMinutes()) +
        twoDigits(t.getSeconds()) + '.mwrec';
    const url = URL.createObjectURL(new Blob([bytes], {type: 'application/octet-stream'}));
    const link = document.createElement('a');
    link.href = url;
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    window.setTimeout(() => URL.revokeObjectURL(url), 60000);
  }

  function playChosenFile(file) {
    if (!file) return;
    file.arrayBuffer().then((bytes) => playRecording(file.name, new Uint8Array(bytes)))
        .catch(() => note('Die Aufnahme konnte nicht gelesen werden.'));
  }

  const recordingInput = byId('recording-file');
  for (const button of document.querySelectorAll('.play-recording')) {
    button.addEventListener('click', (event) => {
      event.stopPropagation();  // not the start overlay's click
      recordingInput.value = '';
      recordingInput.click();
    });
  }
  recordingInput.addEventListener('change', () => playChosenFile(recordingInput.files[0]));
  byId('save-recording').addEventListener('click', saveRecording);
  // A file dropped anywhere on the page.
  window.addEventListener('dragover', (event) => event.preventDefault());
  window.addEventListener('drop', (event) => {
    event.preventDefault();
    const files = event.dataTransfer && event.dataTransfer.files;
    if (files && files.length > 0) playChosenFile(files[0]);
  });

  // A page hidden or left gets no more animation frames: while a name is
  // typed on the high-score screen, the program is asked to close, as a
  // desktop window closed would be, and its frames run at once until it has
  // saved the name and ended. Elsewhere nothing would be lost.
  let finishingHidden = false;
  function finishWhileHidden() {
    const frames = window.Module && window.Module.mwFrames;
    if (!naming || replaying || !frames || !window.Module._mw_run_frame_now) return;
    pageEvents.push({type: 'close'});
    finishingHidden = true;
    try {
      for (let pass = 0; pass < 600 && window.Module.mwFrames; ++pass) {
        window.Module._mw_run_frame_now(window.Module.mwFrames);
      }
    } finally {
      finishingHidden = false;
    }
  }

  // A page being hidden may be closed next, and one being left is gone
  // before syncfs, which reads IndexedDB before it writes, could write: the
  // files of /data go into one transaction at once, committed at once.
  function keepFilesNow() {
    const IDBFS = window.Module.FS.filesystems.IDBFS;
    const db = IDBFS.dbs['/data'];
    if (!keeping || !db) return;
    let transaction = null;
    try {
      transaction = db.transaction([IDBFS.DB_STORE_NAME], 'readwrite');
      const store = transaction.objectStore(IDBFS.DB_STORE_NAME);
      IDBFS.getLocalSet({mountpoint: '/data'}, (error, local) => {
        if (error) throw error;
        for (const path of Object.keys(local.entries)) {
          IDBFS.loadLocalEntry(path, (failed, entry) => {
            if (failed) throw failed;
            store.put(entry, path);
          });
        }
      });
      if (transaction.commit) transaction.commit();
    } catch (error) {
      try {
        if (transaction) transaction.abort();
      } catch (finished) {
        // committed or aborted already
      }
      note('Die Highscore-Tabelle konnte im Browser nicht gespeichert werden.');
    }
  }
  document.addEventListener('visibilitychange', () => {
    if (document.hidden) finishWhileHidden();
  });
  window.addEventListener('pagehide', finishWhileHidden);

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

  // Offline play: once the program runs (its files came from the server), a
  // service worker keeps every file of the page for the next visits
  // (service-worker.js). Where none may run (a file opened from disk, a page
  // not served from https or localhost, a browser or a private window that
  // refuses) the page plays online as before, without a word to the player.
  function keepPageForOffline() {
    try {
      if (!window.isSecureContext || !navigator.serviceWorker) return;
      navigator.serviceWorker.register('service-worker.js').catch(() => {});
    } catch (error) {
      // refused: online only
    }
  }

  window.Module = {
    canvas: canvas,
    print: (text) => console.log(text),
    printErr: (text) => {
      programErrors.push(text);
      console.error(text);
    },
    instantiateWasm: (imports, receive) => {
      fetchProgram('moewenschuss.wasm')
          .then((bytes) => WebAssembly.instantiate(bytes, imports))
          .then((result) => receive(result.instance, result.module))
          .catch((error) => fail('Möwenschuss konnte nicht geladen werden: ' + error.message));
      return {};
    },
    onRuntimeInitialized: () => {
      keepPageForOffline();
      openStorage(window.Module.FS).then((kept) => {
        keeping = kept;
        hide('loading');
        if (!clicked) show('start');
        programReady = true;
        startVisit();
      });
    },
    mwKeepFiles: keepFiles,
    mwToggleFullScreen: toggleFullScreen,
    mwShowSystemCursor: (shown) => { canvas.style.cursor = shown ? 'default' : 'none'; },
    mwProgramEnded: programEnded,
    mwNextPageEvent: () => pageEvents.shift() || null,
    mwNameEntry: nameEntry,
  };

  const program = document.createElement('script');
  program.src = 'moewenschuss.js';
  program.onerror = () => fail('Möwenschuss konnte nicht geladen werden.');
  document.body.appendChild(program);
})();
