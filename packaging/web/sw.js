// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
// The page's service worker: after one visit the page opens from its cache, with or without a
// network. Its cache is named after the page's files (stamp-worker.cmake), so a new build brings
// a new worker with a new cache. That worker takes over only once no page of the old build is
// open: the program's .js and .wasm must come from one build.
"use strict";

const CACHE_PREFIX = "domino-tiles-";
const CACHE = CACHE_PREFIX + "@DOMINO_PAGE_HASH@";
const FILES = [@DOMINO_PAGE_FILES@];

self.addEventListener("install", (event) => {
  // The default cache mode: what the page has just loaded is not fetched again.
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(["./", ...FILES])));
});

// The photograph the page shows, of the nine there are for the screens' resolutions and the
// browsers' formats: the browser has it already, so keeping it costs no download.
self.addEventListener("message", (event) => {
  const url = new URL(event.data, self.registration.scope);
  if (url.origin === self.location.origin && /\/photo[^/]*$/.test(url.pathname))
    event.waitUntil(caches.open(CACHE).then((cache) => cache.add(url)));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(caches.keys().then((names) => Promise.all(names
    .filter((name) => name.startsWith(CACHE_PREFIX) && name !== CACHE)
    .map((name) => caches.delete(name)))));
});

self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET")
    return;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((cached) => cached || fetch(event.request)));
});
