// The page's service worker: it keeps every file of the site in a cache named after the
// build, so that the page opens and works with the network gone. A new build installs
// beside the running page and takes over at once; the page that runs keeps what it has
// loaded, and the next start is the new build. The build's plugin (vite.config.ts) fills
// in the build and the file list.
const Build = "__BUILD__";
const Files = __FILES__;
const Cache = `quarzel-${Build}`;

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(Cache).then((cache) => cache.addAll(Files)).then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((n) => n.startsWith("quarzel-") && n !== Cache)
      .map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

// The site's own files from the cache (the page itself for any address of it: the
// fragment holds the program); anything else from the network as usual. Vary is ignored:
// the page asks for its scripts with an Origin header the cached copies were not.
self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET" || new URL(request.url).origin !== location.origin) return;
  event.respondWith(caches.open(Cache).then(async (cache) =>
    (await cache.match(request, { ignoreSearch: true, ignoreVary: true })) ??
    (request.mode === "navigate" ? await cache.match("./") : undefined) ??
    fetch(request)));
});
