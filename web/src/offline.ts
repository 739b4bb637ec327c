import { showNotice } from "./notice";

// The page works offline once it has been opened: the service worker (sw.js, made by the
// build) keeps the site. build.json, served by it like every other file, tells which
// build this start is; the first start of a new build says so, once.
const SeenBuildKey = "quarzel.build";

export async function setUpOffline(): Promise<void> {
  if (import.meta.env.DEV || !("serviceWorker" in navigator)) return;
  navigator.serviceWorker.register("sw.js").catch(() => {
    // refused (a private window, storage switched off): the page works online only
  });
  let build: { version: string; build: string };
  try {
    build = await (await fetch("build.json")).json();
  } catch {
    return;
  }
  const seen = localStorage.getItem(SeenBuildKey);
  if (seen && seen !== build.build)
    showNotice(`Quarzel Simulator was updated (version ${build.version}): this start is the new version.`);
  localStorage.setItem(SeenBuildKey, build.build);
}
