import { defineConfig } from "@playwright/test";

// The browser is Debian's chromium; no browser is ever downloaded. Each run launches it
// with a new temporary profile. The site under test is the built one, as it is served.
const port = Number(process.env.QUARZEL_E2E_PORT ?? 8091);

export default defineConfig({
  testDir: "tests/e2e",
  workers: 1,
  timeout: 30_000,
  reporter: [["list"]],
  use: {
    baseURL: `http://127.0.0.1:${port}`,
    browserName: "chromium",
    launchOptions: {
      executablePath: "/usr/bin/chromium",
      args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync"],
    },
    acceptDownloads: true,
  },
  webServer: {
    command: `npx vite preview --host 127.0.0.1 --port ${port} --strictPort`,
    url: `http://127.0.0.1:${port}`,
    reuseExistingServer: false,
  },
});
