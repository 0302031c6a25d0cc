// The page's files kept in the browser, so that after one visit the game
// starts and plays without a network. Every build is a version of its own:
// its files are kept in a cache named after the game's version and a stamp of
// the files' bytes, and this worker answers only from that cache, so a page
// always runs one build whole, never an old page with a new program or the
// reverse. A new build on the server is a new worker: it fetches and checks
// all its files before it is ready, waits until no window of the old one is
// open, then takes over and clears the old caches.
'use strict';

// Filled in by the build (cmake/web-service-worker.cmake).
const VERSION = '@MW_VERSION@';
const STAMP = '@MW_BUILD_STAMP@';
// Every file of the page, with the SHA-256 of its bytes.
const PAGE_FILES = {/*@MW_PAGE_FILES@*/};

// Caches are the whole site's: a second copy of the game elsewhere on the
// same site keeps caches of its own, which this one leaves alone.
const CACHE_PREFIX = 'moewenschuss ' + self.registration.scope + ' ';
const CACHE = CACHE_PREFIX + VERSION + '-' + STAMP;
const START_PAGE = 'index.html';

function hex(buffer) {
  return Array.from(new Uint8Array(buffer), (byte) => byte.toString(16).padStart(2, '0')).join('');
}

// A file of this build from the server, checked against its bytes: a server
// that changed builds while this one was fetched gives no mix to keep. The
// browser's HTTP cache is asked first; a copy there that is not this build's
// (a server that says "unchanged" too soon) is fetched anew.
async function fetchChecked(name) {
  for (const cache of ['no-cache', 'reload']) {
    const response = await fetch(new Request(name, {cache: cache}));
    if (!response.ok) throw new Error(name + ': ' + response.status);
    const kept = response.clone();
    const digest = hex(await crypto.subtle.digest('SHA-256', await response.arrayBuffer()));
    if (digest === PAGE_FILES[name]) return kept;
  }
  throw new Error(name + ' belongs to another build');
}

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    // All files are fetched and checked before the first is kept; a failure
    // leaves this version uninstalled, and the next visit tries again.
    const names = Object.keys(PAGE_FILES);
    const responses = await Promise.all(names.map(fetchChecked));
    const cache = await caches.open(CACHE);
    await Promise.all(names.map((name, i) => cache.put(name, responses[i])));
  })());
});

self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) {
      if (name.startsWith(CACHE_PREFIX) && name !== CACHE) await caches.delete(name);
    }
  })());
});

// The name of a page file that a request asks for, or null.
function pageFileOf(request) {
  if (request.method !== 'GET') return null;
  const url = new URL(request.url);
  const scope = new URL(self.registration.scope);
  if (url.origin !== scope.origin || !url.pathname.startsWith(scope.pathname)) return null;
  const name = url.pathname.slice(scope.pathname.length) || START_PAGE;
  return Object.prototype.hasOwnProperty.call(PAGE_FILES, name) ? name : null;
}

// From this version's cache; a file missing there (the cache cleared by hand)
// comes from the server only if it is still this build's, and is kept again.
async function answer(name) {
  const cache = await caches.open(CACHE);
  const kept = await cache.match(name);
  if (kept) return kept;
  try {
    const response = await fetchChecked(name);
    await cache.put(name, response.clone());
    return response;
  } catch (error) {
    return Response.error();
  }
}

self.addEventListener('fetch', (event) => {
  const name = pageFileOf(event.request);
  if (name) event.respondWith(answer(name));
});
