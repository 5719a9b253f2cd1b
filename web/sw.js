// The page's service worker: it keeps every file of the page (web/build lists them and names
// this version after their contents), so that the game loads at once and plays offline. Files
// come from the cache first; a new build is a new sw.js, which the browser finds on the next
// visit (it asks for sw.js every time), fills a cache of its own and drops the old one.
'use strict';
const CACHE = 'dravel2-@VERSION@';
const FILES = @FILES@;

self.addEventListener('install', (e) => {
  self.skipWaiting();
  e.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)));
});

self.addEventListener('activate', (e) => {
  e.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((k) => k.startsWith('dravel2-') && k !== CACHE).map((k) => caches.delete(k))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (e) => {
  const request = e.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== location.origin) return;
  e.respondWith(caches.open(CACHE).then((cache) => cache.match(request, { ignoreSearch: true })
    .then((hit) => hit || fetch(request).catch((error) => {
      // Offline, a page of ours the cache misses by name (index.html, a query): the page.
      if (request.mode === 'navigate') return cache.match('./');
      throw error;
    }))));
});
