// The page's service worker: it keeps the page's files so that the program
// loads and plays with no network after one visit. Files come from the
// network while there is one, so a new build is served at once; the cache,
// named after the build, answers only when the network does not. The
// build writes the build's name in place of the version below.
'use strict';

var CACHE = '@PAGE_NAME@-@ZANDREL_PAGE_VERSION@';
var FILES = ['./', 'index.html', @PAGE_FILES@];

self.addEventListener('install', function(event) {
  event.waitUntil(caches.open(CACHE).then(function(cache) {
    return cache.addAll(FILES.map(function(file) { return new Request(file, { cache: 'reload' }); }));
  }).then(function() { return self.skipWaiting(); }));
});

// Caches of earlier builds are dropped once this one is in charge.
self.addEventListener('activate', function(event) {
  event.waitUntil(caches.keys().then(function(names) {
    return Promise.all(names.filter(function(name) {
      return name.indexOf('@PAGE_NAME@-') == 0 && name != CACHE;
    }).map(function(name) { return caches.delete(name); }));
  }).then(function() { return self.clients.claim(); }));
});

function fromNetwork(request) {
  return fetch(request).then(function(response) {
    if (response.ok) {
      var copy = response.clone();
      caches.open(CACHE).then(function(cache) { return cache.put(request, copy); });
    }
    return response;
  });
}

self.addEventListener('fetch', function(event) {
  var request = event.request;
  if (request.method != 'GET' || new URL(request.url).origin != self.location.origin) return;
  event.respondWith(fromNetwork(request).catch(function() {
    return caches.open(CACHE).then(function(cache) {
      return cache.match(request, { ignoreSearch: true });
    }).then(function(kept) { return kept || Response.error(); });
  }));
});
